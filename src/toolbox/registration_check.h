#ifndef LASTORA_TOOLBOX_REGISTRATION_CHECK_H_
#define LASTORA_TOOLBOX_REGISTRATION_CHECK_H_

#include <windows.h>

namespace lastora::toolbox {

// The class identifier under which the component registers its class Class1.
inline constexpr CLSID kClass1Clsid = {
    0x9931F5E8, 0x19F7, 0x4985, {0xB5, 0x88, 0xC1, 0x21, 0x46, 0xDD, 0x80, 0x61}};

// Whether an instance of the class can be created through the system's class registry; the
// instance is released again at once. Needs COM initialised on the calling thread.
bool CanCreateClass(const CLSID& class_id);

// The text shown for the answer.
const wchar_t* RegistrationCheckText(bool registered);

}  // namespace lastora::toolbox

#endif  // LASTORA_TOOLBOX_REGISTRATION_CHECK_H_
