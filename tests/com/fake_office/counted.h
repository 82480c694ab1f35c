// The reference count and interface query of the stand-ins' small helper objects (the class
// factory, the enumerator): each answers for IUnknown and for the one interface it implements.
#ifndef LASTORA_TESTS_COM_FAKE_OFFICE_COUNTED_H_
#define LASTORA_TESTS_COM_FAKE_OFFICE_COUNTED_H_

#include <unknwn.h>
#include <windows.h>

#include <atomic>

namespace fake_office {

template <typename Interface>
class Counted : public Interface {
 public:
  explicit Counted(const IID& own) : own_(own) {}
  virtual ~Counted() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == own_) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  const IID& own_;
  std::atomic<ULONG> references_{1};
};

}  // namespace fake_office

#endif  // LASTORA_TESTS_COM_FAKE_OFFICE_COUNTED_H_
