#include "lastora/automation_values.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include <functional>
#include <string>
#include <vector>

#include "lastora/vb_error.h"

namespace lastora::automation {
namespace {

// A VARIANT that clears itself at the end of a test; it may own an array of VARIANTs.
struct Var {
  VARIANT v;
  Var() { VariantInit(&v); }
  explicit Var(SAFEARRAY* array, VARTYPE kind = VT_VARIANT) : Var() {
    V_VT(&v) = VT_ARRAY | kind;
    V_ARRAY(&v) = array;
  }
  ~Var() { VariantClear(&v); }
};

// A by-reference argument to the caller's variable.
VARIANT RefTo(VARIANT* target) {
  VARIANT reference;
  V_VT(&reference) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&reference) = target;
  return reference;
}

int ErrorNumber(const std::function<void()>& work) {
  try {
    work();
  } catch (const VbError& error) {
    return error.number();
  }
  return 0;
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
  // An object in a cell has no value the run could use.
  V_VT(&cell.v) = VT_DISPATCH;
  V_DISPATCH(&cell.v) = nullptr;
  EXPECT_EQ(ErrorNumber([&] { FromVariant(cell.v); }), 13);
}

// The texts where a shortcut for plain ASCII could go wrong: the last ASCII unit and the first
// one beyond, a foreign unit only at the end of a long ASCII run, lone surrogates, NULs, and
// bytes that are no UTF-8 at all.
const std::vector<std::wstring> kAwkwardWide = {L"",
                                                L"\x7F",
                                                L"\x80",
                                                L"IBAN DE89370400440532013000 Müller",
                                                L"Beitrag 2013 \x20AC",
                                                std::wstring(L"a\0b", 3),
                                                std::wstring(L"x\xD800y"),
                                                std::wstring(L"\xDC00"),
                                                L"\xD83D\xDE00 Smiley",
                                                std::wstring(300, L'z') + L"\xE4"};
const std::vector<std::string> kAwkwardUtf8 = {"",
                                               "\x7F",
                                               "\xC2\x80",
                                               "Stra\xC3\x9F"
                                               "e 12",
                                               std::string(40, 'q') + "\xE2\x82\xAC",
                                               "\xC3",
                                               "a\xFF"
                                               "b",
                                               "\xED\xA0\x80",
                                               std::string("n\0ul", 4)};

// The platform's own conversions, asked for the length first, as the reference.
std::string PlatformUtf8(const std::wstring& wide) {
  const int size = static_cast<int>(wide.size());
  std::string out(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr),
                  '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), static_cast<int>(out.size()),
                      nullptr, nullptr);
  return out;
}

std::wstring PlatformWide(const std::string& utf8) {
  const int size = static_cast<int>(utf8.size());
  std::wstring out(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), static_cast<int>(out.size()));
  return out;
}

TEST(AutomationCells, TextsConvertExactlyAsThePlatformConvertsThem) {
  for (const std::wstring& wide : kAwkwardWide) {
    BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    EXPECT_EQ(FromBstr(text), PlatformUtf8(wide)) << wide.size() << " units";
    EXPECT_EQ(Utf8(wide), PlatformUtf8(wide));
    SysFreeString(text);
    // And whole through a cell and back.
    Var cell;
    ToVariant(Variant(Utf8(wide)), &cell.v);
    ASSERT_EQ(V_VT(&cell.v), VT_BSTR);
    EXPECT_EQ(FromVariant(cell.v).AsString(), PlatformUtf8(wide));
  }
  for (const std::string& utf8 : kAwkwardUtf8) {
    BSTR text = ToBstr(utf8);
    EXPECT_EQ(std::wstring(text, SysStringLen(text)), PlatformWide(utf8))
        << ::testing::PrintToString(utf8);
    EXPECT_EQ(Wide(utf8), PlatformWide(utf8));
    SysFreeString(text);
  }
}

// A range of the awkward texts between numbers, dates and empty cells, rows x 3, in order down
// the columns; `shift` rotates which cell gets which value.
SAFEARRAY* MixedRange(LONG rows, size_t shift, LONG lower = 1) {
  SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(rows), lower}, {3, lower}};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  for (LONG r = 0; r < rows; ++r) {
    for (LONG c = 0; c < 3; ++c) {
      const size_t pick = (static_cast<size_t>(r * 3 + c) + shift) % (kAwkwardWide.size() + 3);
      VARIANT cell;
      VariantInit(&cell);
      if (pick < kAwkwardWide.size()) {
        const std::wstring& text = kAwkwardWide[pick];
        V_VT(&cell) = VT_BSTR;
        V_BSTR(&cell) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
      } else if (pick == kAwkwardWide.size()) {
        V_VT(&cell) = VT_R8;
        V_R8(&cell) = 12.5 + r;
      } else if (pick == kAwkwardWide.size() + 1) {
        V_VT(&cell) = VT_DATE;
        V_DATE(&cell) = 41548 + r;
      }
      LONG index[2] = {lower + r, lower + c};
      SafeArrayPutElement(array, index, &cell);
      VariantClear(&cell);
    }
  }
  return array;
}

// Each cell of the range against the platform's own reading of it.
void ExpectCellsOf(SAFEARRAY* array, const Table& table) {
  for (LONG r = table.RowLower(); r <= table.RowUpper(); ++r) {
    for (LONG c = table.ColLower(); c <= table.ColUpper(); ++c) {
      Var cell;
      LONG index[2] = {r, c};
      SafeArrayGetElement(array, index, &cell.v);
      const Variant& got = table.At(r, c);
      if (V_VT(&cell.v) == VT_BSTR) {
        ASSERT_TRUE(got.IsString()) << r << "," << c;
        EXPECT_EQ(got.AsString(),
                  PlatformUtf8(std::wstring(V_BSTR(&cell.v), SysStringLen(V_BSTR(&cell.v)))))
            << r << "," << c;
      } else {
        EXPECT_TRUE(SameKindAndValue(got, FromVariant(cell.v))) << r << "," << c;
      }
    }
  }
}

TEST(AutomationTables, ATableReadAgainHoldsTheNewSheetAndNothingOfTheOld) {
  // 130 rows: more than one band of rows, the last one cut short.
  Table table;
  struct Sheet {
    LONG rows;
    size_t shift;
    LONG lower;
  };
  for (const auto& [rows, shift, lower] : {Sheet{130, 0, 1}, Sheet{130, 5, 1}, Sheet{200, 1, 1},
                                           Sheet{7, 2, 1}, Sheet{7, 2, 0}, Sheet{65, 3, 0}}) {
    Var range(MixedRange(rows, shift, lower));
    ReadTable(range.v, table);
    ASSERT_EQ(table.RowCount(), rows);
    ASSERT_EQ(table.RowLower(), lower);
    ASSERT_EQ(table.ColLower(), lower);
    ASSERT_EQ(table.ColCount(), 3);
    ExpectCellsOf(V_ARRAY(&range.v), table);
    // And out again into a new array, cell for cell in its place.
    Var copy(NewSafeArray(table));
    ExpectCellsOf(V_ARRAY(&copy.v), table);
  }
  Var empty;
  ReadTable(empty.v, table);
  EXPECT_FALSE(table.IsAllocated());
}

TEST(AutomationTables, ArgumentsOfTheWrongShapeGiveTheRunsOwnErrors) {
  Var row(SafeArrayCreateVector(VT_VARIANT, 1, 5));
  EXPECT_EQ(ErrorNumber([&] { TableFromVariant(row.v); }), 9);
  EXPECT_EQ(ArrayFromVariant(row.v).Count(), 5);

  Var strings(SafeArrayCreateVector(VT_BSTR, 1, 5), VT_BSTR);
  EXPECT_EQ(ErrorNumber([&] { ArrayFromVariant(strings.v); }), 13);
}

TEST(AutomationWriteBack, OnlyChangedCellsAreWrittenSoUntouchedCellsKeepTheirKind) {
  Var range(MixedRange(130, 0));
  // A currency cell is read as a number: written back it would no longer be currency.
  LONG currency_index[2] = {1, 1};
  VARIANT currency;
  V_VT(&currency) = VT_CY;
  V_CY(&currency).int64 = 15000;
  SafeArrayPutElement(V_ARRAY(&range.v), currency_index, &currency);
  VARIANT by_ref = RefTo(&range.v);

  Table result = TableFromVariant(by_ref);
  // Changed in the rows around the band edges; row 64 held the same 300 letters and another
  // last unit, which a comparison of the ASCII stretch alone would take for unchanged.
  for (LONG r : {1, 64, 65, 130}) result.At(r, 3) = Variant(std::string(300, 'z') + "\xC3\xB6");
  SAFEARRAY* before = V_ARRAY(&range.v);
  WriteBackTable(result, &by_ref);

  EXPECT_EQ(V_ARRAY(&range.v), before);  // same array, changed in place
  Var kept;
  SafeArrayGetElement(before, currency_index, &kept.v);
  EXPECT_EQ(V_VT(&kept.v), VT_CY);
  ExpectCellsOf(before, result);

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
  VARIANT by_ref = RefTo(&holder.v);
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
