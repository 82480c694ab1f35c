// The shipped program itself, driven from outside as a user would: its own message loop, its
// real message boxes, read back from the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "form1_layout.h"

namespace lastora::toolbox {
namespace {

// Waits for a window; gives up after ten seconds.
template <typename Probe>
HWND Await(Probe probe) {
  for (int i = 0; i < 100; ++i) {
    if (HWND window = probe()) return window;
    Sleep(100);
  }
  return nullptr;
}

// The message box's text: the longest static text in it (the other one, if any, is the icon).
std::wstring TextOf(HWND message_box) {
  std::wstring longest;
  for (HWND child = GetWindow(message_box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t text[512] = L"";
    GetWindowTextW(child, text, 512);
    wchar_t class_name[16];
    GetClassNameW(child, class_name, 16);
    if (_wcsicmp(class_name, L"Static") == 0 && wcslen(text) > longest.size()) longest = text;
  }
  return longest;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t file[MAX_PATH];
    std::wstring folder(file, GetModuleFileNameW(nullptr, file, MAX_PATH));
    folder.resize(folder.find_last_of(L'\\'));
    // The copy beside the empty case looks for its component where there is none.
    folder_ = folder + L"\\cases\\absent";
    std::wstring command_line = L"\"" + folder_ + L"\\LastoraToolbox.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    ASSERT_TRUE(CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process_));
    window_ = Await([this] {
      HWND window = FindWindowW(L"LastoraToolboxForm1", L"Lastora Toolbox");
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      // Shown only once its controls are made.
      return owner == process_.dwProcessId && IsWindowVisible(window) ? window : nullptr;
    });
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  // Presses the button, reads the message box it shows and answers it with OK.
  std::wstring PressAndRead(ControlArray array, int index) {
    PostMessageW(GetDlgItem(window_, ControlId(array, index)), BM_CLICK, 0, 0);
    // The program's own message box: a dialog window of its process.
    HWND box = Await([this] {
      for (HWND window = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); window != nullptr;
           window = FindWindowExW(nullptr, window, L"#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process_.dwProcessId && IsWindowVisible(window)) return window;
      }
      return HWND{};
    });
    if (box == nullptr) return L"(no message box)";
    const std::wstring text = TextOf(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    Await([box] { return IsWindow(box) ? nullptr : box; });
    return text;
  }

  std::wstring folder_;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

TEST_F(ProgramTest, ShowsItsAnswersInRealMessageBoxesAndClosesOnEscape) {
  EXPECT_EQ(PressAndRead(ControlArray::kCmdRegDLL, 0),
            L"Unable to locate file " + folder_ + L"\\DLL\\Lastora.dll");

  PostMessageW(GetDlgItem(window_, ControlId(ControlArray::kCommand1, 0)), WM_KEYDOWN, VK_ESCAPE,
               0);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 10000), WAIT_OBJECT_0);
  DWORD exit_code = 1;
  GetExitCodeProcess(process_.hProcess, &exit_code);
  EXPECT_EQ(exit_code, 0u);
}

}  // namespace
}  // namespace lastora::toolbox
