#ifndef LASTORA_TOOLBOX_COM_APARTMENT_H_
#define LASTORA_TOOLBOX_COM_APARTMENT_H_

#include <objbase.h>

namespace lastora::toolbox {

// The calling thread joins a single-threaded apartment for the lifetime of the object, as a
// window thread that creates components must.
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

}  // namespace lastora::toolbox

#endif  // LASTORA_TOOLBOX_COM_APARTMENT_H_
