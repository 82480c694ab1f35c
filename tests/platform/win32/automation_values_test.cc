#include "lastora/automation_values.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include <functional>
#include <string>
#include <vector>

#include "lastora/vb_error.h"

namespace lastora::automation {
namespace {

// A VARIANT that clears itself at the end of a test.
struct Var {
  VARIANT v;
  Var() { VariantInit(&v); }
  ~Var() { VariantClear(&v); }
};

int ErrorNumber(const std::function<void()>& work) {
  try {
    work();
  } catch (const VbError& error) {
    return error.number();
  }
  return 0;
}

// A rows x cols range as a worksheet hands it over: 2-D, Variant cells, the given lower bounds;
// cell (r, c) holds the Long r * 100 + c.
SAFEARRAY* Range(LONG rows, LONG cols, LONG lower = 1) {
  SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(rows), lower}, {static_cast<ULONG>(cols), lower}};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  for (LONG r = lower; r < lower + rows; ++r) {
    for (LONG c = lower; c < lower + cols; ++c) {
      LONG index[2] = {r, c};
      VARIANT cell;
      V_VT(&cell) = VT_I4;
      V_I4(&cell) = r * 100 + c;
      SafeArrayPutElement(array, index, &cell);
    }
  }
  return array;
}

VARIANT Element(SAFEARRAY* array, LONG r, LONG c) {
  LONG index[2] = {r, c};
  VARIANT cell;
  VariantInit(&cell);
  SafeArrayGetElement(array, index, &cell);
  return cell;
}

TEST(AutomationCells, CellsThatNeedConvertingAreReadAsTheRunExpects) {
  Var cell;
  // A date is a double underneath; it must not arrive as a plain number.
  V_VT(&cell.v) = VT_DATE;
  V_DATE(&cell.v) = 46082.75;
  EXPECT_TRUE(FromVariant(cell.v).IsDate());
  EXPECT_EQ(FromVariant(cell.v).AsDate(), 46082.75);
  V_VT(&cell.v) = VT_CY;
  V_CY(&cell.v).int64 = 123456;  // 12.3456
  EXPECT_DOUBLE_EQ(FromVariant(cell.v).AsDouble(), 12.3456);
  V_VT(&cell.v) = VT_ERROR;
  V_ERROR(&cell.v) = static_cast<SCODE>(0x800A07FA);  // #N/A
  EXPECT_EQ(FromVariant(cell.v).AsString(), "Fehler 2042");
  V_ERROR(&cell.v) = DISP_E_PARAMNOTFOUND;
  EXPECT_TRUE(FromVariant(cell.v).IsMissing());

  IDispatch* object = nullptr;
  VARIANT dispatch;
  V_VT(&dispatch) = VT_DISPATCH;
  V_DISPATCH(&dispatch) = object;
  EXPECT_EQ(ErrorNumber([&] { FromVariant(dispatch); }), 13);
}

TEST(AutomationCells, TextsSurviveTheRoundTripWhole) {
  const std::vector<std::string> texts = {"", "Müller & Söhne €", "日本語 \xF0\x9F\x98\x80",
                                          std::string("vor\0nach", 8)};
  for (const std::string& text : texts) {
    Var cell;
    ToVariant(Variant(text), &cell.v);
    ASSERT_EQ(V_VT(&cell.v), VT_BSTR);
    EXPECT_EQ(FromVariant(cell.v).AsString(), text);
  }
}

TEST(AutomationTables, ColumnMajorRangesBecomeRowMajorTablesWithTheirBounds) {
  for (LONG lower : {1L, 0L}) {
    Var range;
    V_VT(&range.v) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&range.v) = Range(3, 2, lower);
    const Table table = TableFromVariant(range.v);
    EXPECT_EQ(table.RowLower(), lower);
    EXPECT_EQ(table.ColLower(), lower);
    EXPECT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.ColCount(), 2);
    EXPECT_EQ(table.At(lower + 2, lower).AsLong(), (lower + 2) * 100 + lower);
    EXPECT_EQ(table.At(lower, lower + 1).AsLong(), lower * 100 + lower + 1);

    // And back: the new array has the same cells in the same places.
    Var copy;
    V_VT(&copy.v) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&copy.v) = NewSafeArray(table);
    VARIANT corner = Element(V_ARRAY(&copy.v), lower + 2, lower + 1);
    EXPECT_EQ(V_I4(&corner), (lower + 2) * 100 + lower + 1);
  }
}

TEST(AutomationTables, ArgumentsOfTheWrongShapeGiveTheRunsOwnErrors) {
  Var row;
  V_VT(&row.v) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&row.v) = SafeArrayCreateVector(VT_VARIANT, 1, 5);
  EXPECT_EQ(ErrorNumber([&] { TableFromVariant(row.v); }), 9);
  EXPECT_EQ(ArrayFromVariant(row.v).Count(), 5);

  Var strings;
  V_VT(&strings.v) = VT_ARRAY | VT_BSTR;
  V_ARRAY(&strings.v) = SafeArrayCreateVector(VT_BSTR, 1, 5);
  EXPECT_EQ(ErrorNumber([&] { ArrayFromVariant(strings.v); }), 13);

  Var empty;
  EXPECT_FALSE(TableFromVariant(empty.v).IsAllocated());
}

TEST(AutomationWriteBack, OnlyChangedCellsAreWrittenSoUntouchedCellsKeepTheirKind) {
  Var range;
  V_VT(&range.v) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&range.v) = Range(2, 2);
  LONG currency_index[2] = {1, 1};
  VARIANT currency;
  V_VT(&currency) = VT_CY;
  V_CY(&currency).int64 = 15000;
  SafeArrayPutElement(V_ARRAY(&range.v), currency_index, &currency);
  VARIANT by_ref;
  V_VT(&by_ref) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&by_ref) = &range.v;

  const Table received = TableFromVariant(by_ref);
  Table result = received;
  result.At(2, 2) = Variant("geändert");
  SAFEARRAY* before = V_ARRAY(&range.v);
  WriteBackTable(result, &by_ref);

  EXPECT_EQ(V_ARRAY(&range.v), before);  // same array, changed in place
  VARIANT kept = Element(before, 1, 1);
  EXPECT_EQ(V_VT(&kept), VT_CY);
  Var changed;
  changed.v = Element(before, 2, 2);
  EXPECT_EQ(FromVariant(changed.v).AsString(), "geändert");

  // A table of another shape replaces the caller's array.
  Table grown(3, 2);
  grown.At(3, 2) = Variant(int32_t{7});
  WriteBackTable(grown, &by_ref);
  EXPECT_EQ(TableFromVariant(range.v).RowCount(), 3);
}

TEST(AutomationWriteBack, SettingsArraysAreReplacedUnlessTheyHaveAFixedSize) {
  VariantArray result(206, 1);
  result.At(160) = Variant("");
  result.At(1) = Variant("Verein");

  // A Variant holding Empty receives the new array.
  Var holder;
  VARIANT by_ref;
  V_VT(&by_ref) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&by_ref) = &holder.v;
  ReplaceArray(result, &by_ref);
  EXPECT_EQ(ArrayFromVariant(holder.v).Upper(), 206);
  EXPECT_EQ(ArrayFromVariant(holder.v).At(1).AsString(), "Verein");

  // Dim v(206): fixed, 0-based, holds 1..206: written in place.
  SAFEARRAY* fixed = SafeArrayCreateVector(VT_VARIANT, 0, 207);
  fixed->fFeatures |= FADF_FIXEDSIZE | FADF_STATIC;
  VARIANT fixed_ref;
  V_VT(&fixed_ref) = VT_BYREF | VT_ARRAY | VT_VARIANT;
  V_ARRAYREF(&fixed_ref) = &fixed;
  SAFEARRAY* before = fixed;
  ReplaceArray(result, &fixed_ref);
  EXPECT_EQ(fixed, before);
  Var first;
  LONG index = 1;
  SafeArrayGetElement(fixed, &index, &first.v);
  EXPECT_EQ(FromVariant(first.v).AsString(), "Verein");

  // Too small to hold 1..206: refused, nothing of it touched.
  SAFEARRAY* small = SafeArrayCreateVector(VT_VARIANT, 1, 205);
  small->fFeatures |= FADF_FIXEDSIZE;
  V_ARRAYREF(&fixed_ref) = &small;
  EXPECT_EQ(ErrorNumber([&] { ReplaceArray(result, &fixed_ref); }), 9);
  Var untouched;
  SafeArrayGetElement(small, &index, &untouched.v);
  EXPECT_EQ(V_VT(&untouched.v), VT_EMPTY);

  fixed->fFeatures &= ~(FADF_FIXEDSIZE | FADF_STATIC);
  small->fFeatures &= ~FADF_FIXEDSIZE;
  SafeArrayDestroy(fixed);
  SafeArrayDestroy(small);
}

}  // namespace
}  // namespace lastora::automation
