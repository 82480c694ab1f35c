// The server as a workbook meets it: loaded, registered, created by ProgID and called late-bound
// through IDispatch with arguments shaped as a spreadsheet passes them.
#ifndef LASTORA_TESTS_COM_LATE_BOUND_H_
#define LASTORA_TESTS_COM_LATE_BOUND_H_

// clang-format off
#include <windows.h>  // first: the OLE headers build on its types
// clang-format on
#include <gtest/gtest.h>
#include <oleauto.h>

#include <memory>
#include <string>
#include <vector>

#include "lastora/automation_values.h"

namespace lastora::testing {

// A VARIANT cleared when it goes.
struct Var {
  VARIANT v;
  Var() { VariantInit(&v); }
  explicit Var(const wchar_t* text) : Var() {
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(text);
  }
  Var(const Var&) = delete;
  ~Var() { VariantClear(&v); }
};

// A by-reference argument to the caller's variable, as a workbook passes its arrays.
inline VARIANT ByRef(VARIANT* target) {
  VARIANT reference;
  V_VT(&reference) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&reference) = target;
  return reference;
}

// A number argument of the kind a workbook's declaration passes: VT_I2, VT_I4 or VT_BOOL; VT_ERROR
// for an optional argument left out.
inline VARIANT Scalar(VARTYPE kind, long value = 0) {
  VARIANT argument;
  VariantInit(&argument);
  V_VT(&argument) = kind;
  if (kind == VT_I2) V_I2(&argument) = static_cast<SHORT>(value);
  if (kind == VT_I4) V_I4(&argument) = value;
  if (kind == VT_BOOL) V_BOOL(&argument) = value != 0 ? VARIANT_TRUE : VARIANT_FALSE;
  if (kind == VT_ERROR) V_ERROR(&argument) = DISP_E_PARAMNOTFOUND;
  return argument;
}

// The DLL loaded as regsvr32 loads it, for its exported entry points.
class Server {
 public:
  Server() : module_(LoadLibraryW(LASTORA_COM_DLL)) {}
  ~Server() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  HRESULT Call(const char* name) { return Export<HRESULT STDAPICALLTYPE()>(name)(); }
  HRESULT Install(BOOL install, const wchar_t* command_line) {
    return Export<HRESULT STDAPICALLTYPE(BOOL, LPCWSTR)>("DllInstall")(install, command_line);
  }
  bool loaded() const { return module_ != nullptr; }

 private:
  template <typename Function>
  Function* Export(const char* name) {
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  HMODULE module_;
};

// One Lastora.Class1, called by name.
class Object {
 public:
  explicit Object(IDispatch* dispatch) : dispatch_(dispatch) {}
  ~Object() {
    if (dispatch_ != nullptr) dispatch_->Release();
  }
  Object(const Object&) = delete;
  DISPID Id(const wchar_t* name) {
    LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
  }
  // Calls a method with the arguments in call order; `bad` receives the argument IDispatch
  // blames, counted from the last.
  HRESULT Invoke(const wchar_t* name, std::vector<VARIANT> args, VARIANT* result,
                 UINT* bad = nullptr) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO exception{};
    UINT blamed = 0;
    const HRESULT outcome =
        dispatch_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result,
                          &exception, bad != nullptr ? bad : &blamed);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return outcome;
  }
  HRESULT Get(const wchar_t* name, VARIANT* result) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return dispatch_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                             result, nullptr, nullptr);
  }
  HRESULT Put(const wchar_t* name, VARIANT value) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return dispatch_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                             nullptr, nullptr, nullptr);
  }
  // As Invoke, for the method's answer as text; an automation error fails the test.
  std::string Text(const wchar_t* name, std::vector<VARIANT> args) {
    Var result;
    const HRESULT outcome = Invoke(name, std::move(args), &result.v);
    EXPECT_EQ(outcome, S_OK) << "calling a method";
    return FAILED(outcome) ? "<automation error>"
                           : CStr(lastora::automation::FromVariant(result.v));
  }
  IDispatch* get() { return dispatch_; }

 private:
  IDispatch* dispatch_;
};

class ComServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  static void TearDownTestSuite() { CoUninitialize(); }

  static IDispatch* Create() {
    CLSID clsid{};
    IDispatch* dispatch = nullptr;
    if (FAILED(CLSIDFromProgID(L"Lastora.Class1", &clsid))) return nullptr;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(&dispatch));
    return dispatch;
  }
};

// Registered for the machine around each test, with one object created.
class LateBoundTest : public ComServerTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(server_.Call("DllRegisterServer"), S_OK);
    object_ = std::make_unique<Object>(Create());
    ASSERT_NE(object_->get(), nullptr);
  }
  void TearDown() override {
    object_.reset();
    server_.Call("DllUnregisterServer");
  }
  Server server_;
  std::unique_ptr<Object> object_;
};

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_COM_LATE_BOUND_H_
