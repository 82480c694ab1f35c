#include "processing/cells.h"

namespace lastora::processing {

bool IsBlankCell(const Variant& cell) {
  switch (cell.type()) {
    case VarType::kEmpty:
    case VarType::kNull:
      return true;
    case VarType::kString:
      return cell.AsString().empty();
    default:
      return false;
  }
}

std::string CellText(const Variant& cell) {
  if (cell.IsString()) return std::string(cell.AsString());
  if (IsBlankCell(cell)) return std::string();
  return CStr(cell);
}

std::string_view CellTextView(const Variant& cell, std::string& storage) {
  if (cell.IsString()) return cell.AsString();
  storage = CellText(cell);
  return storage;
}

double CellNumber(const Variant& cell) { return IsBlankCell(cell) ? 0.0 : CDbl(cell); }

void AppendRowMessage(Variant& cell, const std::string& message) {
  if (IsBlankCell(cell)) {
    cell = Variant(message);
  } else {
    cell = Variant(CellText(cell) + ", " + message);
  }
}

}  // namespace lastora::processing
