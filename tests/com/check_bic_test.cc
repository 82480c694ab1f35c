// Check_BIC takes the caller's settings record by reference: a VT_RECORD whose layout the caller
// learns from the server's own type library, as a workbook declaring the record does.
#include <wrl/client.h>

#include <string>
#include <vector>

#include "com/late_bound.h"
#include "com/sheet_arrays.h"
#include "lastora_h.h"

namespace lastora::testing {
namespace {

using automation::FromVariant;
using Microsoft::WRL::ComPtr;

constexpr GUID kSettingsRecord = {
    0x3C08F340, 0xEF91, 0x4B36, {0xB2, 0xD1, 0x78, 0xAA, 0xC1, 0x53, 0x2A, 0xBF}};

ComPtr<IRecordInfo> SettingsRecordInfo(IDispatch* object) {
  ComPtr<ITypeInfo> interface_info, record_info;
  ComPtr<ITypeLib> library;
  ComPtr<IRecordInfo> record;
  UINT index = 0;
  if (SUCCEEDED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &interface_info)) &&
      SUCCEEDED(interface_info->GetContainingTypeLib(&library, &index)) &&
      SUCCEEDED(library->GetTypeInfoOfGuid(kSettingsRecord, &record_info))) {
    GetRecordInfoFromTypeInfo(record_info.Get(), &record);
  }
  return record;
}

// A record made by the record's own description; its texts are freed with it.
class SettingsRecord {
 public:
  explicit SettingsRecord(ComPtr<IRecordInfo> info)
      : info_(std::move(info)), record_(static_cast<::SEPAVARIABLEN*>(info_->RecordCreate())) {}
  ~SettingsRecord() { info_->RecordDestroy(record_); }
  SettingsRecord(const SettingsRecord&) = delete;
  ::SEPAVARIABLEN* operator->() { return record_; }
  VARIANT Argument() {
    VARIANT argument;
    V_VT(&argument) = VT_RECORD;
    V_RECORD(&argument) = record_;
    V_RECORDINFO(&argument) = info_.Get();
    return argument;
  }

 private:
  ComPtr<IRecordInfo> info_;
  ::SEPAVARIABLEN* record_;
};

VARIANT Short(short value) { return Scalar(VT_I2, value); }

// The sheets of one call: members' rows with the bank code in column 23, and the bank codes,
// where 37040044 has one BIC and 50010517 two.
class CheckBicTest : public LateBoundTest {
 protected:
  void Sheets(const std::vector<const char*>& codes) {
    Table rows(static_cast<int32_t>(codes.size()), 29);
    for (int32_t row = 1; row <= rows.RowCount(); ++row) {
      rows(row, 23) = codes[row - 1];
      rows(row, 24) = "DE";
    }
    PutRange(rows, &values_.v);
    PutRange(Table(rows.RowCount(), 29), &colours_.v);
    PutRange(Rows({{"37040044", "", "", "", "", "Commerzbank", "", "COBADEFFXXX"},
                   {"50010517", "", "", "", "", "ING", "", "INGDDEFFXXX"},
                   {"50010517", "", "", "", "", "ING Zweigstelle", "", "INGDDEFF001"}}),
             &bank_codes_.v);
  }
  // The ten arguments a workbook passes, with `settings` in the sixth place.
  std::vector<VARIANT> Arguments(VARIANT settings) {
    std::vector<VARIANT> args{Short(1), Short(23), Short(8), Short(5), source_.v, settings};
    for (Var* sheet : {&values_, &colours_, &bank_codes_, &passed_on_}) {
      args.push_back(ByRef(&sheet->v));
    }
    return args;
  }

  Var values_, colours_, bank_codes_, passed_on_, source_{L"intern"};
};

TEST_F(CheckBicTest, CheckBicLooksUpTheRowsAndHandsTheRecordBackWhole) {
  ComPtr<IRecordInfo> info = SettingsRecordInfo(object_->get());
  ASSERT_NE(info.Get(), nullptr);
  SettingsRecord settings(info);
  settings->UserNAME.Value = SysAllocString(L"J\u00fcrgen B\u00e4cker");
  settings->UserNAME.Row = 7;
  settings->UserNAME.Column = 70000;
  settings->UserNAME.IniSection = SysAllocString(L"Kontakt");

  Sheets({"37040044", "50010517"});
  EXPECT_EQ(object_->Text(L"Check_BIC", Arguments(settings.Argument())), "ok");
  const Table found = RangeOf(values_.v);
  EXPECT_EQ(found(1, 5), Variant("COBADEFFXXX"));
  EXPECT_EQ(found(2, 27), Variant("Mehrere BICs zur BLZ m\u00f6glich. Bitte manuell pr\u00fcfen!"));
  EXPECT_EQ(CLng(RangeOf(colours_.v)(2, 5)), 6);
  Var warnings;
  ASSERT_EQ(object_->Get(L"lngZZ_WARN", &warnings.v), S_OK);
  EXPECT_EQ(CLng(FromVariant(warnings.v)), 1);

  // The record crossed twice and lost nothing: text beyond ASCII, both numbers, the section.
  EXPECT_EQ(automation::FromBstr(settings->UserNAME.Value) + "|" +
                std::to_string(settings->UserNAME.Row) + "|" +
                std::to_string(settings->UserNAME.Column) + "|" +
                automation::FromBstr(settings->UserNAME.IniSection),
            "J\u00fcrgen B\u00e4cker|7|70000|Kontakt");

  // One IBAN alone: the answers land in the caller's variables; the tables stay as they are.
  Var iban(L"DE89370400440532013000"), bic(L""), bank_code(L""), bank(L"");
  std::vector<VARIANT> args = Arguments(settings.Argument());
  args.insert(args.end(), {iban.v, ByRef(&bic.v), ByRef(&bank_code.v), ByRef(&bank.v)});
  EXPECT_EQ(object_->Text(L"Check_BIC", args), "ok");
  EXPECT_EQ(FromVariant(bic.v), Variant("COBADEFFXXX"));
  EXPECT_EQ(FromVariant(bank_code.v), Variant("37040044"));
  EXPECT_EQ(FromVariant(bank.v), Variant("Commerzbank"));
}

TEST_F(CheckBicTest, CheckBicRefusesAnythingButTheSettingsRecordNamingItsPlace) {
  Sheets({"37040044"});
  Var not_a_record(L"sAct"), result;
  std::vector<VARIANT> args = Arguments(not_a_record.v);
  UINT bad = 0;
  EXPECT_EQ(object_->Invoke(L"Check_BIC", args, &result.v, &bad), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(bad, 4u);  // the sixth of ten, counted from the last as IDispatch counts
  EXPECT_TRUE(RangeOf(values_.v)(1, 5).IsEmpty());

  args.pop_back();  // aBLZnew is not optional
  EXPECT_EQ(object_->Invoke(L"Check_BIC", args, &result.v), DISP_E_PARAMNOTOPTIONAL);
}

}  // namespace
}  // namespace lastora::testing
