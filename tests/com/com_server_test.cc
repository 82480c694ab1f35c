// The server as a workbook meets it: registered, created by ProgID, called late-bound through
// IDispatch with arguments shaped as a spreadsheet passes them, released and unregistered.
#include <fstream>
#include <string>

#include "com/late_bound.h"
#include "com/sheet_arrays.h"
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
}

TEST_F(LateBoundTest, TheStructureCheckTellsAWellFormedFileFromABrokenOne) {
  ScopedTempDir dir;
  std::ofstream(dir.path() / "good.xml")
      << "<?xml version=\"1.0\"?>\r\n<Document><A>1</A></Document>\r\n";
  std::ofstream(dir.path() / "broken.xml") << "<?xml version=\"1.0\"?>\r\n<Document><A>1</A>\r\n";
  Var good((dir.path() / "good.xml").wstring().c_str());
  Var broken((dir.path() / "broken.xml").wstring().c_str());
  EXPECT_EQ(object_->Text(L"SEPA_Check_XMLStruktur", {good.v}), "");
  // Wine's parser words no reason and numbers no line; the shape of the text is ours.
  const std::string complaint = object_->Text(L"SEPA_Check_XMLStruktur", {broken.v});
  EXPECT_NE(complaint.find(" (Zeile "), std::string::npos) << complaint;
}

}  // namespace
}  // namespace lastora::testing
