// Many settings fields or table cells as one list of texts, so that a test states what it expects
// in one comparison and a failure shows every field at once.
#ifndef LASTORA_TESTS_SUPPORT_FIELD_TEXTS_H_
#define LASTORA_TESTS_SUPPORT_FIELD_TEXTS_H_

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "lastora/settings.h"
#include "lastora/table.h"
#include "lastora/variant.h"

namespace lastora::testing {

using Texts = std::vector<std::string>;
using Field = SEPAVALUES SEPAVARIABLEN::*;

inline Texts Values(const SEPAVARIABLEN& settings, std::initializer_list<Field> fields) {
  Texts values;
  for (const Field field : fields) values.push_back((settings.*field).Value);
  return values;
}

// Empty cells read "".
inline Texts CellTexts(const Table& table, int32_t row, std::initializer_list<int32_t> columns) {
  Texts texts;
  for (const int32_t column : columns) texts.push_back(CStr(table(row, column)));
  return texts;
}

// Every row of one column.
inline Texts ColumnTexts(const Table& table, int32_t column) {
  Texts texts;
  for (int32_t row = table.RowLower(); row <= table.RowUpper(); ++row) {
    texts.push_back(CStr(table(row, column)));
  }
  return texts;
}

// Every cell row by row, kinds included, so a whole table is checked in one comparison.
using Grid = std::vector<std::vector<Variant>>;
inline Grid GridOf(const Table& table) {
  Grid grid;
  for (int32_t row = table.RowLower(); row <= table.RowUpper(); ++row) {
    grid.emplace_back();
    for (int32_t col = table.ColLower(); col <= table.ColUpper(); ++col) {
      grid.back().push_back(table(row, col));
    }
  }
  return grid;
}

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_FIELD_TEXTS_H_
