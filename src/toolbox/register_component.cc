#include "register_component.h"

#include <shellapi.h>

#include "dll_location.h"
#include "message_box.h"
#include "regsvr32_command.h"
#include "system_info.h"

namespace lastora::toolbox {
namespace {

bool FileListed(const std::wstring& file) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(file.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

// Starts the command line minimised without waiting; the child's handles are not needed.
void StartMinimised(std::wstring command_line, const std::wstring& folder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     folder.c_str(), &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace

void RegisterComponent(HWND owner, std::wstring file, bool unregister, bool hide_results,
                       bool as_admin) {
  if (file.empty()) file = DllPath(GetAppPath());
  if (!FileListed(file)) {
    ShowMessage(owner, L"Unable to locate file " + file, MB_OK | MB_ICONERROR);
    return;
  }
  const std::wstring folder = ChooseToolFolder(WinSysDir(), Is64BitWin(),
                                               [](const std::wstring& f) { return PathExists(f); });
  const Regsvr32Command command =
      BuildRegsvr32Command(folder, file, unregister, hide_results, as_admin);
  if (command.elevated) {
    ShellExecuteW(owner, L"runas", L"cmd", command.text.c_str(), L"C:\\", SW_HIDE);
  } else {
    // The tool runs in the system folder; the toolbox's own current folder stays as it was.
    StartMinimised(command.text, folder);
  }
}

}  // namespace lastora::toolbox
