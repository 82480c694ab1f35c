#ifndef LASTORA_TOOLBOX_MESSAGE_BOX_H_
#define LASTORA_TOOLBOX_MESSAGE_BOX_H_

#include <windows.h>

#include <string>

namespace lastora::toolbox {

using MessageBoxFunction = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);

// Shows a modal message box titled like the window; tests may put their own function in
// place of MessageBoxW with SetMessageBoxForTesting (nullptr restores MessageBoxW).
int ShowMessage(HWND owner, const std::wstring& text, UINT style);
void SetMessageBoxForTesting(MessageBoxFunction function);

}  // namespace lastora::toolbox

#endif  // LASTORA_TOOLBOX_MESSAGE_BOX_H_
