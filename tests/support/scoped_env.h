// Sets or clears an environment variable for one test's scope and restores it afterwards.
#ifndef LASTORA_TESTS_SUPPORT_SCOPED_ENV_H_
#define LASTORA_TESTS_SUPPORT_SCOPED_ENV_H_

#include <optional>
#include <string>

namespace lastora::testing {

class ScopedEnv {
 public:
  // nullopt clears the variable.
  ScopedEnv(std::string name, std::optional<std::string> value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_SCOPED_ENV_H_
