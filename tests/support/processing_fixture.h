// A caller of the processing run for tests: settings, a member table in the run's column layout,
// and the figures the run reports back.
#ifndef LASTORA_TESTS_SUPPORT_PROCESSING_FIXTURE_H_
#define LASTORA_TESTS_SUPPORT_PROCESSING_FIXTURE_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "lastora/class1.h"
#include "lastora/settings.h"
#include "lastora/table.h"
#include "lastora/variant.h"
#include "support/test_platform.h"

namespace lastora::testing {

inline constexpr int32_t kMemberColumns = 29;

// One member as the caller lays it out. Blank texts and Empty variants stay blank cells.
struct Member {
  std::string name{};
  std::string iban = "DE89370400440532013000";
  std::string bic = "COBADEFFXXX";
  std::string mandate{};
  Variant contribution = 120.0;  // per contribution period
  Variant entry{};
  Variant exit{};
  Variant first_collection{};
  Variant one_off{};
  Variant back_payment{};
  Variant credit{};
};

// ASCII text filled with blanks to `width`, and text in double quotes: how remittance lines look.
inline std::string Padded(const std::string& text, size_t width) {
  return text + std::string(width - text.size(), ' ');
}
inline std::string Quoted(const std::string& text) { return '"' + text + '"'; }

inline Variant DateCell(int year, int month, int day) {
  return Variant::Date(MakeDate(year, month, day));
}

class ProcessingTest : public ::testing::Test {
 protected:
  ProcessingTest();

  // A table of `rows` members, all cells blank.
  void StartTable(int32_t rows);
  // Fills row `row` (from 1) with the member's cells.
  void SetMember(int32_t row, const Member& member);
  // Runs ext_SEPA_Bearbeitung on the settings and the table; `reported` then holds the settings
  // the run copied back.
  std::string Run();

  Variant& Cell(int32_t row, int32_t column) { return values(row, column); }
  std::string Text(int32_t row, int32_t column) const;
  int32_t Colour(int32_t row, int32_t column) const;

  ScopedTestPlatform platform{MakeDate(2013, 12, 20)};
  Class1 object;
  SEPAVARIABLEN settings;  // what the caller passes
  SEPAVARIABLEN reported;  // what the run gives back
  Table values;
  Table colours;
};

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_PROCESSING_FIXTURE_H_
