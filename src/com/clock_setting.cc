#include "clock_setting.h"

#include <cstdlib>
#include <memory>

#include "lastora/platform.h"
#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace lastora::com {
namespace {

class FixedClock : public Clock {
 public:
  explicit FixedClock(double now) : now_(now) {}
  double Now() override { return now_; }

 private:
  double now_;
};

}  // namespace

void FollowClockSetting() {
  const char* moment = std::getenv("LASTORA_NOW");
  if (moment == nullptr || *moment == '\0') {
    SetClock(nullptr);
    return;
  }
  try {
    SetClock(std::make_shared<FixedClock>(CDate(Variant(moment))));
  } catch (const VbError&) {
    SetClock(nullptr);
  }
}

}  // namespace lastora::com
