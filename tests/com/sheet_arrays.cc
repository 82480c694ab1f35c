#include "com/sheet_arrays.h"

#include <gtest/gtest.h>

#include <string>

#include "lastora/automation_values.h"

namespace lastora::testing {
namespace {

void PutCell(const Variant& cell, VARIANT* out) {
  switch (cell.type()) {
    case VarType::kEmpty:
      V_VT(out) = VT_EMPTY;
      break;
    case VarType::kNull:
      V_VT(out) = VT_NULL;
      break;
    case VarType::kMissing:
      V_VT(out) = VT_ERROR;
      V_ERROR(out) = DISP_E_PARAMNOTFOUND;
      break;
    case VarType::kBoolean:
      V_VT(out) = VT_BOOL;
      V_BOOL(out) = cell.AsBool() ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VarType::kInteger:
      V_VT(out) = VT_I2;
      V_I2(out) = cell.AsInteger();
      break;
    case VarType::kLong:
      V_VT(out) = VT_I4;
      V_I4(out) = cell.AsLong();
      break;
    case VarType::kDouble:
      V_VT(out) = VT_R8;
      V_R8(out) = cell.AsDouble();
      break;
    case VarType::kDate:
      V_VT(out) = VT_DATE;
      V_DATE(out) = cell.AsDate();
      break;
    case VarType::kString:
      V_VT(out) = VT_BSTR;
      V_BSTR(out) = automation::ToBstr(cell.AsString());
      break;
  }
}

Variant CellOf(const VARIANT& cell) {
  switch (V_VT(&cell)) {
    case VT_EMPTY:
      return Variant();
    case VT_NULL:
      return Variant::Null();
    case VT_BOOL:
      return Variant(V_BOOL(&cell) != VARIANT_FALSE);
    case VT_I2:
      return Variant(static_cast<int16_t>(V_I2(&cell)));
    case VT_I4:
      return Variant(static_cast<int32_t>(V_I4(&cell)));
    case VT_R8:
      return Variant(V_R8(&cell));
    case VT_DATE:
      return Variant::Date(V_DATE(&cell));
    case VT_BSTR:
      return Variant(automation::FromBstr(V_BSTR(&cell)));
    default:
      ADD_FAILURE() << "a cell of kind " << V_VT(&cell);
      return Variant::Null();
  }
}

// The array a caller's variable holds, following one reference.
SAFEARRAY* Held(const VARIANT& holder) {
  const VARIANT* value = &holder;
  if (V_VT(value) == (VT_BYREF | VT_VARIANT)) value = V_VARIANTREF(value);
  if ((V_VT(value) & ~VT_BYREF) != (VT_ARRAY | VT_VARIANT)) return nullptr;
  return (V_VT(value) & VT_BYREF) ? *V_ARRAYREF(value) : V_ARRAY(value);
}

}  // namespace

void PutRange(const Table& table, VARIANT* out) {
  SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(table.RowCount()), table.RowLower()},
                              {static_cast<ULONG>(table.ColCount()), table.ColLower()}};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  VARIANT* cells = nullptr;
  SafeArrayAccessData(array, reinterpret_cast<void**>(&cells));
  // Column-major: the row index runs fastest.
  for (int32_t c = 0; c < table.ColCount(); ++c) {
    for (int32_t r = 0; r < table.RowCount(); ++r) {
      PutCell(table(table.RowLower() + r, table.ColLower() + c),
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
  for (int32_t i = 0; i < array.Count(); ++i) PutCell(array[array.Lower() + i], &cells[i]);
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
      table(row_lower + r, col_lower + c) = CellOf(cells[static_cast<size_t>(c) * rows + r]);
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
  for (LONG i = lower; i <= upper; ++i) result[i] = CellOf(cells[i - lower]);
  SafeArrayUnaccessData(array);
  return result;
}

}  // namespace lastora::testing
