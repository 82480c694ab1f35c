#include "message_box.h"

namespace lastora::toolbox {
namespace {

MessageBoxFunction message_box = &MessageBoxW;

}  // namespace

int ShowMessage(HWND owner, const std::wstring& text, UINT style) {
  return message_box(owner, text.c_str(), L"Lastora Toolbox", style);
}

void SetMessageBoxForTesting(MessageBoxFunction function) {
  message_box = function != nullptr ? function : &MessageBoxW;
}

}  // namespace lastora::toolbox
