// The clock the runs of a new object read. The files a run writes carry the moment they were
// written; to compare them byte for byte with another platform's, a test run fixes that moment
// with the environment variable LASTORA_NOW ("YYYY-MM-DD hh:mm:ss", as the lastora program's
// --now). Unset or empty, the runs read the system's local time.
#ifndef LASTORA_COM_CLOCK_SETTING_H_
#define LASTORA_COM_CLOCK_SETTING_H_

namespace lastora::com {

// Read at each object's creation, so a caller that changes the variable meets the new moment with
// its next object. A value that names no moment leaves the system's clock in place.
void FollowClockSetting();

}  // namespace lastora::com

#endif  // LASTORA_COM_CLOCK_SETTING_H_
