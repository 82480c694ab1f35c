#include "com/sheet_arrays.h"

#include <gtest/gtest.h>

#include <string>

#include "lastora/automation_values.h"

namespace lastora::testing {
namespace {

// The array a caller's variable holds, following one reference.
SAFEARRAY* Held(const VARIANT& holder) {
  const VARIANT* value = &holder;
  if (V_VT(value) == (VT_BYREF | VT_VARIANT)) value = V_VARIANTREF(value);
  if ((V_VT(value) & ~VT_BYREF) != (VT_ARRAY | VT_VARIANT)) return nullptr;
  return (V_VT(value) & VT_BYREF) ? *V_ARRAYREF(value) : V_ARRAY(value);
}

}  // namespace

Table Rows(std::initializer_list<std::vector<std::string>> rows) {
  Table table(static_cast<int32_t>(rows.size()), static_cast<int32_t>(rows.begin()->size()));
  int32_t row = 0;
  for (const std::vector<std::string>& texts : rows) {
    ++row;
    for (size_t column = 0; column < texts.size(); ++column) {
      if (!texts[column].empty()) table(row, static_cast<int32_t>(column) + 1) = texts[column];
    }
  }
  return table;
}

void PutRange(const Table& table, VARIANT* out) {
  SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(table.RowCount()), table.RowLower()},
                              {static_cast<ULONG>(table.ColCount()), table.ColLower()}};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  VARIANT* cells = nullptr;
  SafeArrayAccessData(array, reinterpret_cast<void**>(&cells));
  // Column-major: the row index runs fastest.
  for (int32_t c = 0; c < table.ColCount(); ++c) {
    for (int32_t r = 0; r < table.RowCount(); ++r) {
      automation::ToVariant(table(table.RowLower() + r, table.ColLower() + c),
                            &cells[static_cast<size_t>(c) * table.RowCount() + r]);
    }
  }
  SafeArrayUnaccessData(array);
  V_VT(out) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(out) = array;
}

void PutArray(const VariantArray& array, VARIANT* out) {
  SAFEARRAY* cells_array = SafeArrayCreateVector(VT_VARIANT, array.Lower(), array.Count());
  VARIANT* cells = nullptr;
  SafeArrayAccessData(cells_array, reinterpret_cast<void**>(&cells));
  for (int32_t i = 0; i < array.Count(); ++i)
    automation::ToVariant(array[array.Lower() + i], &cells[i]);
  SafeArrayUnaccessData(cells_array);
  V_VT(out) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(out) = cells_array;
}

Table RangeOf(const VARIANT& holder) {
  SAFEARRAY* array = Held(holder);
  if (array == nullptr) return Table();
  EXPECT_EQ(SafeArrayGetDim(array), 2u);
  LONG row_lower = 0, row_upper = -1, col_lower = 0, col_upper = -1;
  SafeArrayGetLBound(array, 1, &row_lower);
  SafeArrayGetUBound(array, 1, &row_upper);
  SafeArrayGetLBound(array, 2, &col_lower);
  SafeArrayGetUBound(array, 2, &col_upper);
  const int32_t rows = row_upper - row_lower + 1, cols = col_upper - col_lower + 1;
  Table table(rows, cols, row_lower, col_lower);
  VARIANT* cells = nullptr;
  SafeArrayAccessData(array, reinterpret_cast<void**>(&cells));
  for (int32_t c = 0; c < cols; ++c) {
    for (int32_t r = 0; r < rows; ++r) {
      table(row_lower + r, col_lower + c) =
          automation::FromVariant(cells[static_cast<size_t>(c) * rows + r]);
    }
  }
  SafeArrayUnaccessData(array);
  return table;
}

VariantArray ArrayOf(const VARIANT& holder) {
  SAFEARRAY* array = Held(holder);
  if (array == nullptr) return VariantArray();
  EXPECT_EQ(SafeArrayGetDim(array), 1u);
  LONG lower = 0, upper = -1;
  SafeArrayGetLBound(array, 1, &lower);
  SafeArrayGetUBound(array, 1, &upper);
  VariantArray result(upper - lower + 1, lower);
  VARIANT* cells = nullptr;
  SafeArrayAccessData(array, reinterpret_cast<void**>(&cells));
  for (LONG i = lower; i <= upper; ++i) result[i] = automation::FromVariant(cells[i - lower]);
  SafeArrayUnaccessData(array);
  return result;
}

}  // namespace lastora::testing
