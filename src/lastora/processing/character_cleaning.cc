#include "processing/character_cleaning.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "component/helpers.h"
#include "lastora/payment_table.h"
#include "processing/cells.h"

namespace lastora::processing {
namespace {

// Longer texts make the character replacement fail as it always has; only shorter ones may take
// the shortcut below.
constexpr size_t kLongestReplaceableText = 32767;

bool IsCleanedColumn(int32_t column) { return column != 6 && (column < 12 || column > 20); }

// Both replacements touch only characters outside 7-bit ASCII, and most member data has none.
bool NothingToReplace(std::string_view text) {
  return text.size() <= kLongestReplaceableText &&
         std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Cells that may hold a character to replace. Numbers and dates print as ASCII: only texts, and
// truth values in their regional words, can.
bool MayNeedCleaning(const Variant& cell) {
  if (cell.IsString()) return !NothingToReplace(cell.AsString());
  return cell.IsBoolean() && !NothingToReplace(CStr(cell));
}

void CleanCell(ProcessingRun& run, int32_t row, int32_t column) {
  Variant& cell = run.values(row, column);
  const std::string original = CellText(cell);
  const std::string without_umlauts = ReplaceUmlauts(original);
  if (without_umlauts != original) {
    run.findings.Colour(row, column, payment_table::kUmlautsReplacedColour);
    cell = Variant(without_umlauts);
    run.values(row, payment_table::kUmlautsMark) = Variant("X");
    run.figures.umlauts.Add(1);
  }
  const std::string plain = ReplaceNonAscii(without_umlauts);
  if (plain != without_umlauts) {
    run.findings.Colour(row, column, payment_table::kCharactersReplacedColour);
    cell = Variant(plain);
    run.values(row, payment_table::kCharactersMark) = Variant("X");
    run.figures.characters.Add(1);
  }
}

}  // namespace

void CleanCharacters(ProcessingRun& run) {
  const int32_t last_column = std::min(payment_table::kLastCleanedColumn, run.values.ColUpper());
  // The cleaning goes column by column, which on a large table means a cache miss per cell. One
  // read-only pass row by row finds the few cells that need it; cleaning those in column order
  // changes the table exactly as visiting every cell would.
  std::array<std::vector<int32_t>, payment_table::kLastCleanedColumn + 1> rows_to_clean;
  for (int32_t row = 1; row <= run.last_row; ++row) {
    for (int32_t column = 1; column <= last_column; ++column) {
      if (IsCleanedColumn(column) && MayNeedCleaning(run.values(row, column))) {
        rows_to_clean[column].push_back(row);
      }
    }
  }
  for (int32_t column = 1; column <= last_column; ++column) {
    for (int32_t row : rows_to_clean[column]) CleanCell(run, row, column);
  }
}

}  // namespace lastora::processing
