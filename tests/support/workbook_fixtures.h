// Small workbooks written on the fly for the import tests.
#ifndef LASTORA_TESTS_SUPPORT_WORKBOOK_FIXTURES_H_
#define LASTORA_TESTS_SUPPORT_WORKBOOK_FIXTURES_H_

#include <ctime>
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

// An .xlsx written by libxlsxwriter. created: the document's creation time in UTC (0: the
// writer's default, now).
void WriteXlsx(const std::string& path, const std::vector<FixtureSheet>& sheets,
               std::time_t created = 0);

// A zip package holding the given parts, in order.
void WriteZip(const std::string& path,
              const std::vector<std::pair<std::string, std::string>>& parts);

// Seconds since the epoch of a UTC date and time, for WriteXlsx.
std::time_t UtcTime(int year, int month, int day, int hour = 0);

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_WORKBOOK_FIXTURES_H_
