// Late-bound calls on automation objects (Excel, MSXML), the way a script makes them: by name,
// arguments as VARIANTs. Every object and value here releases itself, so no path leaks one.
#ifndef LASTORA_PLATFORM_WIN32_DISPATCH_CALL_H_
#define LASTORA_PLATFORM_WIN32_DISPATCH_CALL_H_

#include <oaidl.h>
#include <wrl/client.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lastora::win32 {

// A VARIANT that owns its contents.
class Value {
 public:
  Value() { VariantInit(&v_); }
  Value(const wchar_t* text);     // NOLINT: a BSTR
  Value(long number) : Value() {  // NOLINT: VT_I4
    V_VT(&v_) = VT_I4;
    V_I4(&v_) = number;
  }
  static Value Bool(bool b);
  static Value Double(double number);
  Value(const Value& other);
  Value& operator=(const Value& other) = delete;
  ~Value() { VariantClear(&v_); }
  VARIANT* get() { return &v_; }
  const VARIANT& ref() const { return v_; }

 private:
  VARIANT v_;
};

// Initialises COM on this thread for the guard's lifetime, unless the caller already has.
class ComApartment {
 public:
  ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment();

 private:
  bool owns_ = false;
};

class AutoObject {
 public:
  explicit AutoObject(Microsoft::WRL::ComPtr<IDispatch> object) : object_(std::move(object)) {}
  // By ProgID ("Excel.Application") or by CLSID text ("{...}"); VbError 429 when it cannot be made.
  static AutoObject Create(const wchar_t* class_name);

  // The object itself as an argument for another call.
  Value AsValue() const;
  Value Get(const wchar_t* name, std::vector<Value> args = {});
  AutoObject GetObject(const wchar_t* name, std::vector<Value> args = {});
  void Put(const wchar_t* name, Value value);
  // The members of a collection, in the order its enumerator gives them (a script's For Each).
  std::vector<AutoObject> Items();
  // Arguments in the order of the call; named ones follow as (name, value).
  Value Call(const wchar_t* name, std::vector<Value> args = {},
             std::vector<std::pair<const wchar_t*, Value>> named = {});

 private:
  Value Invoke(const wchar_t* name, WORD flags, std::vector<Value>& args,
               std::vector<std::pair<const wchar_t*, Value>>& named);
  Microsoft::WRL::ComPtr<IDispatch> object_;
};

// The object a call returned, or nothing where it returned Nothing or Empty (a search without a
// hit); VbError 13 for any other value.
std::optional<AutoObject> ObjectOrNothing(Value& value);

// Closes a spreadsheet workbook without saving, from a destructor: a failure there has nobody
// left to report to, and the application is quit after it anyway.
void CloseWorkbookUnsaved(AutoObject& workbook) noexcept;

}  // namespace lastora::win32

#endif  // LASTORA_PLATFORM_WIN32_DISPATCH_CALL_H_
