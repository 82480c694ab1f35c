#include "class1_object.h"

#include <oleauto.h>

#include <algorithm>
#include <span>
#include <utility>
#include <vector>

#include "check_bic_call.h"
#include "lastora/settings.h"
#include "server.h"

namespace lastora::com {
namespace {

using automation::FromBstr;
using automation::FromVariant;

// Runs `work` and hands its text to the caller; a failure becomes an HRESULT and no text.
template <typename Work>
HRESULT ReturnText(BSTR* result, Work&& work) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  return Guarded([&] { *result = automation::ToBstr(work()); });
}

// A table argument: the caller's array, and the run's table read from it. The caller's array
// itself tells which cells the run changed, so no second copy of the table is kept.
struct TableArgument {
  VARIANT* argument;
  const char* name;
  Table& working;
};

// Lends the object's spare tables to one run and takes them back afterwards, on every path.
// While lent, the object holds none: a call made while the run waits (a message box lets the
// caller's messages through) converts into tables of its own.
class LentTables {
 public:
  LentTables(std::vector<Table>& spare, size_t count) : spare_(spare), tables_(std::move(spare)) {
    spare_.clear();
    tables_.resize(std::max(tables_.size(), count));
  }
  LentTables(const LentTables&) = delete;
  LentTables& operator=(const LentTables&) = delete;
  ~LentTables() { spare_ = std::move(tables_); }
  Table& operator[](size_t i) { return tables_[i]; }

 private:
  std::vector<Table>& spare_;
  std::vector<Table> tables_;
};

// The run methods that take the settings array and tables: everything is converted before the
// run, so that an argument of the wrong shape ends the call with the run's own failure text and
// nothing of the caller's data touched; afterwards the results go back into the caller's arrays.
// The tables are read into `spare`, the tables of the object's previous run, and stay there for
// the next one: a workbook hands the same sheets to one run after the other, and fresh memory for
// a large sheet costs more than converting it. They go with the object.
template <typename Run>
std::string RunWithArrays(VARIANT* variablen, std::vector<std::pair<VARIANT*, const char*>> tables,
                          std::vector<Table>& spare, Run&& run) {
  LentTables pool(spare, tables.size());
  VariantArray received_settings;
  std::vector<TableArgument> arguments;
  try {
    received_settings = automation::ArrayFromVariant(*variablen);
    arguments.reserve(tables.size());
    for (size_t i = 0; i < tables.size(); ++i) {
      automation::ReadTable(*tables[i].first, pool[i]);
      arguments.push_back({tables[i].first, tables[i].second, pool[i]});
    }
  } catch (const VbError& error) {
    return FailureText(error.number(), error.description());
  }
  VariantArray settings = received_settings;
  std::string text = run(settings, arguments);
  const char* writing = "aVariablen";
  try {
    automation::WriteBackArray(received_settings, settings, variablen);
    for (TableArgument& table : arguments) {
      writing = table.name;
      automation::WriteBackTable(table.working, table.argument);
    }
  } catch (const VbError& error) {
    return FailureText(error.number(), error.description() + ": " + writing);
  }
  return text;
}

// An optional by-reference text: missing, or the caller's Variant (or BSTR) to write back into.
class OptionalText {
 public:
  explicit OptionalText(VARIANT* argument) : argument_(argument) {
    const Variant value = argument == nullptr ? Variant::Missing() : FromVariant(*argument);
    given_ = !value.IsMissing();
    if (given_) text = CStr(value);
  }
  bool given() const { return given_; }
  // The argument is the caller's variable, or leads to it through references.
  void WriteBack() const {
    if (!given_) return;
    VARIANT* target = argument_;
    while (V_VT(target) == (VT_BYREF | VT_VARIANT)) target = V_VARIANTREF(target);
    if (V_VT(target) == (VT_BYREF | VT_BSTR)) {
      BSTR fresh = automation::ToBstr(text);
      SysFreeString(*V_BSTRREF(target));
      *V_BSTRREF(target) = fresh;
    } else {
      automation::ToVariant(Variant(text), target);
    }
  }
  std::string text;

 private:
  VARIANT* argument_;
  bool given_ = false;
};

// The record's fields are 169 settings in declared order, the same order as the settings table.
std::span<::SEPAVALUES> RecordFields(::SEPAVARIABLEN* record) {
  static_assert(sizeof(::SEPAVARIABLEN) == 169 * sizeof(::SEPAVALUES));
  return {reinterpret_cast<::SEPAVALUES*>(record), 169};
}

SEPAVARIABLEN RecordIn(::SEPAVARIABLEN* record) {
  SEPAVARIABLEN settings;
  const std::span<const SettingsField> fields = SettingsFields();
  std::span<::SEPAVALUES> values = RecordFields(record);
  for (size_t i = 0; i < fields.size(); ++i) {
    SEPAVALUES& field = settings.*(fields[i].member);
    field.Value = FromBstr(values[i].Value);
    field.Row = values[i].Row;
    field.Column = values[i].Column;
    field.IniSection = FromBstr(values[i].IniSection);
    field.IniEntry = FromBstr(values[i].IniEntry);
  }
  return settings;
}

void ReplaceBstr(BSTR& slot, const std::string& text) {
  BSTR fresh = automation::ToBstr(text);
  SysFreeString(slot);
  slot = fresh;
}

void RecordOut(const SEPAVARIABLEN& settings, ::SEPAVARIABLEN* record) {
  const std::span<const SettingsField> fields = SettingsFields();
  std::span<::SEPAVALUES> values = RecordFields(record);
  for (size_t i = 0; i < fields.size(); ++i) {
    const SEPAVALUES& field = settings.*(fields[i].member);
    ReplaceBstr(values[i].Value, field.Value);
    values[i].Row = field.Row;
    values[i].Column = field.Column;
    ReplaceBstr(values[i].IniSection, field.IniSection);
    ReplaceBstr(values[i].IniEntry, field.IniEntry);
  }
}

}  // namespace

Class1Object::Class1Object() { ObjectCreated(); }

Class1Object::~Class1Object() { ObjectDestroyed(); }

STDMETHODIMP Class1Object::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, IID__Class1)) {
    *object = static_cast<_Class1*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) Class1Object::AddRef() { return ++references_; }

STDMETHODIMP_(ULONG) Class1Object::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP Class1Object::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP Class1Object::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ITypeInfo* type = Class1TypeInfo();
  if (type == nullptr) return TYPE_E_CANTLOADLIBRARY;
  type->AddRef();
  *info = type;
  return S_OK;
}

STDMETHODIMP Class1Object::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  ITypeInfo* type = Class1TypeInfo();
  if (type == nullptr) return TYPE_E_CANTLOADLIBRARY;
  return DispGetIDsOfNames(type, names, count, ids);
}

STDMETHODIMP Class1Object::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO* exception, UINT* bad_argument) {
  ITypeInfo* type = Class1TypeInfo();
  if (type == nullptr) return TYPE_E_CANTLOADLIBRARY;
  if (IsCheckBic(id) && (flags & DISPATCH_METHOD) != 0 && params != nullptr) {
    return InvokeCheckBic(*this, *params, result, bad_argument);
  }
  return DispInvoke(static_cast<_Class1*>(this), type, id, flags, params, result, exception,
                    bad_argument);
}

STDMETHODIMP Class1Object::CountStringInText(BSTR strDateiinhalt, BSTR strSearch, LONG* result) {
  if (result == nullptr) return E_POINTER;
  return Guarded([&] {
    *result = component_.CountStringInText(FromBstr(strDateiinhalt), FromBstr(strSearch));
  });
}

STDMETHODIMP Class1Object::GetColumnsFromExcelFile(BSTR strFile, VARIANT* aZiel, BSTR strSheet,
                                                   LONG lngFirstRow, SHORT SortColumn,
                                                   BSTR SortDirection, VARIANT intDateWarnung,
                                                   BSTR* result) {
  return ReturnText(result, [&] {
    std::string text;
    Table target;
    text = component_.GetColumnsFromExcelFile(FromBstr(strFile), target, FromBstr(strSheet),
                                              lngFirstRow, SortColumn, FromBstr(SortDirection),
                                              FromVariant(intDateWarnung));
    // The caller's table changes only when the block was read.
    if (text == "ok") automation::ReplaceTable(target, aZiel);
    return text;
  });
}

STDMETHODIMP Class1Object::TestGC() {
  return Guarded([&] { component_.TestGC(); });
}

STDMETHODIMP Class1Object::getPruefziffer(BSTR strIBAN, BSTR* result) {
  return ReturnText(result, [&] { return component_.getPruefziffer(FromBstr(strIBAN)); });
}

STDMETHODIMP Class1Object::ext_SEPA_Bearbeitung(VARIANT* aVariablen, VARIANT* aZielValues,
                                                VARIANT* aZielColors, BSTR* result) {
  return ReturnText(result, [&] {
    std::string text;
    text = RunWithArrays(
        aVariablen, {{aZielValues, "aZielValues"}, {aZielColors, "aZielColors"}}, spare_tables_,
        [&](VariantArray& settings, std::vector<TableArgument>& tables) {
          return component_.ext_SEPA_Bearbeitung(settings, tables[0].working, tables[1].working);
        });
    return text;
  });
}

STDMETHODIMP Class1Object::ext_SEPA_Erzeugung(VARIANT* aVariablen, VARIANT* aImport,
                                              VARIANT* aColour, BSTR strPathDTA_,
                                              VARIANT_BOOL boolDTAUS, BSTR* result) {
  return ReturnText(result, [&] {
    std::string text;
    text = RunWithArrays(aVariablen, {{aImport, "aImport"}, {aColour, "aColour"}}, spare_tables_,
                         [&](VariantArray& settings, std::vector<TableArgument>& tables) {
                           return component_.ext_SEPA_Erzeugung(
                               settings, tables[0].working, tables[1].working,
                               FromBstr(strPathDTA_), boolDTAUS != VARIANT_FALSE);
                         });
    return text;
  });
}

STDMETHODIMP Class1Object::ext_SEPA_Checker(VARIANT* aVariablen, VARIANT* aZielValues,
                                            VARIANT* aZielColors, VARIANT* aBLZintern,
                                            VARIANT* aBLZnew, BSTR strDTAFile1, BSTR strDTAFile2,
                                            BSTR* result) {
  return ReturnText(result, [&] {
    std::string text;
    text = RunWithArrays(aVariablen,
                         {{aZielValues, "aZielValues"},
                          {aZielColors, "aZielColors"},
                          {aBLZintern, "aBLZintern"},
                          {aBLZnew, "aBLZnew"}},
                         spare_tables_,
                         [&](VariantArray& settings, std::vector<TableArgument>& tables) {
                           return component_.ext_SEPA_Checker(
                               settings, tables[0].working, tables[1].working, tables[2].working,
                               tables[3].working, FromBstr(strDTAFile1), FromBstr(strDTAFile2));
                         });
    return text;
  });
}

STDMETHODIMP Class1Object::SEPA_Check_XMLStruktur(BSTR strDTAFile, BSTR* result) {
  return ReturnText(result,
                    [&] { return component_.SEPA_Check_XMLStruktur(FromBstr(strDTAFile)); });
}

STDMETHODIMP Class1Object::ext_DTAUS_Checker(VARIANT* aVariablen, VARIANT* aZielValues,
                                             VARIANT* aZielColors, VARIANT* aBLZintern,
                                             VARIANT* aBLZnew, BSTR strDTAFile,
                                             VARIANT_BOOL boolExtern, BSTR* result) {
  return ReturnText(result, [&] {
    std::string text;
    text = RunWithArrays(
        aVariablen,
        {{aZielValues, "aZielValues"},
         {aZielColors, "aZielColors"},
         {aBLZintern, "aBLZintern"},
         {aBLZnew, "aBLZnew"}},
        spare_tables_, [&](VariantArray& settings, std::vector<TableArgument>& tables) {
          return component_.ext_DTAUS_Checker(settings, tables[0].working, tables[1].working,
                                              tables[2].working, tables[3].working,
                                              FromBstr(strDTAFile), boolExtern != VARIANT_FALSE);
        });
    return text;
  });
}

STDMETHODIMP Class1Object::ext_CreateSerienbrief(LONG lngSerienbriefID, VARIANT aWerteQuelleX,
                                                 VARIANT aWerteHeader, VARIANT aZiel,
                                                 SHORT intBlatt, LONG lngActiveRow, BSTR strIBAN,
                                                 LONG lngPicX, LONG lngPicY,
                                                 VARIANT_BOOL boolNoPrint,
                                                 VARIANT_BOOL boolEmptyPrint, BSTR* result) {
  return ReturnText(result, [&] {
    std::string text;
    try {
      // aZiel arrives by value: the run's notes in it stay with the run, as with any by-value
      // argument.
      Table definitions = automation::TableFromVariant(aZiel);
      text = component_.ext_CreateSerienbrief(
          lngSerienbriefID, automation::TableFromVariant(aWerteQuelleX),
          automation::TableFromVariant(aWerteHeader), definitions, intBlatt, lngActiveRow,
          FromBstr(strIBAN), lngPicX, lngPicY, boolNoPrint != VARIANT_FALSE,
          boolEmptyPrint != VARIANT_FALSE);
    } catch (const VbError& error) {
      text = FailureText(error.number(), error.description());
    }
    return text;
  });
}

STDMETHODIMP Class1Object::IsCharacter(BSTR strText, VARIANT_BOOL boolUCase, VARIANT_BOOL* result) {
  if (result == nullptr) return E_POINTER;
  return Guarded([&] {
    *result = component_.IsCharacter(FromBstr(strText), boolUCase != VARIANT_FALSE) ? VARIANT_TRUE
                                                                                    : VARIANT_FALSE;
  });
}

STDMETHODIMP Class1Object::Get_IBAN(BSTR strIBAN, VARIANT* strLandKurz, VARIANT* strBLZ_,
                                    VARIANT* strKONT, BSTR* result) {
  return ReturnText(result, [&] {
    std::string text;
    OptionalText land(strLandKurz);
    OptionalText bank_code(strBLZ_);
    OptionalText account(strKONT);
    text = component_.Get_IBAN(FromBstr(strIBAN), land.text, bank_code.text, account.text);
    land.WriteBack();
    bank_code.WriteBack();
    account.WriteBack();
    return text;
  });
}

STDMETHODIMP Class1Object::Check_BIC(SHORT intBLZSearchColumn, SHORT intDatSearchColumn,
                                     SHORT intBLZFoundColumn, SHORT intDatTargetColumn,
                                     BSTR strSearchSource, ::SEPAVARIABLEN* sAct,
                                     VARIANT* aZielValues, VARIANT* aZielColors,
                                     VARIANT* aBLZintern, VARIANT* aBLZnew, VARIANT* strOneIBAN,
                                     VARIANT* strOneBIC, VARIANT* strOneBLZ, VARIANT* strOneBank,
                                     BSTR* result) {
  if (sAct == nullptr) return E_POINTER;
  return ReturnText(result, [&] {
    std::string text;
    SEPAVARIABLEN settings = RecordIn(sAct);
    OptionalText iban(strOneIBAN);
    OptionalText bic(strOneBIC);
    OptionalText bank_code(strOneBLZ);
    OptionalText bank(strOneBank);
    // Check_BIC takes no settings array; an empty one stands in for the shared conversion.
    VARIANT no_settings;
    V_VT(&no_settings) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&no_settings) = SafeArrayCreateVector(VT_VARIANT, 1, 0);
    text = RunWithArrays(&no_settings,
                         {{aZielValues, "aZielValues"},
                          {aZielColors, "aZielColors"},
                          {aBLZintern, "aBLZintern"},
                          {aBLZnew, "aBLZnew"}},
                         spare_tables_, [&](VariantArray&, std::vector<TableArgument>& tables) {
                           return component_.Check_BIC(
                               intBLZSearchColumn, intDatSearchColumn, intBLZFoundColumn,
                               intDatTargetColumn, FromBstr(strSearchSource), settings,
                               tables[0].working, tables[1].working, tables[2].working,
                               tables[3].working, iban.text, bic.text, bank_code.text, bank.text);
                         });
    VariantClear(&no_settings);
    RecordOut(settings, sAct);
    iban.WriteBack();
    bic.WriteBack();
    bank_code.WriteBack();
    bank.WriteBack();
    return text;
  });
}

STDMETHODIMP Class1Object::RubLeadingZero(BSTR strText, BSTR* result) {
  return ReturnText(result, [&] { return component_.RubLeadingZero(FromBstr(strText)); });
}

STDMETHODIMP Class1Object::Check_BLZ_File(VARIANT* aExternBLZ, VARIANT_BOOL* result) {
  if (result == nullptr) return E_POINTER;
  return Guarded([&] {
    Table table;
    const bool found = component_.Check_BLZ_File(table);
    if (table.IsAllocated()) automation::ReplaceTable(table, aExternBLZ);
    *result = found ? VARIANT_TRUE : VARIANT_FALSE;
  });
}

}  // namespace lastora::com
