#include "platform/win32/dispatch_call.h"

#include <objbase.h>
#include <oleauto.h>

#include "lastora/automation_values.h"
#include "lastora/vb_error.h"

namespace lastora::win32 {
namespace {

// "Automatisierungsfehler" with the server's own description when it gives one.
[[noreturn]] void ThrowAutomationError(HRESULT result, EXCEPINFO& exception) {
  if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
  std::string description = automation::FromBstr(exception.bstrDescription);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrHelpFile);
  if (description.empty()) description = "Automatisierungsfehler";
  // A program that raises its own error (Word's 4198, Excel's 1004) names it in the exception;
  // the treasurer's message then carries that number, as the program's own dialog would.
  const HRESULT code =
      result == DISP_E_EXCEPTION && FAILED(exception.scode) ? exception.scode : result;
  const int32_t number = HRESULT_FACILITY(code) == FACILITY_CONTROL ? HRESULT_CODE(code) : 440;
  throw VbError(number, description);
}

}  // namespace

Value::Value(const wchar_t* text) : Value() {
  V_VT(&v_) = VT_BSTR;
  V_BSTR(&v_) = SysAllocString(text);
  if (V_BSTR(&v_) == nullptr) throw VbError(7);
}

Value::Value(const Value& other) : Value() {
  if (FAILED(VariantCopy(&v_, const_cast<VARIANT*>(&other.v_)))) throw VbError(7);
}

Value Value::Bool(bool b) {
  Value value;
  V_VT(value.get()) = VT_BOOL;
  V_BOOL(value.get()) = b ? VARIANT_TRUE : VARIANT_FALSE;
  return value;
}

Value Value::Double(double number) {
  Value value;
  V_VT(value.get()) = VT_R8;
  V_R8(value.get()) = number;
  return value;
}

ComApartment::ComApartment() {
  const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  owns_ = SUCCEEDED(result);
}

ComApartment::~ComApartment() {
  if (owns_) CoUninitialize();
}

AutoObject AutoObject::Create(const wchar_t* class_name) {
  CLSID clsid{};
  const HRESULT found = class_name[0] == L'{' ? CLSIDFromString(class_name, &clsid)
                                              : CLSIDFromProgID(class_name, &clsid);
  Microsoft::WRL::ComPtr<IDispatch> object;
  if (FAILED(found) || FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                               reinterpret_cast<void**>(object.GetAddressOf())))) {
    throw VbError(429);
  }
  return AutoObject(std::move(object));
}

Value AutoObject::AsValue() const {
  Value value;
  V_VT(value.get()) = VT_DISPATCH;
  V_DISPATCH(value.get()) = object_.Get();
  object_->AddRef();
  return value;
}

Value AutoObject::Get(const wchar_t* name, std::vector<Value> args) {
  std::vector<std::pair<const wchar_t*, Value>> named;
  return Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, named);
}

AutoObject AutoObject::GetObject(const wchar_t* name, std::vector<Value> args) {
  Value result = Get(name, std::move(args));
  if (V_VT(result.get()) != VT_DISPATCH || V_DISPATCH(result.get()) == nullptr) throw VbError(91);
  return AutoObject(Microsoft::WRL::ComPtr<IDispatch>(V_DISPATCH(result.get())));
}

void AutoObject::Put(const wchar_t* name, Value value) {
  std::vector<Value> args{std::move(value)};
  std::vector<std::pair<const wchar_t*, Value>> named;
  Invoke(name, DISPATCH_PROPERTYPUT, args, named);
}

std::vector<AutoObject> AutoObject::Items() {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  Value enumerator;
  EXCEPINFO exception{};
  const HRESULT outcome = object_->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                                          DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none,
                                          enumerator.get(), &exception, nullptr);
  if (FAILED(outcome)) ThrowAutomationError(outcome, exception);
  IUnknown* unknown = V_VT(enumerator.get()) == VT_UNKNOWN    ? V_UNKNOWN(enumerator.get())
                      : V_VT(enumerator.get()) == VT_DISPATCH ? V_DISPATCH(enumerator.get())
                                                              : nullptr;
  Microsoft::WRL::ComPtr<IEnumVARIANT> items;
  if (unknown == nullptr || FAILED(unknown->QueryInterface(IID_PPV_ARGS(&items)))) {
    throw VbError(438);
  }
  std::vector<AutoObject> result;
  while (true) {
    Value item;
    ULONG fetched = 0;
    if (items->Next(1, item.get(), &fetched) != S_OK || fetched == 0) break;
    if (std::optional<AutoObject> object = ObjectOrNothing(item)) result.push_back(*object);
  }
  return result;
}

Value AutoObject::Call(const wchar_t* name, std::vector<Value> args,
                       std::vector<std::pair<const wchar_t*, Value>> named) {
  return Invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, named);
}

Value AutoObject::Invoke(const wchar_t* name, WORD flags, std::vector<Value>& args,
                         std::vector<std::pair<const wchar_t*, Value>>& named) {
  // One GetIDsOfNames call names the member and its named arguments together.
  std::vector<LPOLESTR> names{const_cast<LPOLESTR>(name)};
  for (auto& [arg_name, unused] : named) names.push_back(const_cast<LPOLESTR>(arg_name));
  std::vector<DISPID> ids(names.size());
  if (FAILED(object_->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()),
                                    LOCALE_USER_DEFAULT, ids.data()))) {
    throw VbError(438);
  }
  // DISPPARAMS lists the arguments last first; named ones come before the positional ones.
  std::vector<VARIANT> packed;
  std::vector<DISPID> named_ids;
  for (size_t i = named.size(); i-- > 0;) {
    packed.push_back(named[i].second.ref());
    named_ids.push_back(ids[i + 1]);
  }
  for (size_t i = args.size(); i-- > 0;) packed.push_back(args[i].ref());
  DISPID put_id = DISPID_PROPERTYPUT;
  if (flags == DISPATCH_PROPERTYPUT) named_ids.assign(1, put_id);
  DISPPARAMS params{packed.data(), named_ids.empty() ? nullptr : named_ids.data(),
                    static_cast<UINT>(packed.size()), static_cast<UINT>(named_ids.size())};
  Value result;
  EXCEPINFO exception{};
  UINT bad_argument = 0;
  const HRESULT outcome = object_->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                          result.get(), &exception, &bad_argument);
  if (FAILED(outcome)) ThrowAutomationError(outcome, exception);
  return result;
}

std::optional<AutoObject> ObjectOrNothing(Value& value) {
  const VARTYPE kind = V_VT(value.get());
  if (kind == VT_EMPTY || kind == VT_NULL) return std::nullopt;
  if (kind != VT_DISPATCH) throw VbError(13);
  if (V_DISPATCH(value.get()) == nullptr) return std::nullopt;
  return AutoObject(Microsoft::WRL::ComPtr<IDispatch>(V_DISPATCH(value.get())));
}

void CloseWorkbookUnsaved(AutoObject& workbook) noexcept {
  try {
    workbook.Call(L"Close", {}, {{L"SaveChanges", Value::Bool(false)}});
  } catch (...) {
  }
}

}  // namespace lastora::win32
