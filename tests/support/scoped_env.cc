#include "support/scoped_env.h"

#include <cstdlib>

namespace lastora::testing {
namespace {

void Put(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // An empty value removes the variable on Windows, which is what a test that sets "" means too.
  _putenv_s(name.c_str(), value ? value->c_str() : "");
#else
  if (value) {
    ::setenv(name.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name.c_str());
  }
#endif
}

}  // namespace

ScopedEnv::ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
  if (const char* previous = std::getenv(name_.c_str())) previous_ = previous;
  Put(name_, value);
}

ScopedEnv::~ScopedEnv() { Put(name_, previous_); }

}  // namespace lastora::testing
