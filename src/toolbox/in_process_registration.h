#ifndef LASTORA_TOOLBOX_IN_PROCESS_REGISTRATION_H_
#define LASTORA_TOOLBOX_IN_PROCESS_REGISTRATION_H_

#include <windows.h>

#include <string>

namespace lastora::toolbox {

inline constexpr DWORD kEntryPointLimitMs = 5000;

// Loads the library, runs its DllRegisterServer (or DllUnregisterServer) on a worker thread and
// waits at most `limit_ms`. True only when the entry point ended in time with a success code.
// A worker still running at the limit is left to finish; it holds its own reference to the
// library, so the library is unloaded only after that worker has left it.
bool RegisterComponentInProcess(const std::wstring& path, bool register_it,
                                DWORD limit_ms = kEntryPointLimitMs);

// The text shown for an outcome.
const wchar_t* InProcessOutcomeText(bool succeeded);

}  // namespace lastora::toolbox

#endif  // LASTORA_TOOLBOX_IN_PROCESS_REGISTRATION_H_
