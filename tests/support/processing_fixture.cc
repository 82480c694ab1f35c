#include "support/processing_fixture.h"

#include "support/club_settings.h"

namespace lastora::testing {

ProcessingTest::ProcessingTest() : settings(ClubProcessingSettings()) {}

void ProcessingTest::StartTable(int32_t rows) {
  values = Table(rows, kMemberColumns);
  colours = Table(rows, kMemberColumns);
}

void ProcessingTest::SetMember(int32_t row, const Member& member) {
  auto text = [](const std::string& s) { return s.empty() ? Variant() : Variant(s); };
  values(row, 3) = text(member.name);
  values(row, 4) = text(member.iban);
  values(row, 5) = text(member.bic);
  values(row, 10) = text(member.mandate);
  values(row, 13) = member.one_off;
  values(row, 14) = member.back_payment;
  values(row, 15) = member.credit;
  values(row, 17) = member.contribution;
  values(row, 18) = member.entry;
  values(row, 19) = member.exit;
  values(row, 20) = member.first_collection;
  values(row, 21) = text(member.name);
}

std::string ProcessingTest::Run() {
  VariantArray aVariablen;
  RecordToVariablen(aVariablen, settings);
  const std::string result = object.ext_SEPA_Bearbeitung(aVariablen, values, colours);
  reported = SEPAVARIABLEN();
  VariablenToRecord(aVariablen, reported);
  return result;
}

std::string ProcessingTest::Text(int32_t row, int32_t column) const {
  return CStr(values(row, column));
}

int32_t ProcessingTest::Colour(int32_t row, int32_t column) const {
  const Variant& cell = colours(row, column);
  return cell.IsEmpty() ? 0 : CLng(cell);
}

}  // namespace lastora::testing
