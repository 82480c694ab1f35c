// Legacy Excel workbooks (.xls, BIFF in an OLE container), read with FreeXL. FreeXL does not
// survive every damaged file, so it only ever runs in a child process: the child reads the whole
// workbook into frames, and a child that crashes or hangs costs the import, not the program.
#include <freexl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "import/workbook_reader.h"
#include "lastora/variant.h"
#include "platform/posix/child_process.h"

namespace lastora::detail {
namespace {

// FreeXL holds the whole workbook. The largest one it reads (40 MB, 65,536 rows of 30 cells, half
// of them texts; it refuses a 54 MB one) peaks at 130 MB in the import. A damaged file can make it
// ask for gigabytes a few bytes at a time, which costs seconds before the time limit could tell.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
// Fuzzing meets such files by the thousand, each paid for under the sanitizer's slow allocator:
// a child that fills 64 MB page by page costs half a second, and such children took half of the
// campaign's time. The parent must survive the child's end the same way wherever the limit lies;
// below 64 MB the parent only no longer meets grids of some hundred thousand cells, whose memory
// handling the table's own tests cover.
constexpr size_t kMemoryAllowance = size_t{16} << 20;
// The sanitizer's report of a child at that limit can need memory of its own, fail to get it and
// then wait forever on its own lock. The parent ends such a child at the time limit as it ends any
// hung reader; that limit must lie below the fuzzer's 10 s, or the wait is counted as the
// program's hang although the program would have lived on.
constexpr std::chrono::seconds kReadTimeLimit(5);
#else
constexpr size_t kMemoryAllowance = size_t{512} << 20;
// Far beyond what the largest sheet the format holds takes to read.
constexpr std::chrono::seconds kReadTimeLimit(60);
#endif

// The largest sheet of the format (BIFF8).
constexpr unsigned int kMaxRows = 65536;
constexpr unsigned short kMaxColumns = 256;

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
  // A sheet claiming more than the format holds is damaged: walking a claim of four billion
  // rows would keep the child busy until the time limit.
  if (freexl_worksheet_dimensions(xls, &rows, &columns) != FREEXL_OK || rows > kMaxRows ||
      columns > kMaxColumns) {
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
  // On some damage FreeXL gives up, yet answers OK with no workbook behind it.
  if (freexl_open(path.c_str(), &xls) != FREEXL_OK || xls == nullptr) {
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

// --- The parent's side: the frames taken as they arrive, trusting nothing about their lengths.

// Far beyond the longest text a cell holds.
constexpr uint32_t kMaxFrame = 1 << 20;

uint32_t Word(std::string_view bytes) {
  uint32_t word = 0;
  std::memcpy(&word, bytes.data(), sizeof word);
  return word;
}

// The workbook the frames describe: the sheet names, then each sheet's grid or its failure.
// Frames are decoded as soon as they are whole, so that the grids grow while the child still
// reads.
class WorkbookFrames {
 public:
  explicit WorkbookFrames(const std::string& path) : path_(path) {}

  void Take(std::string_view piece) {
    if (!pending_.empty()) {
      // Only what completes the frame that straddles two pieces is copied; the rest is decoded
      // where it lies.
      const size_t header = std::min(piece.size(), 5 - std::min<size_t>(pending_.size(), 5));
      pending_.append(piece.substr(0, header));
      piece.remove_prefix(header);
      if (pending_.size() < 5) return;
      const size_t missing = FrameSize(pending_) - pending_.size();
      const size_t part = std::min(missing, piece.size());
      pending_.append(piece.substr(0, part));
      piece.remove_prefix(part);
      if (part < missing) return;
      DecodeWhole(pending_);
      pending_.clear();
    }
    pending_ = std::string(piece.substr(DecodeWhole(piece)));
  }

  // After the last piece.
  void Finish() {
    if (!pending_.empty() || names_.empty() || sheets_.size() != names_.size()) Broken();
  }

  struct Sheet {
    SheetGrid grid;
    std::exception_ptr failure;
  };
  const std::vector<std::string>& names() const { return names_; }
  Sheet& sheet(size_t index) { return sheets_.at(index); }

 private:
  // The whole frames at the front of `bytes`, decoded; the count of bytes they took.
  size_t DecodeWhole(std::string_view bytes) {
    size_t used = 0;
    while (bytes.size() - used >= 5) {
      const size_t size = FrameSize(bytes.substr(used));
      if (bytes.size() - used < size) break;
      Decode(static_cast<Frame>(bytes[used]), bytes.substr(used + 5, size - 5));
      used += size;
    }
    return used;
  }

  // A frame's size from its header.
  size_t FrameSize(std::string_view frame) const {
    const uint32_t payload = Word(frame.substr(1));
    if (payload > kMaxFrame) Broken();
    return 5 + size_t{payload};
  }

  void Decode(Frame kind, std::string_view payload) {
    if (kind == kSheet) {
      if (sheets_.size() == names_.size()) Broken();
      sheets_.emplace_back();
    } else if (sheets_.empty()) {
      if (kind == kFailure) ThrowUnreadable(path_, std::string(payload));
      if (kind != kSheetName) Broken();
      names_.emplace_back(payload);
    } else if (kind == kFailure) {
      Sheet& sheet = sheets_.back();
      if (!sheet.failure)
        sheet.failure = std::make_exception_ptr(UnreadableError(path_, std::string(payload)));
    } else {
      Sheet& sheet = sheets_.back();
      if (sheet.failure) return;
      try {
        Cell(sheet.grid, kind, payload);
      } catch (const VbError&) {
        // Too large a sheet spoils that sheet only, as it would when read alone.
        sheet.failure = std::current_exception();
      }
    }
  }

  void Cell(SheetGrid& grid, Frame kind, std::string_view payload) const {
    if (payload.size() < 8) Broken();
    const uint32_t row = Word(payload);
    const uint32_t column = Word(payload.substr(4));
    if (row == 0 || column == 0 || row > kMaxSheetRows || column > kMaxSheetColumns) Broken();
    const std::string_view value = payload.substr(8);
    switch (kind) {
      case kText:
        grid.Set(static_cast<int32_t>(row), static_cast<int32_t>(column),
                 Variant(std::string(value)));
        break;
      case kNumber:
        grid.Set(static_cast<int32_t>(row), static_cast<int32_t>(column), Variant(Number(value)));
        break;
      case kDate:
        grid.Set(static_cast<int32_t>(row), static_cast<int32_t>(column),
                 Variant::Date(Number(value)));
        break;
      default:
        Broken();
    }
  }

  double Number(std::string_view payload) const {
    double value = 0;
    if (payload.size() != sizeof value) Broken();
    std::memcpy(&value, payload.data(), sizeof value);
    return value;
  }

  [[noreturn]] void Broken() const { ThrowUnreadable(path_, "Datei beschädigt"); }

  const std::string& path_;
  std::vector<std::string> names_;
  std::vector<Sheet> sheets_;
  std::string pending_;  // the start of a frame whose end is still to come
};

ChildServer& ReaderChild() {
  static ChildServer child(
      [](std::string_view request, AnswerWriter& out) {
        return ReadWorkbookInChild(std::string(request), out);
      },
      kMemoryAllowance);
  return child;
}

// The child keeps the working folder the program had when it started the child.
std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

class XlsReader : public WorkbookReader {
 public:
  explicit XlsReader(const std::string& path) : path_(path), workbook_(path_) {
    const bool whole = ReaderChild().Ask(AbsolutePath(path_), kReadTimeLimit,
                                         [this](std::string_view piece) { workbook_.Take(piece); });
    // A child that crashed or hung.
    if (!whole) ThrowUnreadable(path_, "Datei beschädigt");
    workbook_.Finish();
  }

  std::vector<std::string> SheetNames() override { return workbook_.names(); }

  // The format keeps its creation date in a property stream that FreeXL does not read.
  std::optional<double> CreationDate() override { return std::nullopt; }

  // Each sheet is handed over once: the caller keeps its grid.
  SheetGrid ReadSheet(size_t index) override {
    WorkbookFrames::Sheet& sheet = workbook_.sheet(index);
    if (sheet.failure) std::rethrow_exception(sheet.failure);
    return std::move(sheet.grid);
  }

 private:
  std::string path_;
  WorkbookFrames workbook_;
};

}  // namespace

std::unique_ptr<WorkbookReader> OpenXlsReader(const std::string& path) {
  return std::make_unique<XlsReader>(path);
}

}  // namespace lastora::detail
