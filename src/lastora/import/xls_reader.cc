// Legacy Excel workbooks (.xls, BIFF in an OLE container), read with FreeXL.
#include <freexl.h>

#include <string>
#include <vector>

#include "import/workbook_reader.h"
#include "lastora/variant.h"

namespace lastora::detail {
namespace {

// FreeXL wants its handle closed even after a failed open.
struct FreeXlHandle {
  FreeXlHandle() = default;
  FreeXlHandle(const FreeXlHandle&) = delete;
  FreeXlHandle& operator=(const FreeXlHandle&) = delete;
  ~FreeXlHandle() {
    if (handle != nullptr) freexl_close(handle);
  }
  const void* handle = nullptr;
};

class XlsReader : public WorkbookReader {
 public:
  explicit XlsReader(const std::string& path) : path_(path) {
    if (freexl_open(path.c_str(), &xls_.handle) != FREEXL_OK) {
      ThrowUnreadable(path, "keine lesbare Excel-Arbeitsmappe");
    }
    unsigned int count = 0;
    if (freexl_get_info(xls_.handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK || count == 0) {
      ThrowUnreadable(path, "keine Tabellenblätter");
    }
    for (unsigned int i = 0; i < count; ++i) {
      const char* name = nullptr;
      if (freexl_get_worksheet_name(xls_.handle, static_cast<unsigned short>(i), &name) !=
          FREEXL_OK) {
        ThrowUnreadable(path, "Blattname");
      }
      names_.emplace_back(name == nullptr ? "" : name);
    }
  }

  std::vector<std::string> SheetNames() override { return names_; }

  // The format keeps its creation date in a property stream that FreeXL does not read.
  std::optional<double> CreationDate() override { return std::nullopt; }

  SheetGrid ReadSheet(size_t index) override {
    if (freexl_select_active_worksheet(xls_.handle, static_cast<unsigned short>(index)) !=
        FREEXL_OK) {
      ThrowUnreadable(path_, "Blatt " + names_.at(index));
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(xls_.handle, &rows, &columns) != FREEXL_OK) {
      ThrowUnreadable(path_, "Blattgröße");
    }
    SheetGrid grid;
    for (unsigned int r = 0; r < rows; ++r) {
      for (unsigned short c = 0; c < columns; ++c) {
        FreeXL_CellValue cell;
        if (freexl_get_cell_value(xls_.handle, r, c, &cell) != FREEXL_OK) {
          ThrowUnreadable(path_, "Zelle");
        }
        grid.Set(static_cast<int32_t>(r) + 1, static_cast<int32_t>(c) + 1, CellValue(cell));
      }
    }
    return grid;
  }

 private:
  Variant CellValue(const FreeXL_CellValue& cell) const {
    switch (cell.type) {
      case FREEXL_CELL_INT:
        return Variant(static_cast<double>(cell.value.int_value));
      case FREEXL_CELL_DOUBLE:
        return Variant(cell.value.double_value);
      case FREEXL_CELL_TEXT:
      case FREEXL_CELL_SST_TEXT:
        return Variant(std::string(cell.value.text_value == nullptr ? "" : cell.value.text_value));
      case FREEXL_CELL_DATE:
      case FREEXL_CELL_DATETIME:
        return DateValue(cell.value.text_value);
      case FREEXL_CELL_TIME:
        return TimeValue(cell.value.text_value);
      default:
        return Variant();
    }
  }

  Variant DateValue(const char* text) const {
    const std::optional<double> date = ParseIsoDateTime(text == nullptr ? "" : text);
    if (!date) ThrowUnreadable(path_, "Datum");
    return Variant::Date(*date);
  }

  // "HH:MM:SS" read through the date parser by lending it a day that has serial 0.
  Variant TimeValue(const char* text) const {
    const std::optional<double> time =
        ParseIsoDateTime(std::string("1899-12-30 ") + (text == nullptr ? "" : text));
    if (!time) ThrowUnreadable(path_, "Zeit");
    return Variant::Date(*time);
  }

  std::string path_;
  FreeXlHandle xls_;
  std::vector<std::string> names_;
};

}  // namespace

std::unique_ptr<WorkbookReader> OpenXlsReader(const std::string& path) {
  return std::make_unique<XlsReader>(path);
}

}  // namespace lastora::detail
