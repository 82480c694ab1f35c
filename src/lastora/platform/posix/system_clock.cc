#include <ctime>

#include "lastora/variant.h"
#include "platform/posix/posix_adapters.h"

namespace lastora {

double SystemClock::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return MakeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         MakeTime(local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace lastora
