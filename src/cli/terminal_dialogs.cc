#include "terminal_dialogs.h"

#include <string>
#include <vector>

namespace lastora::cli {
namespace {

struct Button {
  const char* label;
  int answer;
};

// The buttons of a message-box style, default first.
std::vector<Button> ButtonsOf(int style) {
  switch (style & 7) {
    case 1:
      return {{"OK", kVbOK}, {"Abbrechen", kVbCancel}};
    case 3:
      return {{"Ja", kVbYes}, {"Nein", kVbNo}, {"Abbrechen", kVbCancel}};
    case 4:
      return {{"Ja", kVbYes}, {"Nein", kVbNo}};
    default:
      return {{"OK", kVbOK}};
  }
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

TerminalDialogs::TerminalDialogs(std::istream* in, std::ostream& shown) : in_(in), shown_(shown) {}

int TerminalDialogs::MessageBox(const std::string& prompt, int style, const std::string& title) {
  const std::vector<Button> buttons = ButtonsOf(style);
  shown_ << "[" << (title.empty() ? "Lastora" : title) << "] " << prompt << "\n";
  if (in_ == nullptr || buttons.size() == 1) {
    shown_ << "  -> " << buttons.front().label << "\n";
    return buttons.front().answer;
  }
  for (;;) {
    shown_ << "  ";
    for (size_t i = 0; i < buttons.size(); ++i) {
      shown_ << (i == 0 ? "[" : " / ") << buttons[i].label << (i == 0 ? "]" : "");
    }
    shown_ << "? " << std::flush;
    std::string line;
    if (!std::getline(*in_, line) || line.empty()) return buttons.front().answer;
    for (const Button& button : buttons) {
      if (Lower(line) == Lower(button.label) || Lower(line)[0] == Lower(button.label)[0]) {
        return button.answer;
      }
    }
  }
}

std::string TerminalDialogs::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& default_text) {
  shown_ << "[" << (title.empty() ? "Lastora" : title) << "] " << prompt << "\n";
  if (in_ == nullptr) {
    shown_ << "  -> " << default_text << "\n";
    return default_text;
  }
  shown_ << "  [" << default_text << "]: " << std::flush;
  std::string line;
  if (!std::getline(*in_, line) || line.empty()) return default_text;
  return line;
}

}  // namespace lastora::cli
