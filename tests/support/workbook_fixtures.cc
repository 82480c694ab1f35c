#include "support/workbook_fixtures.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <stdexcept>

namespace lastora::testing {
namespace {

void Require(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error("fixture: " + what);
}

}  // namespace

std::time_t UtcTime(int year, int month, int day, int hour) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  return timegm(&tm);
}

void WriteXlsx(const std::string& path, const std::vector<FixtureSheet>& sheets,
               std::time_t created) {
  lxw_workbook* workbook = workbook_new(path.c_str());
  Require(workbook != nullptr, "workbook " + path);
  if (created != 0) {
    lxw_doc_properties properties{};
    properties.created = created;
    workbook_set_properties(workbook, &properties);
  }
  lxw_format* date_format = workbook_add_format(workbook);
  format_set_num_format(date_format, "dd.mm.yyyy");
  for (const FixtureSheet& sheet : sheets) {
    lxw_worksheet* worksheet = workbook_add_worksheet(workbook, sheet.name.c_str());
    for (size_t r = 0; r < sheet.rows.size(); ++r) {
      for (size_t c = 0; c < sheet.rows[r].size(); ++c) {
        const auto row = static_cast<lxw_row_t>(r);
        const auto col = static_cast<lxw_col_t>(c);
        const FixtureValue& value = sheet.rows[r][c];
        if (const auto* s = std::get_if<std::string>(&value)) {
          worksheet_write_string(worksheet, row, col, s->c_str(), nullptr);
        } else if (const auto* d = std::get_if<double>(&value)) {
          worksheet_write_number(worksheet, row, col, *d, nullptr);
        } else if (const auto* b = std::get_if<bool>(&value)) {
          worksheet_write_boolean(worksheet, row, col, *b ? 1 : 0, nullptr);
        } else if (const auto* date = std::get_if<FixtureDate>(&value)) {
          lxw_datetime when{date->year, date->month, date->day, 0, 0, 0};
          worksheet_write_datetime(worksheet, row, col, &when, date_format);
        }
      }
    }
  }
  Require(workbook_close(workbook) == LXW_NO_ERROR, "close " + path);
}

void WriteZip(const std::string& path,
              const std::vector<std::pair<std::string, std::string>>& parts) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  Require(archive != nullptr, "zip " + path);
  for (const auto& [name, bytes] : parts) {
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    Require(source != nullptr && zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) >= 0,
            "zip entry " + name);
  }
  Require(zip_close(archive) == 0, "close " + path);
}

}  // namespace lastora::testing
