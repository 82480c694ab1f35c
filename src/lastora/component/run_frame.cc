#include "component/run_frame.h"

#include <new>

#include "component/catalogue.h"
#include "core/text.h"
#include "lastora/vb_error.h"

namespace lastora {

std::string FailureText(int32_t number, const std::string& description) {
  return text::Replace("Fehler: " + description + " (" + std::to_string(number) + ")", "\r\n",
                       " / ");
}

bool TrapFailure(const std::function<void()>& body, int32_t* number, std::string* description) {
  try {
    body();
    return true;
  } catch (const VbError& e) {
    *number = e.number();
    *description = e.description();
  } catch (const std::bad_alloc&) {
    *number = 7;
    *description = VbErrorDescription(7);
  } catch (...) {
    *number = 51;
    *description = VbErrorDescription(51);
  }
  return false;
}

std::string RunInFrame(const std::string& start_text, FinishRule finish, VariantArray& aVariablen,
                       SEPAVARIABLEN& settings, const std::function<RunEnd(RunContext&)>& work) {
  std::string result = start_text;
  RunEnd end = RunEnd::kStopped;
  int32_t number = 0;
  std::string description;
  const bool completed = TrapFailure(
      [&] {
        EnsureMessageTexts();
        VariablenToRecord(aVariablen, settings);
        RunContext context{settings, result};
        end = work(context);
      },
      &number, &description);
  if (!completed) {
    result = FailureText(number, description);
  } else if (end == RunEnd::kStoppedBeforeCopyBack) {
    return result;
  } else if (end == RunEnd::kFinished) {
    switch (finish) {
      case FinishRule::kOk:
        result = "ok";
        break;
      case FinishRule::kOkIfStillStart:
        if (result == start_text) result = "ok";
        break;
      case FinishRule::kResultFromWork:
        break;
    }
  }
  RecordToVariablen(aVariablen, settings);
  return result;
}

}  // namespace lastora
