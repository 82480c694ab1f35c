// Test doubles for the ports: the library's fixed clock and scripted dialogs, installed for one
// test's scope.
#ifndef LASTORA_TESTS_SUPPORT_TEST_PLATFORM_H_
#define LASTORA_TESTS_SUPPORT_TEST_PLATFORM_H_

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "lastora/platform.h"

namespace lastora::testing {

// Records every dialog and answers from a script; an empty script answers with the default
// button (OK, or Yes for Yes/No styles) or the default text.
class ScriptedDialogs : public Dialogs {
 public:
  struct Shown {
    std::string prompt;
    int style = 0;
    std::string title;
  };

  int MessageBox(const std::string& prompt, int style, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& default_text) override;

  std::deque<int> button_answers;
  std::deque<std::string> text_answers;
  std::vector<Shown> shown;
};

// Installs a fixed clock and scripted dialogs; puts the previous ports back on destruction.
class ScopedTestPlatform {
 public:
  explicit ScopedTestPlatform(double now);
  ~ScopedTestPlatform();
  ScopedTestPlatform(const ScopedTestPlatform&) = delete;
  ScopedTestPlatform& operator=(const ScopedTestPlatform&) = delete;

  ScriptedDialogs& dialogs() { return *dialogs_; }

 private:
  std::shared_ptr<Clock> clock_;
  std::shared_ptr<ScriptedDialogs> dialogs_;
  std::shared_ptr<Clock> previous_clock_;
  std::shared_ptr<Dialogs> previous_dialogs_;
};

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_TEST_PLATFORM_H_
