#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "com_apartment.h"
#include "dll_location.h"
#include "form1_layout.h"
#include "regsvr32_command.h"
#include "system_info.h"

namespace lastora::toolbox {
namespace {

TEST(DllLocationTest, StartedInsideOrBesideTheDllFolderFindsTheSameFile) {
  const std::wstring expected = L"C:\\Verein\\DLL\\Lastora.dll";
  EXPECT_EQ(DllPath(StripDllFolder(L"C:\\Verein")), expected);
  EXPECT_EQ(DllPath(StripDllFolder(L"C:\\Verein\\DLL")), expected);
}

// A club's folder often holds blanks; unquoted, regsvr32 would be handed only part of the path.
TEST(Regsvr32CommandTest, AFileInAFolderWithBlanksReachesRegsvr32Whole) {
  for (bool admin : {false, true}) {
    const Regsvr32Command command =
        BuildRegsvr32Command(L"S:\\sys", L"F:\\a b.dll", true, true, admin);
    EXPECT_EQ(command.elevated, admin);
    EXPECT_TRUE(command.text.ends_with(L" \"F:\\a b.dll\"")) << admin;
  }
}

TEST(ToolFolderTest, SyswowIsUsedOnlyOn64BitWhenItExists) {
  const auto exists = [](const std::wstring& folder) { return folder == L"C:\\WINDOWS\\syswow64"; };
  EXPECT_EQ(ChooseToolFolder(L"C:\\WINDOWS\\system32", true, exists), L"C:\\WINDOWS\\syswow64");
  EXPECT_EQ(ChooseToolFolder(L"C:\\WINDOWS\\system32", false, exists), L"C:\\WINDOWS\\system32");
  const auto missing = [](const std::wstring&) { return false; };
  EXPECT_EQ(ChooseToolFolder(L"C:\\WINDOWS\\system32", true, missing), L"C:\\WINDOWS\\system32");
}

TEST(BitnessTest, WmiAgreesWithTheProcessorTheSystemRuns) {
  const ComApartment apartment;
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  const bool system_is_64bit = sizeof(void*) == 8 || wow64;
  EXPECT_EQ(Is64BitWin(), system_is_64bit);
}

TEST(LayoutTest, ControlIdsTellEveryArrayMemberApart) {
  std::set<int> ids;
  for (const ControlSpec& control : Form1Controls()) {
    const int id = ControlId(control.array, control.index);
    EXPECT_TRUE(ids.insert(id).second) << "duplicate id " << id;
    EXPECT_GT(id, IDCANCEL) << "would clash with the dialog manager's Enter and Escape";
  }
  EXPECT_EQ(FindControl(IDOK), nullptr);
}

}  // namespace
}  // namespace lastora::toolbox
