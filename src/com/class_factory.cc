#include "class_factory.h"

#include <new>

#include "class1_object.h"
#include "clock_setting.h"
#include "server.h"

namespace lastora::com {

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  try {
    FollowClockSetting();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  Class1Object* created = new (std::nothrow) Class1Object();
  if (created == nullptr) return E_OUTOFMEMORY;
  const HRESULT result = created->QueryInterface(iid, object);
  created->Release();  // the creation's own reference; a failed query frees the object
  return result;
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  com::LockServer(lock != FALSE);
  return S_OK;
}

ClassFactory& TheClassFactory() {
  static ClassFactory factory;
  return factory;
}

}  // namespace lastora::com
