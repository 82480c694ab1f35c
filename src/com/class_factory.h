// Makes Class1 objects for COM.
#ifndef LASTORA_COM_CLASS_FACTORY_H_
#define LASTORA_COM_CLASS_FACTORY_H_

#include <unknwn.h>
#include <windows.h>

namespace lastora::com {

// A single, static factory: it holds no state of its own, and its references do not keep the
// server loaded (LockServer does).
class ClassFactory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;
};

ClassFactory& TheClassFactory();

}  // namespace lastora::com

#endif  // LASTORA_COM_CLASS_FACTORY_H_
