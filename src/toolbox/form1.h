#ifndef LASTORA_TOOLBOX_FORM1_H_
#define LASTORA_TOOLBOX_FORM1_H_

#include <windows.h>

#include <memory>
#include <string>

namespace lastora::toolbox {

// The toolbox's one window. Keeps no state between presses beyond the folder the component
// is looked for in.
class Form1 {
 public:
  // `program_folder` is the folder the component's DLL folder lies in (GetAppPath when the
  // toolbox runs for real). Returns nullptr when the window cannot be made.
  static std::unique_ptr<Form1> Create(HINSTANCE instance, std::wstring program_folder,
                                       int show_command);
  ~Form1();
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  HWND hwnd() const { return hwnd_; }

  // The window's keyboard for the message loop: Tab and Shift+Tab walk the tab order, Enter
  // presses the focused button, Escape closes. True when the message was used up.
  bool PreTranslateMessage(MSG& message);

 private:
  explicit Form1(std::wstring program_folder);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);
  void CreateControls(HINSTANCE instance, int dpi);
  void OnClick(int control_id);

  std::wstring program_folder_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  HWND focused_ = nullptr;
};

// Runs the message loop until the window is closed; returns the exit code.
int RunForm1(Form1& form);

}  // namespace lastora::toolbox

#endif  // LASTORA_TOOLBOX_FORM1_H_
