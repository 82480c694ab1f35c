// The reference count and interface query of a hand-made COM object: it answers for IUnknown and
// for the one interface it implements. Shared by the stand-in programs and the toolbox's stand-in
// component.
#ifndef LASTORA_TESTS_COM_FAKE_OFFICE_COUNTED_H_
#define LASTORA_TESTS_COM_FAKE_OFFICE_COUNTED_H_

#include <windows.h>

#include <atomic>

namespace fake_office {

template <typename Interface>
class Counted : public Interface {
 public:
  explicit Counted(const IID& own) : own_(own) {}
  virtual ~Counted() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = iid == IID_IUnknown || iid == own_ ? this : nullptr;
    if (*out == nullptr) return E_NOINTERFACE;
    this->AddRef();
    return S_OK;
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
