// Writing and removing the server's registry entries and its type library.
#ifndef LASTORA_COM_REGISTRATION_H_
#define LASTORA_COM_REGISTRATION_H_

#include <windows.h>

namespace lastora::com {

// kMachine writes under HKLM\Software\Classes (administrators); kUser under
// HKCU\Software\Classes, so that a user without administrator rights can register the server.
enum class Scope { kMachine, kUser };

HRESULT Register(Scope scope);
// Removes every key Register writes and the type library; keys that are already gone are fine.
HRESULT Unregister(Scope scope);

}  // namespace lastora::com

#endif  // LASTORA_COM_REGISTRATION_H_
