// The program's answers to the component's message and input boxes: asked on the terminal when
// someone sits at it, otherwise answered with the default and shown, so a scripted run never
// hangs and never hides what it agreed to.
#ifndef LASTORA_CLI_TERMINAL_DIALOGS_H_
#define LASTORA_CLI_TERMINAL_DIALOGS_H_

#include <lastora/platform.h>

#include <istream>
#include <ostream>

namespace lastora::cli {

class TerminalDialogs : public Dialogs {
 public:
  // in == nullptr: answer with the default button (the first) or the default text.
  TerminalDialogs(std::istream* in, std::ostream& shown);
  int MessageBox(const std::string& prompt, int style, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& default_text) override;

 private:
  std::istream* in_;
  std::ostream& shown_;
};

}  // namespace lastora::cli

#endif  // LASTORA_CLI_TERMINAL_DIALOGS_H_
