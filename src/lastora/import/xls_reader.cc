// Legacy Excel workbooks (.xls, BIFF in an OLE container), read with FreeXL. FreeXL does not
// survive every damaged file, so it only ever runs in a child process: the child reads the whole
// workbook into frames, and a child that crashes or hangs costs the import, not the program.
#include <freexl.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "import/workbook_reader.h"
#include "lastora/variant.h"
#include "platform/posix/child_process.h"

namespace lastora::detail {
namespace {

// Far beyond what the largest sheet the format holds takes to read.
constexpr std::chrono::seconds kReadTimeLimit(60);

// Each frame: a kind byte, the payload's length (4 bytes), the payload. The sheet names come
// first, then each sheet's cells behind a sheet frame. Cells carry their row and column (4 bytes
// each) before the value. A failure ends the names, or the cells of its sheet.
enum Frame : char {
  kSheetName = 'N',
  kSheet = 'S',
  kFailure = 'E',
  kText = 'T',
  kNumber = 'F',
  kDate = 'D',
};

void PutWord(char* out, uint32_t word) { std::memcpy(out, &word, sizeof word); }

void PutFrame(AnswerWriter& out, Frame kind, std::string_view payload) {
  char header[5] = {kind};
  PutWord(header + 1, static_cast<uint32_t>(payload.size()));
  out.Append(std::string_view(header, sizeof header));
  out.Append(payload);
}

void PutCell(AnswerWriter& out, Frame kind, uint32_t row, uint32_t column, std::string_view value) {
  char header[13] = {kind};
  PutWord(header + 1, static_cast<uint32_t>(8 + value.size()));
  PutWord(header + 5, row);
  PutWord(header + 9, column);
  out.Append(std::string_view(header, sizeof header));
  out.Append(value);
}

void PutCell(AnswerWriter& out, Frame kind, uint32_t row, uint32_t column, double value) {
  char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof bytes);
  PutCell(out, kind, row, column, std::string_view(bytes, sizeof bytes));
}

// --- The child's side: FreeXL's answers turned into frames.

std::string_view TextOf(const char* text) { return text == nullptr ? "" : text; }

bool PutSheetNames(const void* xls, AnswerWriter& out, std::vector<std::string>& names) {
  unsigned int count = 0;
  if (freexl_get_info(xls, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK || count == 0) {
    PutFrame(out, kFailure, "keine Tabellenblätter");
    return false;
  }
  for (unsigned int i = 0; i < count; ++i) {
    const char* name = nullptr;
    if (freexl_get_worksheet_name(xls, static_cast<unsigned short>(i), &name) != FREEXL_OK) {
      PutFrame(out, kFailure, "Blattname");
      return false;
    }
    names.emplace_back(TextOf(name));
    PutFrame(out, kSheetName, names.back());
  }
  return true;
}

// Dates and times become serials here, so that the parent only ever sees numbers and texts.
bool PutCellValue(AnswerWriter& out, uint32_t row, uint32_t column, const FreeXL_CellValue& cell) {
  switch (cell.type) {
    case FREEXL_CELL_INT:
      PutCell(out, kNumber, row, column, static_cast<double>(cell.value.int_value));
      return true;
    case FREEXL_CELL_DOUBLE:
      PutCell(out, kNumber, row, column, cell.value.double_value);
      return true;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
      PutCell(out, kText, row, column, TextOf(cell.value.text_value));
      return true;
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: {
      // A time alone is read through the date parser by lending it the day of serial 0.
      const std::string text = cell.type == FREEXL_CELL_TIME
                                   ? "1899-12-30 " + std::string(TextOf(cell.value.text_value))
                                   : std::string(TextOf(cell.value.text_value));
      const std::optional<double> serial = ParseIsoDateTime(text);
      if (!serial) {
        PutFrame(out, kFailure, cell.type == FREEXL_CELL_TIME ? "Zeit" : "Datum");
        return false;
      }
      PutCell(out, kDate, row, column, *serial);
      return true;
    }
    default:
      return true;
  }
}

bool PutSheetCells(const void* xls, const std::string& name, size_t index, AnswerWriter& out) {
  if (freexl_select_active_worksheet(xls, static_cast<unsigned short>(index)) != FREEXL_OK) {
    PutFrame(out, kFailure, "Blatt " + name);
    return false;
  }
  unsigned int rows = 0;
  unsigned short columns = 0;
  if (freexl_worksheet_dimensions(xls, &rows, &columns) != FREEXL_OK) {
    PutFrame(out, kFailure, "Blattgröße");
    return false;
  }
  for (unsigned int r = 0; r < rows; ++r) {
    for (unsigned short c = 0; c < columns; ++c) {
      FreeXL_CellValue cell;
      if (freexl_get_cell_value(xls, r, c, &cell) != FREEXL_OK) {
        PutFrame(out, kFailure, "Zelle");
        return false;
      }
      if (!PutCellValue(out, r + 1, c + 1u, cell)) return false;
    }
  }
  return true;
}

// A sheet whose cells fail ends in its failure frame; the sheets behind it are still read, as
// the caller may want one of them. True when FreeXL met no damage, so that the child may read
// the next workbook.
bool ReadWorkbookInChild(const std::string& path, AnswerWriter& out) {
  const void* xls = nullptr;
  if (freexl_open(path.c_str(), &xls) != FREEXL_OK) {
    PutFrame(out, kFailure, "keine lesbare Excel-Arbeitsmappe");
    return false;
  }
  std::vector<std::string> names;
  if (!PutSheetNames(xls, out, names)) return false;
  bool sound = true;
  for (size_t index = 0; index < names.size(); ++index) {
    PutFrame(out, kSheet, "");
    sound = PutSheetCells(xls, names[index], index, out) && sound;
  }
  // Left open after damage: the child ends then, and FreeXL's memory with it.
  if (sound) freexl_close(xls);
  return sound;
}

// --- The parent's side: the frames read back, trusting nothing about their lengths.

class FrameReader {
 public:
  FrameReader(const std::string& path, std::string_view bytes) : path_(path), bytes_(bytes) {}

  bool Next(Frame& kind, std::string_view& payload) {
    if (bytes_.empty()) return false;
    if (bytes_.size() < 5) Broken();
    kind = static_cast<Frame>(bytes_[0]);
    const uint32_t size = Word(bytes_.substr(1));
    if (bytes_.size() - 5 < size) Broken();
    payload = bytes_.substr(5, size);
    bytes_.remove_prefix(5 + size);
    return true;
  }

  // The frames not read yet.
  std::string_view Rest() const { return bytes_; }

  // A cell frame's row and column, with the payload left holding the value.
  void Cell(std::string_view& payload, int32_t& row, int32_t& column) const {
    if (payload.size() < 8) Broken();
    const uint32_t r = Word(payload);
    const uint32_t c = Word(payload.substr(4));
    if (r == 0 || c == 0 || r > kMaxSheetRows || c > kMaxSheetColumns) Broken();
    row = static_cast<int32_t>(r);
    column = static_cast<int32_t>(c);
    payload.remove_prefix(8);
  }

  double Number(std::string_view payload) const {
    double value = 0;
    if (payload.size() != sizeof value) Broken();
    std::memcpy(&value, payload.data(), sizeof value);
    return value;
  }

  [[noreturn]] void Broken() const { ThrowUnreadable(path_, "Datei beschädigt"); }

 private:
  static uint32_t Word(std::string_view bytes) {
    uint32_t word = 0;
    std::memcpy(&word, bytes.data(), sizeof word);
    return word;
  }

  const std::string& path_;
  std::string_view bytes_;
};

// The child's frames, or the import's failure when the child crashed or hung.
ChildAnswer ReadInChild(const std::string& path) {
  static ChildServer reader([](std::string_view request, AnswerWriter& out) {
    return ReadWorkbookInChild(std::string(request), out);
  });
  std::optional<ChildAnswer> answer = reader.Ask(path, kReadTimeLimit);
  if (!answer) ThrowUnreadable(path, "Datei beschädigt");
  return std::move(*answer);
}

class XlsReader : public WorkbookReader {
 public:
  explicit XlsReader(const std::string& path) : path_(path), answer_(ReadInChild(path)) {
    FrameReader reader(path_, answer_.bytes());
    Frame kind;
    std::string_view payload;
    // The names, then only the sheets' starts: their cells are checked when a sheet is read.
    while (reader.Next(kind, payload)) {
      if (kind == kSheet) {
        sheets_.push_back(reader.Rest());
      } else if (sheets_.empty()) {
        if (kind == kFailure) ThrowUnreadable(path_, std::string(payload));
        if (kind != kSheetName) reader.Broken();
        names_.emplace_back(payload);
      }
    }
    if (names_.empty() || sheets_.size() != names_.size()) reader.Broken();
  }

  std::vector<std::string> SheetNames() override { return names_; }

  // The format keeps its creation date in a property stream that FreeXL does not read.
  std::optional<double> CreationDate() override { return std::nullopt; }

  SheetGrid ReadSheet(size_t index) override {
    FrameReader reader(path_, sheets_.at(index));
    SheetGrid grid;
    Frame kind;
    std::string_view payload;
    int32_t row = 0;
    int32_t column = 0;
    while (reader.Next(kind, payload) && kind != kSheet) {
      switch (kind) {
        case kFailure:
          ThrowUnreadable(path_, std::string(payload));
        case kText:
          reader.Cell(payload, row, column);
          grid.Set(row, column, Variant(std::string(payload)));
          break;
        case kNumber:
          reader.Cell(payload, row, column);
          grid.Set(row, column, Variant(reader.Number(payload)));
          break;
        case kDate:
          reader.Cell(payload, row, column);
          grid.Set(row, column, Variant::Date(reader.Number(payload)));
          break;
        default:
          reader.Broken();
      }
    }
    return grid;
  }

 private:
  std::string path_;
  ChildAnswer answer_;  // every view below points into it
  std::vector<std::string> names_;
  std::vector<std::string_view> sheets_;  // each sheet's frames, up to the next sheet's
};

}  // namespace

std::unique_ptr<WorkbookReader> OpenXlsReader(const std::string& path) {
  return std::make_unique<XlsReader>(path);
}

}  // namespace lastora::detail
