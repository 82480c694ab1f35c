#include "clock_setting.h"

#include <cstdlib>
#include <optional>

#include "lastora/fixed_clock.h"

namespace lastora::com {

void FollowClockSetting() {
  const char* moment = std::getenv("LASTORA_NOW");
  const std::optional<double> now = moment != nullptr ? ParseNow(moment) : std::nullopt;
  SetClock(now ? MakeFixedClock(*now) : nullptr);
}

}  // namespace lastora::com
