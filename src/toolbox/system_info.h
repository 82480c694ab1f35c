#ifndef LASTORA_TOOLBOX_SYSTEM_INFO_H_
#define LASTORA_TOOLBOX_SYSTEM_INFO_H_

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lastora::toolbox {

// The system folder as the system reports it, however long.
std::wstring WinSysDir();

// Whether a file or folder of that name exists (no error escapes).
bool PathExists(std::wstring_view path);

// Whether a WMI "SystemType" text names a 64-bit machine ("64-bit" or "x64", any case).
bool SystemTypeIs64Bit(std::wstring_view system_type);

// The answer over the objects a query returned, in order: the last readable one decides; an
// object whose text could not be read (nullopt) ends the walk with the answer reached so far.
bool Is64BitFromSystemTypes(std::span<const std::optional<std::wstring>> system_types);

// Asks WMI for Win32_ComputerSystem. Needs COM initialised on the calling thread; any failure
// gives the answer reached so far (false when no object was read).
bool Is64BitWin();

}  // namespace lastora::toolbox

#endif  // LASTORA_TOOLBOX_SYSTEM_INFO_H_
