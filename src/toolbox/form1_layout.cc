#include "form1_layout.h"

namespace lastora::toolbox {
namespace {

constexpr int kIdsPerArray = 100;
constexpr int kFirstId = 1000;
// Keeps the control outside any array (Index -1) apart from the arrays' members.
constexpr int kIndexOffset = 1;

constexpr std::array<ControlSpec, 7> kControls = {{
    {ControlArray::kLabel1, 0, L"Registrierung mit CreateThread", 240, 120, 3015, 255, 5},
    {ControlArray::kCommand1, 0, L"Lastora.dll anmelden", 120, 480, 3015, 375, 0},
    {ControlArray::kCommand1, 1, L"Lastora.dll abmelden", 120, 960, 3015, 375, 1},
    {ControlArray::kLabel1, 1, L"Registrierung mit regsvr32", 4440, 120, 3015, 255, 6},
    {ControlArray::kCmdRegDLL, 0, L"Lastora.dll anmelden", 4440, 480, 3015, 375, 4},
    {ControlArray::kCmduRegDLL, 1, L"Lastora.dll abmelden", 4440, 960, 3015, 375, 2},
    {ControlArray::kCmdTest, -1, L"\u00dcberpr\u00fcfen des Registrierungs-Vorgangs", 120, 1560,
     7335, 375, 3},
}};

}  // namespace

std::span<const ControlSpec> Form1Controls() { return kControls; }

int ControlId(ControlArray array, int index) {
  return kFirstId + static_cast<int>(array) * kIdsPerArray + index + kIndexOffset;
}

const ControlSpec* FindControl(int id) {
  for (const ControlSpec& control : kControls) {
    if (ControlId(control.array, control.index) == id) return &control;
  }
  return nullptr;
}

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

}  // namespace lastora::toolbox
