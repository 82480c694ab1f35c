// Small workbooks written on the fly for the import tests.
#ifndef LASTORA_TESTS_SUPPORT_WORKBOOK_FIXTURES_H_
#define LASTORA_TESTS_SUPPORT_WORKBOOK_FIXTURES_H_

#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace lastora::testing {

// One cell to write: a text, a number, a truth value, or a date (year, month, day).
struct FixtureDate {
  int year, month, day;
};
using FixtureValue = std::variant<std::monostate, std::string, double, bool, FixtureDate>;
using FixtureRows = std::vector<std::vector<FixtureValue>>;

struct FixtureSheet {
  std::string name;
  FixtureRows rows;  // from A1
};

// An .xlsx written by libxlsxwriter.
void WriteXlsx(const std::string& path, const std::vector<FixtureSheet>& sheets);

// A zip package holding the given parts, in order.
void WriteZip(const std::string& path,
              const std::vector<std::pair<std::string, std::string>>& parts);

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_WORKBOOK_FIXTURES_H_
