// Legacy Excel workbooks (.xls, BIFF in an OLE container), read with FreeXL. FreeXL does not
// survive every damaged file, so it only ever runs in a child process: the child reads the
// workbook and sends the cells back in small frames, and a child that crashes costs the import,
// not the program.
#include <freexl.h>

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

// Each frame: a kind byte, the payload's length (4 bytes), the payload. Cells carry their row and
// column (4 bytes each) before the value.
enum Frame : char {
  kSheetName = 'N',
  kFailure = 'E',
  kText = 'T',
  kNumber = 'F',
  kDate = 'D',
};

void PutWord(std::string& out, uint32_t word) {
  char bytes[4];
  std::memcpy(bytes, &word, sizeof bytes);
  out.append(bytes, sizeof bytes);
}

void PutFrame(std::string& out, Frame kind, std::string_view payload) {
  out += static_cast<char>(kind);
  PutWord(out, static_cast<uint32_t>(payload.size()));
  out.append(payload);
}

void PutCell(std::string& out, Frame kind, uint32_t row, uint32_t column, std::string_view value) {
  std::string payload;
  payload.reserve(8 + value.size());
  PutWord(payload, row);
  PutWord(payload, column);
  payload.append(value);
  PutFrame(out, kind, payload);
}

void PutCell(std::string& out, Frame kind, uint32_t row, uint32_t column, double value) {
  char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof bytes);
  PutCell(out, kind, row, column, std::string_view(bytes, sizeof bytes));
}

// --- The child's side: FreeXL's answers turned into frames. A failure ends the output with its
// reason.

bool PutSheetNames(const void* xls, std::string& out) {
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
    PutFrame(out, kSheetName, name == nullptr ? "" : name);
  }
  return true;
}

std::string_view TextOf(const char* text) { return text == nullptr ? "" : text; }

// Dates and times become serials here, so that the parent only ever sees numbers and texts.
bool PutCellValue(std::string& out, uint32_t row, uint32_t column, const FreeXL_CellValue& cell) {
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

bool PutSheetCells(const void* xls, const std::string& name, size_t index, std::string& out) {
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

// What the child keeps between requests: the workbook, opened on the first one. It is never
// closed: the child ends with the reader, killed, and its memory goes with it.
struct ChildState {
  std::string path;
  const void* xls = nullptr;
  bool opened = false;
};

// Answers a request in the child: "" for the sheet names, a sheet's number (from 0) for its cells.
void ServeInChild(ChildState& state, std::string_view request, std::string& out) {
  try {
    if (!state.opened) {
      state.opened = true;
      const void* handle = nullptr;
      if (freexl_open(state.path.c_str(), &handle) == FREEXL_OK) state.xls = handle;
    }
    if (state.xls == nullptr) {
      PutFrame(out, kFailure, "keine lesbare Excel-Arbeitsmappe");
      return;
    }
    if (request.empty()) {
      PutSheetNames(state.xls, out);
      return;
    }
    const size_t index = std::stoul(std::string(request));
    const char* name = nullptr;
    freexl_get_worksheet_name(state.xls, static_cast<unsigned short>(index), &name);
    PutSheetCells(state.xls, std::string(TextOf(name)), index, out);
  } catch (const std::exception&) {
    out.clear();
    PutFrame(out, kFailure, "zu groß");
  }
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

class XlsReader : public WorkbookReader {
 public:
  explicit XlsReader(const std::string& path)
      : path_(path),
        child_([state = std::make_shared<ChildState>(ChildState{path})](std::string_view request,
                                                                        std::string& out) {
          ServeInChild(*state, request, out);
        }) {
    const std::string frames = Ask("");
    FrameReader reader(path_, frames);
    Frame kind;
    std::string_view payload;
    while (reader.Next(kind, payload)) {
      if (kind == kFailure) ThrowUnreadable(path_, std::string(payload));
      if (kind != kSheetName) reader.Broken();
      names_.emplace_back(payload);
    }
    if (names_.empty()) reader.Broken();
  }

  std::vector<std::string> SheetNames() override { return names_; }

  // The format keeps its creation date in a property stream that FreeXL does not read.
  std::optional<double> CreationDate() override { return std::nullopt; }

  SheetGrid ReadSheet(size_t index) override {
    const std::string frames = Ask(std::to_string(index));
    FrameReader reader(path_, frames);
    SheetGrid grid;
    Frame kind;
    std::string_view payload;
    int32_t row = 0;
    int32_t column = 0;
    while (reader.Next(kind, payload)) {
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
  // The child's frames, or the import's failure when the child crashed.
  std::string Ask(const std::string& request) {
    std::optional<std::string> frames = child_.Ask(request);
    if (!frames) ThrowUnreadable(path_, "Datei beschädigt");
    return std::move(*frames);
  }

  std::string path_;
  ChildWorker child_;
  std::vector<std::string> names_;
};

}  // namespace

std::unique_ptr<WorkbookReader> OpenXlsReader(const std::string& path) {
  return std::make_unique<XlsReader>(path);
}

}  // namespace lastora::detail
