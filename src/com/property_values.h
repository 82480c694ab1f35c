// Reading and writing Class1's fields in their automation types.
#ifndef LASTORA_COM_PROPERTY_VALUES_H_
#define LASTORA_COM_PROPERTY_VALUES_H_

#include <oleauto.h>
#include <windows.h>

#include <cstdint>
#include <new>
#include <string>

#include "lastora/automation_values.h"
#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace lastora::com {

// Runs `work`, turning what it throws into the HRESULT an automation caller expects.
template <typename Work>
HRESULT Guarded(Work&& work) {
  try {
    work();
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const VbError& error) {
    // The platform's own error number, as a raised run-time error reaches a script.
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, error.number() & 0xFFFF);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

inline HRESULT Read(const std::string& field, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  return Guarded([&] { *out = automation::ToBstr(field); });
}
inline HRESULT Write(std::string& field, BSTR value) {
  return Guarded([&] { field = automation::FromBstr(value); });
}
inline HRESULT Read(bool field, VARIANT_BOOL* out) {
  if (out == nullptr) return E_POINTER;
  *out = field ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}
inline HRESULT Write(bool& field, VARIANT_BOOL value) {
  field = value != VARIANT_FALSE;
  return S_OK;
}
inline HRESULT Read(const Variant& field, VARIANT* out) {
  if (out == nullptr) return E_POINTER;
  VariantInit(out);
  return Guarded([&] { automation::ToVariant(field, out); });
}
inline HRESULT Write(Variant& field, const VARIANT& value) {
  return Guarded([&] { field = automation::FromVariant(value); });
}
// Long, Integer, Double and Date fields have the same representation on both sides.
template <typename Field, typename Automation>
HRESULT Read(const Field& field, Automation* out) {
  if (out == nullptr) return E_POINTER;
  *out = static_cast<Automation>(field);
  return S_OK;
}
template <typename Field, typename Automation>
HRESULT Write(Field& field, Automation value) {
  field = static_cast<Field>(value);
  return S_OK;
}

}  // namespace lastora::com

#endif  // LASTORA_COM_PROPERTY_VALUES_H_
