#ifndef LASTORA_TOOLBOX_FORM1_LAYOUT_H_
#define LASTORA_TOOLBOX_FORM1_LAYOUT_H_

#include <windows.h>

#include <array>
#include <span>

namespace lastora::toolbox {

// The window's controls, grouped as control arrays whose members differ by their Index.
enum class ControlArray { kLabel1, kCommand1, kCmdRegDLL, kCmduRegDLL, kCmdTest };

struct ControlSpec {
  ControlArray array;
  int index;  // -1 for a control that is not part of an array
  const wchar_t* caption;
  int left, top, width, height;  // twips
  int tab_order;
};

inline constexpr int kClientWidthTwips = 7710;
inline constexpr int kClientHeightTwips = 2145;

// The controls in the order of the table they were designed from.
std::span<const ControlSpec> Form1Controls();

// The child window identifier of a control, made from its array and its Index.
int ControlId(ControlArray array, int index);

// The control with that child window identifier, or nullptr.
const ControlSpec* FindControl(int id);

// Twips to pixels at the given dots per inch (1440 twips to the inch).
int TwipsToPixels(int twips, int dpi);

}  // namespace lastora::toolbox

#endif  // LASTORA_TOOLBOX_FORM1_LAYOUT_H_
