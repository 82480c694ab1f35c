// A clock that stands still, for files that must come out the same on every run and platform,
// and the text a caller names its moment with.
#ifndef LASTORA_FIXED_CLOCK_H_
#define LASTORA_FIXED_CLOCK_H_

#include <memory>
#include <optional>
#include <string>

#include "lastora/export.h"
#include "lastora/platform.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// The date serial of "YYYY-MM-DD[ hh:mm[:ss]]"; nullopt when the text names no moment that exists.
std::optional<double> ParseNow(const std::string& text);

// A clock that always reads `now` (a date serial).
std::shared_ptr<Clock> MakeFixedClock(double now);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_FIXED_CLOCK_H_
