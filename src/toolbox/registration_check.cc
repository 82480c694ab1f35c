#include "registration_check.h"

#include <wrl/client.h>

namespace lastora::toolbox {

bool CanCreateClass(const CLSID& class_id) {
  Microsoft::WRL::ComPtr<IUnknown> instance;
  return SUCCEEDED(CoCreateInstance(class_id, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                    IID_PPV_ARGS(&instance)));
}

const wchar_t* RegistrationCheckText(bool registered) {
  return registered ? L"Die DLL ist registriert!" : L"Die DLL ist nicht registriert!";
}

}  // namespace lastora::toolbox
