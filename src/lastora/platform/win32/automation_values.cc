#include "lastora/automation_values.h"

#include <oleauto.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "lastora/vb_error.h"
#include "platform/win32/utf16_text.h"

namespace lastora::automation {
namespace {

constexpr USHORT kNotReplaceable = FADF_FIXEDSIZE | FADF_STATIC | FADF_AUTO | FADF_EMBEDDED;

// A VARIANT that clears itself, so that a half-built batch of cells never leaks.
struct OwnedVariant {
  VARIANT value;
  OwnedVariant() { VariantInit(&value); }
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;
  ~OwnedVariant() { VariantClear(&value); }
};

// Holds SafeArrayAccessData for the lifetime of the guard.
class ArrayData {
 public:
  explicit ArrayData(SAFEARRAY* array) : array_(array) {
    if (FAILED(SafeArrayAccessData(array_, reinterpret_cast<void**>(&cells_)))) throw VbError(13);
  }
  ArrayData(const ArrayData&) = delete;
  ArrayData& operator=(const ArrayData&) = delete;
  ~ArrayData() { SafeArrayUnaccessData(array_); }
  VARIANT* cells() const { return cells_; }

 private:
  SAFEARRAY* array_;
  VARIANT* cells_ = nullptr;
};

struct Bounds {
  LONG lower = 0;
  LONG count = 0;
};

Bounds DimensionBounds(SAFEARRAY* array, UINT dimension) {
  LONG lower = 0;
  LONG upper = -1;
  if (FAILED(SafeArrayGetLBound(array, dimension, &lower)) ||
      FAILED(SafeArrayGetUBound(array, dimension, &upper))) {
    throw VbError(9);
  }
  return {lower, upper >= lower ? upper - lower + 1 : 0};
}

// Only arrays of Variant cells can carry a worksheet's mixed values.
SAFEARRAY* VariantCellArray(const VARIANT& value, UINT dimensions) {
  SAFEARRAY* array = ArrayOf(value);
  if (array == nullptr) throw VbError(13);
  VARTYPE element = VT_EMPTY;
  if (FAILED(SafeArrayGetVartype(array, &element)) || element != VT_VARIANT) throw VbError(13);
  if (SafeArrayGetDim(array) != dimensions) throw VbError(9);
  return array;
}

const VARIANT& Peeled(const VARIANT& value) {
  const VARIANT* v = &value;
  while (V_VT(v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(v) != nullptr) v = V_VARIANTREF(v);
  return *v;
}

bool IsEmptyArgument(const VARIANT& value) {
  const VARTYPE kind = V_VT(&Peeled(value));
  return kind == VT_EMPTY || (kind == VT_ERROR && V_ERROR(&Peeled(value)) == DISP_E_PARAMNOTFOUND);
}

Variant FromNumber(const VARIANT& value) {
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_R8)))
    throw VbError(13);
  const double number = V_R8(&converted);
  if (number == std::trunc(number) && number >= INT32_MIN && number <= INT32_MAX) {
    return Variant(static_cast<int32_t>(number));
  }
  return Variant(number);
}

Variant CellValue(const VARIANT& value, std::string& utf8) {
  const VARIANT& v = Peeled(value);
  if (V_VT(&v) & VT_BYREF) {
    OwnedVariant copy;
    if (FAILED(VariantCopyInd(&copy.value, const_cast<VARIANT*>(&v)))) throw VbError(13);
    return CellValue(copy.value, utf8);
  }
  switch (V_VT(&v)) {
    case VT_EMPTY:
      return Variant();
    case VT_NULL:
      return Variant::Null();
    case VT_BOOL:
      return Variant(V_BOOL(&v) != VARIANT_FALSE);
    case VT_I2:
      return Variant(static_cast<int16_t>(V_I2(&v)));
    case VT_I4:
      return Variant(static_cast<int32_t>(V_I4(&v)));
    case VT_R8:
      return Variant(V_R8(&v));
    case VT_R4:
      return Variant(static_cast<double>(V_R4(&v)));
    case VT_CY:
      return Variant(static_cast<double>(V_CY(&v).int64) / 10000.0);
    case VT_DATE:
      return Variant::Date(V_DATE(&v));
    case VT_BSTR:
      return Variant(Utf8Into(V_BSTR(&v), utf8));
    case VT_ERROR:
      if (V_ERROR(&v) == DISP_E_PARAMNOTFOUND) return Variant::Missing();
      return Variant("Fehler " + std::to_string(V_ERROR(&v) & 0xFFFF));
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_DECIMAL:
      return FromNumber(v);
    default:
      throw VbError(13);
  }
}

void PutCell(const Variant& value, VARIANT* out, std::wstring& wide) {
  VariantClear(out);
  switch (value.type()) {
    case VarType::kEmpty:
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
      V_BOOL(out) = value.AsBool() ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VarType::kInteger:
      V_VT(out) = VT_I2;
      V_I2(out) = value.AsInteger();
      break;
    case VarType::kLong:
      V_VT(out) = VT_I4;
      V_I4(out) = value.AsLong();
      break;
    case VarType::kDouble:
      V_VT(out) = VT_R8;
      V_R8(out) = value.AsDouble();
      break;
    case VarType::kDate:
      V_VT(out) = VT_DATE;
      V_DATE(out) = value.AsDate();
      break;
    case VarType::kString:
      V_BSTR(out) = NewBstr(value.AsString(), wide);
      V_VT(out) = VT_BSTR;
      break;
  }
}

// Whether the caller's cell already holds `value`, as the run would have read it. The text of a
// BSTR is compared as UTF-8, so that an unchanged cell costs no allocation.
bool HoldsValue(const VARIANT& cell, const Variant& value, std::string& utf8) {
  switch (V_VT(&cell)) {
    case VT_EMPTY:  // most cells of a sheet: answered without building a value for them
      return value.IsEmpty();
    case VT_BSTR:
      return value.IsString() && Utf8Into(V_BSTR(&cell), utf8) == value.AsString();
    default:
      return SameKindAndValue(CellValue(cell, utf8), value);
  }
}

// Whether `array` is a range of exactly the table's rows and columns.
bool SameShape(SAFEARRAY* array, const Table& table) {
  VARTYPE element = VT_EMPTY;
  if (FAILED(SafeArrayGetVartype(array, &element)) || element != VT_VARIANT ||
      SafeArrayGetDim(array) != 2) {
    return false;
  }
  const Bounds rows = DimensionBounds(array, 1);
  const Bounds cols = DimensionBounds(array, 2);
  return rows.lower == table.RowLower() && rows.count == table.RowCount() &&
         cols.lower == table.ColLower() && cols.count == table.ColCount();
}

// The array runs down the columns, the table along the rows, so one of the two is always walked
// across. Taking a band of rows at a time keeps the band's part of the table in the cache while
// each of its columns is visited, instead of fetching a table row from memory for every cell.
// `visit(index, r, c)` gets the cell's place in the array and its table row and column, all
// counted from 0.
template <typename Visit>
void VisitInBands(int32_t rows, int32_t cols, Visit&& visit) {
  constexpr int32_t kBand = 64;
  for (int32_t first = 0; first < rows; first += kBand) {
    const int32_t last = std::min(rows, first + kBand);
    for (int32_t c = 0; c < cols; ++c) {
      size_t index = static_cast<size_t>(c) * static_cast<size_t>(rows) + first;
      for (int32_t r = first; r < last; ++r) visit(index++, r, c);
    }
  }
}

// A text the slot already holds is kept: a sheet converted into the same table call after call
// then allocates nothing for the texts that did not change. An empty cell into a slot that is
// empty already (every slot of a new table) is left alone too: most cells of a sheet are empty.
void Store(const VARIANT& cell, Variant& slot, std::string& utf8) {
  const VARTYPE kind = V_VT(&cell);
  if ((kind == VT_EMPTY || kind == VT_BSTR) && HoldsValue(cell, slot, utf8)) return;
  slot = CellValue(cell, utf8);
}

// Swaps prepared cells into their places; nothing can fail any more at this point.
void Commit(std::vector<OwnedVariant>& prepared, const std::vector<VARIANT*>& targets) {
  for (size_t i = 0; i < targets.size(); ++i) {
    VARIANT old = *targets[i];
    *targets[i] = prepared[i].value;
    prepared[i].value = old;  // cleared by the guard
  }
}

// The caller's slot that a new array goes into, found through any by-reference Variants. The
// argument itself is the caller's variable (or the dispatcher's copy of it, handed back when the
// call returns), so it may always receive a new value.
struct ArraySlot {
  SAFEARRAY** array = nullptr;  // set when the slot holds an array
  VARIANT* holder = nullptr;    // set when the Variant itself may be given a new array
};

ArraySlot FindSlot(VARIANT* argument) {
  VARIANT* v = argument;
  while (V_VT(v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(v) != nullptr) v = V_VARIANTREF(v);
  ArraySlot slot;
  if ((V_VT(v) & VT_ARRAY) && (V_VT(v) & VT_BYREF)) {
    if ((V_VT(v) & VT_TYPEMASK) != VT_VARIANT) throw VbError(13);
    slot.array = V_ARRAYREF(v);
    return slot;
  }
  if (V_VT(v) & VT_ARRAY) slot.array = &V_ARRAY(v);
  slot.holder = v;
  return slot;
}

bool Replaceable(SAFEARRAY* array) {
  return array == nullptr || ((array->fFeatures & kNotReplaceable) == 0 && array->cLocks == 0);
}

void PutCellsInPlace(const VariantArray& result, SAFEARRAY* array) {
  SAFEARRAY* checked = array;
  VARTYPE element = VT_EMPTY;
  if (FAILED(SafeArrayGetVartype(checked, &element)) || element != VT_VARIANT) throw VbError(13);
  if (SafeArrayGetDim(checked) != 1) throw VbError(9);
  const Bounds bounds = DimensionBounds(checked, 1);
  if (result.Count() > 0 &&
      (result.Lower() < bounds.lower || result.Upper() > bounds.lower + bounds.count - 1)) {
    throw VbError(9);
  }
  std::vector<OwnedVariant> prepared(static_cast<size_t>(result.Count()));
  std::wstring wide;
  for (int32_t i = 0; i < result.Count(); ++i)
    PutCell(result.At(result.Lower() + i), &prepared[i].value, wide);
  ArrayData data(checked);
  std::vector<VARIANT*> targets;
  for (int32_t i = 0; i < result.Count(); ++i) {
    targets.push_back(data.cells() + (result.Lower() + i - bounds.lower));
  }
  Commit(prepared, targets);
}

void PutCellsInPlace(const Table& result, SAFEARRAY* array) {
  VARIANT holder;
  V_VT(&holder) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&holder) = array;
  Table merged = TableFromVariant(holder);
  if (merged.RowLower() > result.RowLower() || merged.RowUpper() < result.RowUpper() ||
      merged.ColLower() > result.ColLower() || merged.ColUpper() < result.ColUpper()) {
    throw VbError(9);
  }
  for (int32_t r = result.RowLower(); r <= result.RowUpper(); ++r) {
    for (int32_t c = result.ColLower(); c <= result.ColUpper(); ++c)
      merged.At(r, c) = result.At(r, c);
  }
  WriteBackTable(merged, &holder);
}

template <typename Result>
void Replace(const Result& result, VARIANT* argument) {
  ArraySlot slot = FindSlot(argument);
  SAFEARRAY* existing = slot.array != nullptr ? *slot.array : nullptr;
  if (!Replaceable(existing)) {
    PutCellsInPlace(result, existing);
    return;
  }
  SAFEARRAY* fresh = NewSafeArray(result);
  if (slot.holder == nullptr) {
    SafeArrayDestroy(existing);
    *slot.array = fresh;
    return;
  }
  VariantClear(slot.holder);
  V_VT(slot.holder) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(slot.holder) = fresh;
}

}  // namespace

Variant FromVariant(const VARIANT& value) {
  std::string utf8;
  return CellValue(value, utf8);
}

void ToVariant(const Variant& value, VARIANT* out) {
  std::wstring wide;
  PutCell(value, out, wide);
}

SAFEARRAY* ArrayOf(const VARIANT& value) {
  const VARIANT& v = Peeled(value);
  if ((V_VT(&v) & VT_ARRAY) == 0) return nullptr;
  return (V_VT(&v) & VT_BYREF) ? *V_ARRAYREF(&v) : V_ARRAY(&v);
}

void ReadTable(const VARIANT& value, Table& table) {
  if (IsEmptyArgument(value)) {
    table = Table();
    return;
  }
  SAFEARRAY* array = VariantCellArray(value, 2);
  const Bounds rows = DimensionBounds(array, 1);
  const Bounds cols = DimensionBounds(array, 2);
  if (table.RowLower() == rows.lower && table.ColLower() == cols.lower &&
      table.ColCount() == cols.count) {
    table.ResizeRows(rows.count);
  } else {
    table = Table(rows.count, cols.count, rows.lower, cols.lower);
  }
  ArrayData data(array);
  const VARIANT* cells = data.cells();
  std::string utf8;
  VisitInBands(rows.count, cols.count, [&](size_t index, int32_t r, int32_t c) {
    Store(cells[index], table.At(rows.lower + r, cols.lower + c), utf8);
  });
}

Table TableFromVariant(const VARIANT& value) {
  Table table;
  ReadTable(value, table);
  return table;
}

VariantArray ArrayFromVariant(const VARIANT& value) {
  SAFEARRAY* array = VariantCellArray(value, 1);
  const Bounds bounds = DimensionBounds(array, 1);
  VariantArray result(bounds.count, bounds.lower);
  ArrayData data(array);
  std::string utf8;
  for (LONG i = 0; i < bounds.count; ++i)
    result.At(bounds.lower + i) = CellValue(data.cells()[i], utf8);
  return result;
}

SAFEARRAY* NewSafeArray(const Table& table) {
  SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(table.RowCount()), table.RowLower()},
                              {static_cast<ULONG>(table.ColCount()), table.ColLower()}};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  if (array == nullptr) throw VbError(7);
  try {
    ArrayData data(array);
    VARIANT* cells = data.cells();
    std::wstring wide;
    VisitInBands(table.RowCount(), table.ColCount(), [&](size_t index, int32_t r, int32_t c) {
      PutCell(table.At(table.RowLower() + r, table.ColLower() + c), cells + index, wide);
    });
  } catch (...) {
    SafeArrayDestroy(array);
    throw;
  }
  return array;
}

SAFEARRAY* NewSafeArray(const VariantArray& values) {
  SAFEARRAY* array =
      SafeArrayCreateVector(VT_VARIANT, values.Lower(), static_cast<ULONG>(values.Count()));
  if (array == nullptr) throw VbError(7);
  try {
    ArrayData data(array);
    std::wstring wide;
    for (int32_t i = 0; i < values.Count(); ++i)
      PutCell(values.At(values.Lower() + i), data.cells() + i, wide);
  } catch (...) {
    SafeArrayDestroy(array);
    throw;
  }
  return array;
}

void WriteBackTable(const Table& result, VARIANT* argument) {
  SAFEARRAY* array = ArrayOf(*argument);
  if (array == nullptr || !SameShape(array, result)) {
    ReplaceTable(result, argument);
    return;
  }
  std::vector<VARIANT*> targets;
  std::vector<const Variant*> sources;
  std::string utf8;
  ArrayData data(array);
  VARIANT* cells = data.cells();
  VisitInBands(result.RowCount(), result.ColCount(), [&](size_t index, int32_t r, int32_t c) {
    const Variant& value = result.At(result.RowLower() + r, result.ColLower() + c);
    if (HoldsValue(cells[index], value, utf8)) return;
    targets.push_back(cells + index);
    sources.push_back(&value);
  });
  std::vector<OwnedVariant> prepared(targets.size());
  std::wstring wide;
  for (size_t i = 0; i < sources.size(); ++i) PutCell(*sources[i], &prepared[i].value, wide);
  Commit(prepared, targets);
}

void ReplaceArray(const VariantArray& result, VARIANT* argument) { Replace(result, argument); }

void WriteBackArray(const VariantArray& received, const VariantArray& result, VARIANT* argument) {
  bool unchanged = received.Lower() == result.Lower() && received.Count() == result.Count();
  for (int32_t i = result.Lower(); unchanged && i <= result.Upper(); ++i) {
    unchanged = SameKindAndValue(received.At(i), result.At(i));
  }
  if (!unchanged) Replace(result, argument);
}

void ReplaceTable(const Table& result, VARIANT* argument) { Replace(result, argument); }

}  // namespace lastora::automation
