#include "support/test_platform.h"

#include "lastora/fixed_clock.h"

namespace lastora::testing {

int ScriptedDialogs::MessageBox(const std::string& prompt, int style, const std::string& title) {
  shown.push_back({prompt, style, title});
  if (!button_answers.empty()) {
    const int answer = button_answers.front();
    button_answers.pop_front();
    return answer;
  }
  const int buttons = style & 0x0F;
  return (buttons == 3 || buttons == 4) ? kVbYes : kVbOK;
}

std::string ScriptedDialogs::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& default_text) {
  shown.push_back({prompt, 0, title});
  if (!text_answers.empty()) {
    std::string answer = text_answers.front();
    text_answers.pop_front();
    return answer;
  }
  return default_text;
}

ScopedTestPlatform::ScopedTestPlatform(double now)
    : clock_(MakeFixedClock(now)),
      dialogs_(std::make_shared<ScriptedDialogs>()),
      previous_clock_(SetClock(clock_)),
      previous_dialogs_(SetDialogs(dialogs_)) {}

ScopedTestPlatform::~ScopedTestPlatform() {
  SetClock(previous_clock_);
  SetDialogs(previous_dialogs_);
}

}  // namespace lastora::testing
