// The server as a workbook meets it: registered, created by ProgID, called late-bound through
// IDispatch with arguments shaped as a spreadsheet passes them, released and unregistered.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "com/late_bound.h"
#include "com/sheet_arrays.h"
#include "lastora/class1.h"
#include "lastora/fixed_clock.h"
#include "lastora/platform.h"
#include "support/cell_dump.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

using lastora::automation::FromVariant;

constexpr wchar_t kClassKey[] = L"Software\\Classes\\CLSID\\{9931F5E8-19F7-4985-B588-C12146DD8061}";

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

TEST_F(ComServerTest, RegistersCreatesAndUnregistersWithoutLeavingAKey) {
  Server server;
  ASSERT_TRUE(server.loaded());
  ASSERT_EQ(server.Call("DllRegisterServer"), S_OK);
  {
    Object object(Create());
    ASSERT_NE(object.get(), nullptr);
    EXPECT_EQ(server.Call("DllCanUnloadNow"), S_FALSE);
  }
  EXPECT_EQ(server.Call("DllCanUnloadNow"), S_OK);
  ASSERT_EQ(server.Call("DllUnregisterServer"), S_OK);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClassKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Lastora.Class1"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Lastora.Class1.1"));
  IDispatch* dispatch = nullptr;
  const CLSID clsid = {
      0x9931F5E8, 0x19F7, 0x4985, {0xB5, 0x88, 0xC1, 0x21, 0x46, 0xDD, 0x80, 0x61}};
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                             reinterpret_cast<void**>(&dispatch)),
            REGDB_E_CLASSNOTREG);
}

TEST_F(ComServerTest, AUserWithoutAdministratorRightsRegistersUnderTheirOwnClasses) {
  Server server;
  ASSERT_EQ(server.Install(TRUE, L"user"), S_OK);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::wstring(kClassKey) + L"\\InprocServer32"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClassKey));
  ASSERT_EQ(server.Install(FALSE, L"user"), S_OK);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClassKey));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Classes\\Lastora.Class1"));
}

TEST_F(LateBoundTest, BadArgumentsGiveTheRunsFailureTextNeverAnAutomationError) {
  Var settings, values, colors;
  PutArray(VariantArray(205), &settings.v);
  PutRange(Table(2, 29), &values.v);
  PutRange(Table(2, 29), &colors.v);
  const std::string short_settings = object_->Text(
      L"ext_SEPA_Bearbeitung", {ByRef(&settings.v), ByRef(&values.v), ByRef(&colors.v)});
  EXPECT_EQ(short_settings, "Fehler: Index außerhalb des gültigen Bereichs (9)");

  Var full, not_a_table(L"keine Tabelle");
  PutArray(VariantArray(206), &full.v);
  const std::string wrong_table = object_->Text(
      L"ext_SEPA_Bearbeitung", {ByRef(&full.v), ByRef(&not_a_table.v), ByRef(&colors.v)});
  EXPECT_EQ(wrong_table, "Fehler: Typen unverträglich (13)");
  EXPECT_EQ(FromVariant(not_a_table.v).AsString(), "keine Tabelle");

  // A Null cell in the settings cannot become text.
  LONG index = 1;
  VARIANT null_cell;
  V_VT(&null_cell) = VT_NULL;
  SafeArrayPutElement(V_ARRAY(&full.v), &index, &null_cell);
  const std::string null_setting =
      object_->Text(L"ext_SEPA_Bearbeitung", {ByRef(&full.v), ByRef(&values.v), ByRef(&colors.v)});
  EXPECT_EQ(null_setting.rfind("Fehler: ", 0), 0u) << null_setting;
  EXPECT_NE(null_setting.find("(94)"), std::string::npos) << null_setting;
}

// A well-formed file passes the check inside every generation, which the sample club's run makes.
TEST_F(LateBoundTest, TheStructureCheckNamesTheLineOfABrokenFile) {
  ScopedTempDir dir;
  std::ofstream(dir.path() / "broken.xml") << "<?xml version=\"1.0\"?>\r\n<Document><A>1</A>\r\n";
  Var broken((dir.path() / "broken.xml").wstring().c_str());
  // Wine's parser words no reason and numbers no line; the shape of the text is ours.
  const std::string complaint = object_->Text(L"SEPA_Check_XMLStruktur", {broken.v});
  EXPECT_NE(complaint.find(" (Zeile "), std::string::npos) << complaint;
}

struct Property {
  std::wstring name;
  VARTYPE kind;
};

// The properties a workbook can set, as the type library names and types them.
std::vector<Property> SettableProperties(IDispatch* object) {
  std::vector<Property> properties;
  ITypeInfo* info = nullptr;
  if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info))) return properties;
  TYPEATTR* attributes = nullptr;
  if (SUCCEEDED(info->GetTypeAttr(&attributes))) {
    for (UINT i = 0; i < attributes->cFuncs; ++i) {
      FUNCDESC* function = nullptr;
      if (FAILED(info->GetFuncDesc(i, &function))) continue;
      if (function->invkind == INVOKE_PROPERTYPUT && function->cParams > 0) {
        BSTR name = nullptr;
        info->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
        properties.push_back({name, function->lprgelemdescParam[function->cParams - 1].tdesc.vt});
        SysFreeString(name);
      }
      info->ReleaseFuncDesc(function);
    }
    info->ReleaseTypeAttr(attributes);
  }
  info->Release();
  return properties;
}

// A value of the property's kind that no other property is given (bar the booleans' two).
void UniqueValue(const Property& property, int n, VARIANT* value) {
  VariantInit(value);
  V_VT(value) = property.kind == VT_VARIANT ? VT_BSTR : property.kind;
  switch (property.kind) {
    case VT_BSTR:
    case VT_VARIANT:
      V_BSTR(value) = SysAllocString((L"Wert für " + property.name + L" €").c_str());
      break;
    case VT_I4:
      V_I4(value) = 100000 + n;
      break;
    case VT_I2:
      V_I2(value) = static_cast<SHORT>(100 + n);
      break;
    case VT_BOOL:
      V_BOOL(value) = n % 2 == 0 ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VT_DATE:
      V_DATE(value) = 46000.25 + n;
      break;
    case VT_R8:
      V_R8(value) = 1234.5 + n;
      break;
    default:
      ADD_FAILURE() << "a property of kind " << property.kind;
  }
}

// Every property by the name the workbook uses: each keeps what it was given, and setting one
// changes no other.
TEST_F(LateBoundTest, EveryPropertyKeepsItsOwnValue) {
  const std::vector<Property> properties = SettableProperties(object_->get());
  ASSERT_EQ(properties.size(), 44u);
  std::vector<Var> given(properties.size());
  for (size_t n = 0; n < properties.size(); ++n) {
    UniqueValue(properties[n], static_cast<int>(n), &given[n].v);
    EXPECT_EQ(object_->Put(properties[n].name.c_str(), given[n].v), S_OK);
  }
  for (size_t n = 0; n < properties.size(); ++n) {
    Var got;
    ASSERT_EQ(object_->Get(properties[n].name.c_str(), &got.v), S_OK);
    EXPECT_EQ(V_VT(&got.v), V_VT(&given[n].v));
    EXPECT_EQ(VarCmp(&got.v, &given[n].v, LOCALE_USER_DEFAULT, 0), VARCMP_EQ)
        << CStr(FromVariant(got.v));
  }
}

// The methods no other test calls late-bound, against the library called directly at the same
// moment: the answers, and what they hand back in the caller's variables.
TEST_F(LateBoundTest, TheLesserMethodsAnswerAsTheLibraryDoes) {
  Class1 library;
  EXPECT_EQ(object_->Text(L"CountStringInText", {Var(L"a;b;;c").v, Var(L";").v}),
            std::to_string(library.CountStringInText("a;b;;c", ";")));
  Var none;
  EXPECT_EQ(object_->Invoke(L"TestGC", {}, &none.v), S_OK);

  Var country, bank_code, account;
  const std::string iban =
      object_->Text(L"Get_IBAN", {Var(L"DE89370400440532013000").v, ByRef(&country.v),
                                  ByRef(&bank_code.v), ByRef(&account.v)});
  std::string direct_country, direct_bank_code, direct_account;
  EXPECT_EQ(iban, library.Get_IBAN("DE89370400440532013000", direct_country, direct_bank_code,
                                   direct_account));
  EXPECT_EQ(CStr(FromVariant(country.v)), direct_country);
  EXPECT_EQ(CStr(FromVariant(bank_code.v)), direct_bank_code);
  EXPECT_EQ(CStr(FromVariant(account.v)), direct_account);

  Var extern_table, found;
  Table direct_table;
  ASSERT_EQ(object_->Invoke(L"Check_BLZ_File", {ByRef(&extern_table.v)}, &found.v), S_OK);
  EXPECT_EQ(V_VT(&found.v), VT_BOOL);
  EXPECT_EQ(V_BOOL(&found.v) != VARIANT_FALSE, library.Check_BLZ_File(direct_table));

  const ScopedEnv moment("LASTORA_NOW", "2013-09-03 10:00:00");
  const auto previous = SetClock(MakeFixedClock(MakeDate(2013, 9, 3) + MakeTime(10, 0, 0)));
  const std::filesystem::path file =
      std::filesystem::path(LASTORA_CLUB_CALLS_DIR).parent_path() / "dtaus" / "testContent.dta";
  Var settings, values, colours, intern, fresh, path(file.wstring().c_str());
  PutArray(VariantArray(206), &settings.v);
  CellDump late, direct;
  late.AddText("result",
               object_->Text(L"ext_DTAUS_Checker",
                             {ByRef(&settings.v), ByRef(&values.v), ByRef(&colours.v),
                              ByRef(&intern.v), ByRef(&fresh.v), path.v, Scalar(VT_BOOL, 0)}));
  late.AddArray("aVariablen", ArrayOf(settings.v));
  late.AddTable("aZielValues", RangeOf(values.v));
  late.AddTable("aZielColors", RangeOf(colours.v));
  VariantArray direct_settings(206);
  Table direct_values, direct_colours, unused;
  direct.AddText("result", library.ext_DTAUS_Checker(direct_settings, direct_values, direct_colours,
                                                     unused, unused, file.string(), false));
  SetClock(previous);
  direct.AddArray("aVariablen", direct_settings);
  direct.AddTable("aZielValues", direct_values);
  direct.AddTable("aZielColors", direct_colours);
  EXPECT_EQ(late.Write(), direct.Write());
}

}  // namespace
}  // namespace lastora::testing
