// A payment cell's text for the moment it is needed: member names, IBANs and remittance lines
// are strings already, and copying each of them once per row cost more than writing the file.
#ifndef LASTORA_GENERATION_CELL_TEXT_H_
#define LASTORA_GENERATION_CELL_TEXT_H_

#include <string>
#include <string_view>

#include "lastora/variant.h"

namespace lastora::generation {

// CStr of the cell; a view of the cell's own string when it holds one. Valid while the cell is.
class CellText {
 public:
  explicit CellText(const Variant& cell) {
    if (cell.IsString()) {
      view_ = cell.AsString();
    } else {
      converted_ = CStr(cell);
      view_ = converted_;
    }
  }
  CellText(const CellText&) = delete;
  CellText& operator=(const CellText&) = delete;

  std::string_view view() const { return view_; }

 private:
  std::string converted_;
  std::string_view view_;
};

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_CELL_TEXT_H_
