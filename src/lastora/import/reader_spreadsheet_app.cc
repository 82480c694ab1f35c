#include "import/reader_spreadsheet_app.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/text.h"
#include "import/workbook_reader.h"
#include "import/zip_archive.h"
#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

using detail::SheetGrid;
using detail::WorkbookReader;

std::string FirstBytes(const std::string& path, size_t count) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw VbError(53);
  std::string bytes(count, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

std::string LowerExtension(const std::string& path) {
  return text::LCase(std::filesystem::path(path).extension().string());
}

std::unique_ptr<WorkbookReader> OpenReader(const std::string& path) {
  const std::string head = FirstBytes(path, 8);
  if (head.starts_with("PK\x03\x04")) {
    // Both package formats are zip files; an OpenDocument package names its kind first.
    const std::optional<std::string> mimetype = detail::ZipArchive(path).Read("mimetype");
    if (mimetype && mimetype->find("opendocument.spreadsheet") != std::string::npos) {
      return detail::OpenOdsReader(path);
    }
    return detail::OpenXlsxReader(path);
  }
  if (head.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) return detail::OpenXlsReader(path);
  const std::string extension = LowerExtension(path);
  if (extension == ".csv") return detail::OpenCsvReader(path);
  if (extension == ".txt") return detail::OpenBankCodeTextReader(path);
  detail::ThrowUnreadable(path, "Dateiformat nicht unterstützt");
}

double ModificationDate(const std::string& path) {
  const auto written = std::filesystem::last_write_time(path);
  const auto system = std::chrono::file_clock::to_sys(written);
  const std::time_t seconds = std::chrono::system_clock::to_time_t(system);
  std::tm local{};
  localtime_r(&seconds, &local);
  return MakeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         MakeTime(local.tm_hour, local.tm_min, local.tm_sec);
}

class ReaderWorkbook : public SpreadsheetWorkbook {
 public:
  ReaderWorkbook(std::string path, std::unique_ptr<WorkbookReader> reader)
      : path_(std::move(path)), reader_(std::move(reader)), names_(reader_->SheetNames()) {}

  int32_t SheetCount() override { return static_cast<int32_t>(names_.size()); }

  std::string SheetName(int32_t sheet) override { return names_[Index(sheet)]; }

  double CreationDate() override {
    // Without a recorded creation date, the file's last change is the best age there is.
    if (const std::optional<double> recorded = reader_->CreationDate()) return *recorded;
    return ModificationDate(path_);
  }

  CellAddress LastCell(int32_t sheet) override {
    const SheetGrid& grid = Grid(sheet);
    return CellAddress{std::max(grid.LastRow(), 1), std::max(grid.LastColumn(), 1)};
  }

  void SortRows(int32_t sheet, int32_t first_row, int32_t last_row, int32_t key_column,
                bool descending) override {
    Grid(sheet).SortRows(first_row, last_row, key_column, descending);
  }

  Table ReadBlock(int32_t sheet, int32_t first_row, int32_t first_column, int32_t last_row,
                  int32_t last_column) override {
    return Grid(sheet).ReadBlock(first_row, first_column, last_row, last_column);
  }

  Table TakeBlock(int32_t sheet, int32_t first_row, int32_t first_column, int32_t last_row,
                  int32_t last_column) override {
    return Grid(sheet).TakeBlock(first_row, first_column, last_row, last_column);
  }

 private:
  size_t Index(int32_t sheet) const {
    if (sheet < 1 || static_cast<size_t>(sheet) > names_.size()) throw VbError(9);
    return static_cast<size_t>(sheet - 1);
  }

  SheetGrid& Grid(int32_t sheet) {
    const size_t index = Index(sheet);
    auto found = grids_.find(index);
    if (found == grids_.end()) found = grids_.emplace(index, reader_->ReadSheet(index)).first;
    return found->second;
  }

  std::string path_;
  std::unique_ptr<WorkbookReader> reader_;
  std::vector<std::string> names_;
  std::map<size_t, SheetGrid> grids_;  // sheets read so far; sorting changes them in place
};

}  // namespace

std::unique_ptr<SpreadsheetWorkbook> ReaderSpreadsheetApp::Open(const std::string& path) {
  return std::make_unique<ReaderWorkbook>(path, OpenReader(path));
}

}  // namespace lastora
