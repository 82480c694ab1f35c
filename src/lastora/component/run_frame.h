// The common frame of the run methods: settings in, work, settings out, one result text.
#ifndef LASTORA_COMPONENT_RUN_FRAME_H_
#define LASTORA_COMPONENT_RUN_FRAME_H_

#include <functional>
#include <string>

#include "lastora/settings.h"
#include "lastora/table.h"
#include "lastora/vb_error.h"

namespace lastora {

// How a run's work ended when it did not throw.
enum class RunEnd {
  kFinished,              // the end of the work was reached normally
  kStopped,               // a check stopped the run; the result text holds its message
  kStoppedBeforeCopyBack  // as kStopped, but the caller's settings array is left as passed
};

// What the result becomes when the work reaches its end normally.
enum class FinishRule {
  kOk,              // "ok"
  kOkIfStillStart,  // "ok" only if the result still holds the starting text
  kResultFromWork,  // whatever the work left in the result text
};

struct RunContext {
  SEPAVARIABLEN& settings;
  std::string& result;
};

// Runs `work` inside the frame: sets the result to `start_text`, loads the catalogue, copies
// aVariablen into `settings`, runs the work, copies the settings back (also after a trapped
// failure) and returns the result. A failure becomes the "Fehler: " form.
std::string RunInFrame(const std::string& start_text, FinishRule finish, VariantArray& aVariablen,
                       SEPAVARIABLEN& settings, const std::function<RunEnd(RunContext&)>& work);

// Calls `body` and turns whatever it throws into the platform's error number and description.
// Returns true when body completed.
bool TrapFailure(const std::function<void()>& body, int32_t* number, std::string* description);

}  // namespace lastora

#endif  // LASTORA_COMPONENT_RUN_FRAME_H_
