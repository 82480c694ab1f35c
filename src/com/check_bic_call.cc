#include "check_bic_call.h"

#include <oleauto.h>

#include <array>
#include <mutex>

#include "server.h"

namespace lastora::com {
namespace {

constexpr UINT kRequiredArguments = 10;
constexpr UINT kAllArguments = 14;
constexpr UINT kRecordArgument = 5;

// A VARIANT cleared when it goes.
struct Converted {
  VARIANT value;
  Converted() { VariantInit(&value); }
  Converted(const Converted&) = delete;
  ~Converted() { VariantClear(&value); }
};

VARIANT* Followed(VARIANT* argument) {
  while (V_VT(argument) == (VT_BYREF | VT_VARIANT)) argument = V_VARIANTREF(argument);
  return argument;
}

// The caller's record, when the argument holds one of the settings record's layout.
::SEPAVARIABLEN* SettingsRecord(VARIANT* argument) {
  VARIANT* value = Followed(argument);
  if ((V_VT(value) & ~VT_BYREF) != VT_RECORD || V_RECORDINFO(value) == nullptr) return nullptr;
  IRecordInfo* info = V_RECORDINFO(value);
  ULONG size = 0;
  BSTR name = nullptr;
  const bool settings = SUCCEEDED(info->GetSize(&size)) && size == sizeof(::SEPAVARIABLEN) &&
                        SUCCEEDED(info->GetName(&name)) && name != nullptr &&
                        wcscmp(name, L"SEPAVARIABLEN") == 0;
  SysFreeString(name);
  return settings ? static_cast<::SEPAVARIABLEN*>(V_RECORD(value)) : nullptr;
}

}  // namespace

bool IsCheckBic(DISPID id) {
  static DISPID check_bic = DISPID_UNKNOWN;
  static std::once_flag found;
  std::call_once(found, [] {
    if (ITypeInfo* type = Class1TypeInfo()) {
      LPOLESTR name = const_cast<LPOLESTR>(L"Check_BIC");
      DispGetIDsOfNames(type, &name, 1, &check_bic);
    }
  });
  return id != DISPID_UNKNOWN && id == check_bic;
}

HRESULT InvokeCheckBic(_Class1& object, const DISPPARAMS& params, VARIANT* result,
                       UINT* bad_argument) {
  if (params.cNamedArgs > 0) return DISP_E_NONAMEDARGS;
  if (params.cArgs < kRequiredArguments) return DISP_E_PARAMNOTOPTIONAL;
  if (params.cArgs > kAllArguments) return DISP_E_BADPARAMCOUNT;
  std::array<VARIANT*, kAllArguments> in{};
  for (UINT i = 0; i < params.cArgs; ++i) in[i] = &params.rgvarg[params.cArgs - 1 - i];
  const auto refuse = [&](UINT position, HRESULT why) {
    if (bad_argument != nullptr) *bad_argument = params.cArgs - 1 - position;
    return why;
  };
  std::array<Converted, 5> scalars;
  for (UINT i = 0; i < scalars.size(); ++i) {
    const VARTYPE kind = i < 4 ? VT_I2 : VT_BSTR;
    const HRESULT converted = VariantChangeType(&scalars[i].value, in[i], 0, kind);
    if (FAILED(converted)) return refuse(i, DISP_E_TYPEMISMATCH);
  }
  ::SEPAVARIABLEN* record = SettingsRecord(in[kRecordArgument]);
  if (record == nullptr) return refuse(kRecordArgument, DISP_E_TYPEMISMATCH);
  // Arguments left out arrive as the missing value, as the type-info dispatch would pass them.
  std::array<VARIANT, kAllArguments> missing{};
  for (UINT i = params.cArgs; i < kAllArguments; ++i) {
    V_VT(&missing[i]) = VT_ERROR;
    V_ERROR(&missing[i]) = DISP_E_PARAMNOTFOUND;
    in[i] = &missing[i];
  }
  for (UINT i = kRecordArgument + 1; i < kAllArguments; ++i) in[i] = Followed(in[i]);
  BSTR text = nullptr;
  const HRESULT outcome =
      object.Check_BIC(V_I2(&scalars[0].value), V_I2(&scalars[1].value), V_I2(&scalars[2].value),
                       V_I2(&scalars[3].value), V_BSTR(&scalars[4].value), record, in[6], in[7],
                       in[8], in[9], in[10], in[11], in[12], in[13], &text);
  if (result != nullptr && SUCCEEDED(outcome)) {
    VariantClear(result);
    V_VT(result) = VT_BSTR;
    V_BSTR(result) = text;
  } else {
    SysFreeString(text);
  }
  return outcome;
}

}  // namespace lastora::com
