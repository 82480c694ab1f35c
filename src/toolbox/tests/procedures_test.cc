#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "com_apartment.h"
#include "dll_location.h"
#include "form1_layout.h"
#include "regsvr32_command.h"
#include "system_info.h"

namespace lastora::toolbox {
namespace {

TEST(DllLocationTest, EveryDllFolderIsRemovedInExactCaseOnly) {
  EXPECT_EQ(StripDllFolder(L"C:\\Verein\\Kasse"), L"C:\\Verein\\Kasse");
  EXPECT_EQ(StripDllFolder(L"C:\\Verein\\Kasse\\DLL"), L"C:\\Verein\\Kasse");
  EXPECT_EQ(StripDllFolder(L"C:\\DLL\\Kasse\\DLL"), L"C:\\Kasse");
  EXPECT_EQ(StripDllFolder(L"C:\\Kasse\\dll"), L"C:\\Kasse\\dll");
  EXPECT_EQ(StripDllFolder(L"C:\\DLLs"), L"C:s");
  EXPECT_EQ(StripDllFolder(L""), L"");
}

TEST(DllLocationTest, StartedInsideOrBesideTheDllFolderFindsTheSameFile) {
  const std::wstring expected = L"C:\\Verein\\DLL\\Lastora.dll";
  EXPECT_EQ(DllPath(StripDllFolder(L"C:\\Verein")), expected);
  EXPECT_EQ(DllPath(StripDllFolder(L"C:\\Verein\\DLL")), expected);
}

TEST(Regsvr32CommandTest, AllEightRowsOfTheCommandTable) {
  struct Row {
    bool unregister, hide, admin, elevated;
    const wchar_t* text;
  };
  const Row rows[] = {
      {false, false, false, false, L"S:\\sys\\regsvr32 \"F:\\a b.dll\""},
      {false, true, false, false, L"S:\\sys\\regsvr32 /s \"F:\\a b.dll\""},
      {false, false, true, true, L"/c S:\\sys\\regsvr32 /s \"F:\\a b.dll\""},
      {false, true, true, true, L"/c S:\\sys\\regsvr32 /s \"F:\\a b.dll\""},
      {true, false, false, false, L"S:\\sys\\regsvr32 /u \"F:\\a b.dll\""},
      {true, true, false, false, L"S:\\sys\\regsvr32 /s /u \"F:\\a b.dll\""},
      {true, false, true, true, L"/c S:\\sys\\regsvr32 /u \"F:\\a b.dll\""},
      {true, true, true, true, L"/c S:\\sys\\regsvr32 /s /u \"F:\\a b.dll\""},
  };
  for (const Row& row : rows) {
    const Regsvr32Command command =
        BuildRegsvr32Command(L"S:\\sys", L"F:\\a b.dll", row.unregister, row.hide, row.admin);
    EXPECT_EQ(command, (Regsvr32Command{row.elevated, row.text}))
        << "unregister=" << row.unregister << " hide=" << row.hide << " admin=" << row.admin;
  }
}

TEST(ToolFolderTest, SyswowIsUsedOnlyOn64BitWhenItExists) {
  std::vector<std::wstring> asked;
  const auto exists = [&asked](const std::wstring& folder) {
    asked.push_back(folder);
    return true;
  };
  EXPECT_EQ(ChooseToolFolder(L"C:\\WINDOWS\\system32", true, exists), L"C:\\WINDOWS\\syswow64");
  EXPECT_EQ(asked, std::vector<std::wstring>{L"C:\\WINDOWS\\syswow64"});
  EXPECT_EQ(ChooseToolFolder(L"C:\\WINDOWS\\system32", false, exists), L"C:\\WINDOWS\\system32");
  const auto missing = [](const std::wstring&) { return false; };
  EXPECT_EQ(ChooseToolFolder(L"C:\\WINDOWS\\system32", true, missing), L"C:\\WINDOWS\\system32");
  // Only the exact spelling is redirected, but every occurrence of it.
  EXPECT_EQ(ChooseToolFolder(L"C:\\WINDOWS\\System32", true, exists), L"C:\\WINDOWS\\System32");
  EXPECT_EQ(ChooseToolFolder(L"D:\\system32\\system32", true, exists), L"D:\\syswow64\\syswow64");
}

TEST(BitnessTest, SystemTypeTextsAndTheLastObjectDecides) {
  EXPECT_TRUE(SystemTypeIs64Bit(L"x64-based PC"));
  EXPECT_TRUE(SystemTypeIs64Bit(L"X64-BASED PC"));
  EXPECT_TRUE(SystemTypeIs64Bit(L"ARM 64-Bit Processor"));
  EXPECT_FALSE(SystemTypeIs64Bit(L"X86-based PC"));
  EXPECT_FALSE(SystemTypeIs64Bit(L""));

  using Types = std::vector<std::optional<std::wstring>>;
  EXPECT_FALSE(Is64BitFromSystemTypes(Types{}));
  EXPECT_TRUE(Is64BitFromSystemTypes(Types{L"x86-based PC", L"x64-based PC"}));
  EXPECT_FALSE(Is64BitFromSystemTypes(Types{L"x64-based PC", L"x86-based PC"}));
  // An unreadable object stops the walk; what was reached before it stands.
  EXPECT_TRUE(Is64BitFromSystemTypes(Types{L"x64-based PC", std::nullopt, L"x86-based PC"}));
  EXPECT_FALSE(Is64BitFromSystemTypes(Types{std::nullopt, L"x64-based PC"}));
}

TEST(BitnessTest, WmiAgreesWithTheProcessorTheSystemRuns) {
  const ComApartment apartment;
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  const bool system_is_64bit = sizeof(void*) == 8 || wow64;
  EXPECT_EQ(Is64BitWin(), system_is_64bit);
}

TEST(SystemFolderTest, SystemFolderAndExistence) {
  wchar_t root[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH);
  ASSERT_GT(length, 0u);
  const std::wstring folder = WinSysDir();
  EXPECT_EQ(CompareStringOrdinal(folder.c_str(), -1,
                                 (std::wstring(root, length) + L"\\system32").c_str(), -1, TRUE),
            CSTR_EQUAL)
      << std::string(folder.begin(), folder.end());
  EXPECT_TRUE(PathExists(folder));
  EXPECT_TRUE(PathExists(folder + L"\\kernel32.dll"));
  EXPECT_FALSE(PathExists(folder + L"\\no such file.dll"));
  EXPECT_FALSE(PathExists(L""));
}

TEST(LayoutTest, ControlIdsTellEveryArrayMemberApart) {
  std::set<int> ids;
  for (const ControlSpec& control : Form1Controls()) {
    const int id = ControlId(control.array, control.index);
    EXPECT_TRUE(ids.insert(id).second) << "duplicate id " << id;
    EXPECT_EQ(FindControl(id), &control);
    EXPECT_GT(id, IDCANCEL) << "would clash with the dialog manager's Enter and Escape";
  }
  EXPECT_EQ(FindControl(IDOK), nullptr);
}

}  // namespace
}  // namespace lastora::toolbox
