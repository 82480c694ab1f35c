#include "form1.h"

#include <algorithm>
#include <vector>

#include "dll_location.h"
#include "form1_layout.h"
#include "in_process_registration.h"
#include "message_box.h"
#include "register_component.h"
#include "registration_check.h"

namespace lastora::toolbox {
namespace {

constexpr wchar_t kWindowClass[] = L"LastoraToolboxForm1";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

HFONT CreateMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return nullptr;
  }
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

bool EnsureWindowClass(HINSTANCE instance, WNDPROC window_proc) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  if (GetClassInfoExW(instance, kWindowClass, &window_class)) return true;
  window_class.lpfnWndProc = window_proc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  return RegisterClassExW(&window_class) != 0;
}

}  // namespace

Form1::Form1(std::wstring program_folder) : program_folder_(std::move(program_folder)) {}

Form1::~Form1() {
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  if (font_ != nullptr) DeleteObject(font_);
}

std::unique_ptr<Form1> Form1::Create(HINSTANCE instance, std::wstring program_folder,
                                     int show_command) {
  if (!EnsureWindowClass(instance, &Form1::WindowProc)) return nullptr;
  std::unique_ptr<Form1> form(new Form1(std::move(program_folder)));
  const int dpi = ScreenDpi();
  RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi)};
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
  form->hwnd_ = CreateWindowExW(0, kWindowClass, L"Lastora Toolbox", kWindowStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, nullptr, instance, form.get());
  if (form->hwnd_ == nullptr) return nullptr;
  form->font_ = CreateMessageFont();
  form->CreateControls(instance, dpi);
  ShowWindow(form->hwnd_, show_command);
  return form;
}

void Form1::CreateControls(HINSTANCE instance, int dpi) {
  // Children are made in tab order: the dialog manager walks them in creation order.
  std::vector<const ControlSpec*> by_tab_order;
  for (const ControlSpec& control : Form1Controls()) by_tab_order.push_back(&control);
  std::sort(by_tab_order.begin(), by_tab_order.end(),
            [](const ControlSpec* a, const ControlSpec* b) { return a->tab_order < b->tab_order; });
  for (const ControlSpec* control : by_tab_order) {
    const bool is_label = control->array == ControlArray::kLabel1;
    const DWORD style =
        WS_CHILD | WS_VISIBLE | (is_label ? SS_LEFT : (WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE));
    HWND child = CreateWindowExW(
        0, is_label ? L"STATIC" : L"BUTTON", control->caption, style,
        TwipsToPixels(control->left, dpi), TwipsToPixels(control->top, dpi),
        TwipsToPixels(control->width, dpi), TwipsToPixels(control->height, dpi), hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(control->array, control->index))),
        instance, nullptr);
    if (font_ != nullptr) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  focused_ = GetDlgItem(hwnd_, ControlId(by_tab_order.front()->array, by_tab_order.front()->index));
  SetFocus(focused_);
}

bool Form1::PreTranslateMessage(MSG& message) {
  if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)) return false;
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    return true;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
    HWND focus = GetFocus();
    const ControlSpec* control = IsChild(hwnd_, focus) ? FindControl(GetDlgCtrlID(focus)) : nullptr;
    if (control != nullptr && control->array != ControlArray::kLabel1) {
      SendMessageW(focus, BM_CLICK, 0, 0);
      return true;
    }
  }
  return IsDialogMessageW(hwnd_, &message) != FALSE;
}

LRESULT CALLBACK Form1::WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return form != nullptr ? form->HandleMessage(message, w, l) : DefWindowProcW(hwnd, message, w, l);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(w) == BN_CLICKED && l != 0) OnClick(LOWORD(w));
      return 0;
    // The focus leaves with the window and comes back to the control that had it.
    case WM_ACTIVATE:
      if (LOWORD(w) == WA_INACTIVE && IsChild(hwnd_, GetFocus())) focused_ = GetFocus();
      return DefWindowProcW(hwnd_, message, w, l);
    case WM_SETFOCUS:
      if (IsWindow(focused_)) SetFocus(focused_);
      return 0;
    case WM_DESTROY:
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, w, l);
  }
}

void Form1::OnClick(int control_id) {
  const ControlSpec* control = FindControl(control_id);
  if (control == nullptr) return;
  const std::wstring dll = DllPath(program_folder_);
  switch (control->array) {
    case ControlArray::kCmdRegDLL:
      RegisterComponent(hwnd_, dll, false, false, false);
      break;
    case ControlArray::kCmduRegDLL:
      RegisterComponent(hwnd_, dll, true, false, false);
      break;
    case ControlArray::kCommand1:
      // Index 0 registers; every other member of the array unregisters.
      ShowMessage(hwnd_, InProcessOutcomeText(RegisterComponentInProcess(dll, control->index == 0)),
                  MB_OK);
      break;
    case ControlArray::kCmdTest:
      ShowMessage(hwnd_, RegistrationCheckText(CanCreateClass(kClass1Clsid)), MB_OK);
      break;
    case ControlArray::kLabel1:
      break;
  }
}

int RunForm1(Form1& form) {
  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    if (!form.PreTranslateMessage(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

}  // namespace lastora::toolbox
