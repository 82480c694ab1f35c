#include <windows.h>
// The port's method is called MessageBox; the platform's A/W macro must not rename it.
#undef MessageBox

#include <string>

#include "lastora/automation_values.h"
#include "platform/win32/input_box_ids.h"
#include "platform/win32/win32_adapters.h"

namespace lastora {
namespace {

using automation::Utf8;
using automation::Wide;

struct InputBoxState {
  std::wstring prompt;
  std::wstring title;
  std::wstring text;
};

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      state = reinterpret_cast<InputBoxState*>(lparam);
      SetWindowTextW(dialog, state->title.c_str());
      SetDlgItemTextW(dialog, LASTORA_INPUT_BOX_PROMPT, state->prompt.c_str());
      SetDlgItemTextW(dialog, LASTORA_INPUT_BOX_TEXT, state->text.c_str());
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK)
        state->text = WindowText(GetDlgItem(dialog, LASTORA_INPUT_BOX_TEXT));
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wparam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int Win32Dialogs::MessageBox(const std::string& prompt, int style, const std::string& title) {
  const std::wstring caption = Wide(title.empty() ? "Lastora" : title);
  return ::MessageBoxW(nullptr, Wide(prompt).c_str(), caption.c_str(),
                       static_cast<UINT>(style) | MB_TASKMODAL | MB_SETFOREGROUND);
}

std::string Win32Dialogs::InputBox(const std::string& prompt, const std::string& title,
                                   const std::string& default_text) {
  InputBoxState state{Wide(prompt), Wide(title.empty() ? "Lastora" : title), Wide(default_text)};
  const INT_PTR pressed = DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(LASTORA_INPUT_BOX_DIALOG),
                                          nullptr, InputBoxProc, reinterpret_cast<LPARAM>(&state));
  // The platform's input box answers a cancel, and a dialog that could not be shown, with "".
  return pressed == IDOK ? Utf8(state.text) : std::string();
}

}  // namespace lastora
