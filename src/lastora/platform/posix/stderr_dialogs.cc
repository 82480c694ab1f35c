#include <iostream>

#include "platform/posix/posix_adapters.h"

namespace lastora {
namespace {

// The button a dialog of this style answers with when nobody is there to press one.
int DefaultButton(int style) {
  switch (style & 0x0F) {
    case 4:  // Yes/No
    case 3:  // Yes/No/Cancel
      return kVbYes;
    default:
      return kVbOK;
  }
}

}  // namespace

int StderrDialogs::MessageBox(const std::string& prompt, int style, const std::string& title) {
  std::cerr << "[" << (title.empty() ? "Lastora" : title) << "] " << prompt << "\n";
  return DefaultButton(style);
}

std::string StderrDialogs::InputBox(const std::string& prompt, const std::string& title,
                                    const std::string& default_text) {
  std::cerr << "[" << title << "] " << prompt << " -> " << default_text << "\n";
  return default_text;
}

}  // namespace lastora
