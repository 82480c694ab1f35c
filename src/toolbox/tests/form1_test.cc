// Drives the real window through its own messages, as a user's clicks would, with the message
// box replaced so that its texts can be read.
#include "form1.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "com_apartment.h"
#include "form1_layout.h"
#include "message_box.h"

namespace lastora::toolbox {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

std::vector<std::wstring> shown;

int WINAPI RecordMessage(HWND, LPCWSTR text, LPCWSTR, UINT) {
  shown.push_back(text);
  return IDOK;
}

// The program folder of one prepared case (see the build: cases/<name>/DLL/Lastora.dll).
std::wstring CaseFolder(const wchar_t* name) {
  wchar_t file[MAX_PATH];
  std::wstring folder(file, GetModuleFileNameW(nullptr, file, MAX_PATH));
  folder.resize(folder.find_last_of(L'\\'));
  return folder + L"\\cases\\" + name;
}

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    shown.clear();
    SetMessageBoxForTesting(&RecordMessage);
  }
  void TearDown() override {
    form_.reset();
    SetMessageBoxForTesting(nullptr);
    DrainMessages();
  }

  // The window needs a display (under Wine: an X server such as Xvfb).
  [[nodiscard]] bool Open(const wchar_t* case_name) {
    form_ = Form1::Create(GetModuleHandleW(nullptr), CaseFolder(case_name), SW_SHOWNORMAL);
    return form_ != nullptr;
  }

  HWND Control(ControlArray array, int index) const {
    return GetDlgItem(form_->hwnd(), ControlId(array, index));
  }

  // Clicks and returns the one message the click showed (empty when it showed none).
  std::wstring Click(ControlArray array, int index) {
    shown.clear();
    HWND button = Control(array, index);
    EXPECT_NE(button, nullptr);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_LE(shown.size(), 1u);
    return shown.empty() ? std::wstring() : shown.back();
  }

  static void DrainMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }

  ComApartment apartment_;
  std::unique_ptr<Form1> form_;
};

constexpr wchar_t kSuccess[] = L"Der Vorgang war erfolgreich!";
constexpr wchar_t kFailure[] = L"Fehler! Der Vorgang wurde abgebrochen.";
constexpr wchar_t kRegistered[] = L"Die DLL ist registriert!";
constexpr wchar_t kNotRegistered[] = L"Die DLL ist nicht registriert!";

TEST_F(Form1Test, WindowFollowsTheControlTable) {
  ASSERT_TRUE(Open(L"absent"));
  HWND window = form_->hwnd();
  wchar_t text[100];

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  // A run on a prepared screen says which density it prepared, so a scaling run cannot pass
  // at 96 dots per inch by accident.
  if (const char* expected = std::getenv("LASTORA_EXPECT_DPI")) {
    EXPECT_EQ(dpi, std::atoi(expected));
  }
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, MulDiv(7710, dpi, 1440));
  EXPECT_EQ(client.bottom, MulDiv(2145, dpi, 1440));

  for (const ControlSpec& control : Form1Controls()) {
    SCOPED_TRACE(::testing::Message()
                 << "control " << static_cast<int>(control.array) << "/" << control.index);
    HWND child = Control(control.array, control.index);
    ASSERT_NE(child, nullptr);
    GetWindowTextW(child, text, 100);
    EXPECT_STREQ(text, control.caption);
    RECT box;
    GetWindowRect(child, &box);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, MulDiv(control.left, dpi, 1440));
    EXPECT_EQ(box.top, MulDiv(control.top, dpi, 1440));
    EXPECT_EQ(box.right - box.left, MulDiv(control.width, dpi, 1440));
    EXPECT_EQ(box.bottom - box.top, MulDiv(control.height, dpi, 1440));
  }
}

TEST_F(Form1Test, InProcessRegistrationCycle) {
  ASSERT_TRUE(Open(L"component"));
  EXPECT_EQ(Click(ControlArray::kCmdTest, -1), kNotRegistered) << "left registered earlier?";
  EXPECT_EQ(Click(ControlArray::kCommand1, 0), kSuccess);
  EXPECT_EQ(Click(ControlArray::kCmdTest, -1), kRegistered);
  EXPECT_EQ(Click(ControlArray::kCommand1, 1), kSuccess);
  EXPECT_EQ(Click(ControlArray::kCmdTest, -1), kNotRegistered);
}

TEST_F(Form1Test, FailureCodeWithinTheLimitIsAFailure) {
  ASSERT_TRUE(Open(L"failing"));
  EXPECT_EQ(Click(ControlArray::kCommand1, 0), kFailure);  // returns E_FAIL
  EXPECT_EQ(Click(ControlArray::kCommand1, 1), kFailure);  // has no DllUnregisterServer
  EXPECT_EQ(GetModuleHandleW((CaseFolder(L"failing") + L"\\DLL\\Lastora.dll").c_str()), nullptr)
      << "library not unloaded after the entry point returned";
}

TEST_F(Form1Test, SlowEntryPointIsAbandonedAfterFiveSecondsAndUnloadedWhenDone) {
  ASSERT_TRUE(Open(L"slow"));
  const std::wstring dll = CaseFolder(L"slow") + L"\\DLL\\Lastora.dll";
  const auto start = steady_clock::now();
  EXPECT_EQ(Click(ControlArray::kCommand1, 0), kFailure);
  const auto waited = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start);
  EXPECT_GE(waited.count(), 4900);
  EXPECT_LT(waited.count(), 9000);

  // The window goes on answering while the worker still sleeps in the library...
  EXPECT_NE(GetModuleHandleW(dll.c_str()), nullptr) << "unloaded under a running worker";
  const auto check_start = steady_clock::now();
  EXPECT_EQ(Click(ControlArray::kCmdTest, -1), kNotRegistered);
  EXPECT_LT(steady_clock::now() - check_start, std::chrono::seconds(2));
  EXPECT_TRUE(IsWindow(form_->hwnd()));

  // ...and the library goes once the worker has left it.
  const auto deadline = steady_clock::now() + std::chrono::seconds(15);
  while (GetModuleHandleW(dll.c_str()) != nullptr && steady_clock::now() < deadline) {
    Sleep(200);
  }
  EXPECT_EQ(GetModuleHandleW(dll.c_str()), nullptr);
}

}  // namespace
}  // namespace lastora::toolbox
