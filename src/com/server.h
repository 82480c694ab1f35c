// The in-process server's module state: the counts that decide whether it may be unloaded, its
// own module handle, and its type library.
#ifndef LASTORA_COM_SERVER_H_
#define LASTORA_COM_SERVER_H_

#include <oaidl.h>
#include <windows.h>

#include <string>

namespace lastora::com {

void SetThisModule(HMODULE module);
void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
bool CanUnload();

HMODULE ThisModule();
std::wstring ThisModulePath();

// The type library embedded in this module, loaded once; nullptr if it cannot be loaded.
ITypeLib* TypeLibrary();
// The type information of the interface _Class1, loaded once (not AddRef'ed for the caller).
ITypeInfo* Class1TypeInfo();

}  // namespace lastora::com

#endif  // LASTORA_COM_SERVER_H_
