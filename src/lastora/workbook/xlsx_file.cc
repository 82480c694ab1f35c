#include "workbook/xlsx_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "core/cell_reference.h"
#include "core/files.h"
#include "lastora/platform.h"
#include "lastora/vb_error.h"
#include "lastora/workbook_error.h"
#include "platform/posix/zip_writer.h"

namespace lastora {
namespace {

constexpr std::string_view kXmlHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelationshipNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kPackageRelationshipNs =
    "http://schemas.openxmlformats.org/package/2006/relationships";

// The palette colours as the club's spreadsheet shows them (its default palette), in the order of
// their fills in the style sheet.
constexpr struct {
  int colour;
  std::string_view rgb;
} kPalette[] = {{3, "FFFF0000"}, {6, "FFFFFF00"}, {16, "FF808080"}, {45, "FFFF9900"}};

// Cell styles: 0 plain, 1 the bold header, 2 a date; then per palette colour a plain and a date
// style. One fixed style sheet keeps the bytes the same whichever colours a table uses.
constexpr int kBoldStyle = 1;
constexpr int kDateStyle = 2;

int StyleOf(const Variant& colour, bool date) {
  if (!colour.IsEmpty() && IsNumeric(colour)) {
    const int number = static_cast<int>(CDbl(colour));
    for (size_t i = 0; i < std::size(kPalette); ++i) {
      if (kPalette[i].colour == number) return 3 + 2 * static_cast<int>(i) + (date ? 1 : 0);
    }
  }
  return date ? kDateStyle : 0;
}

std::string StyleSheet() {
  std::string fills =
      "<fill><patternFill patternType=\"none\"/></fill>"
      "<fill><patternFill patternType=\"gray125\"/></fill>";
  std::string styles =
      "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
      "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>"
      "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
      "applyNumberFormat=\"1\"/>";
  for (size_t i = 0; i < std::size(kPalette); ++i) {
    const std::string fill = std::to_string(i + 2);
    fills += "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"" +
             std::string(kPalette[i].rgb) + "\"/><bgColor indexed=\"64\"/></patternFill></fill>";
    styles += "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"" + fill +
              "\" borderId=\"0\" xfId=\"0\" applyFill=\"1\"/>"
              "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"" +
              fill + "\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\" applyFill=\"1\"/>";
  }
  const std::string font = "<sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/>";
  return std::string(kXmlHead) + "<styleSheet xmlns=\"" + std::string(kMainNs) +
         "\"><numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"dd.mm.yyyy\"/></numFmts>"
         "<fonts count=\"2\"><font>" +
         font + "</font><font><b/>" + font + "</font></fonts><fills count=\"" +
         std::to_string(std::size(kPalette) + 2) + "\">" + fills +
         "</fills><borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border>"
         "</borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
         "borderId=\"0\"/></cellStyleXfs><cellXfs count=\"" +
         std::to_string(3 + 2 * std::size(kPalette)) + "\">" + styles +
         "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" "
         "builtinId=\"0\"/></cellStyles></styleSheet>";
}

std::string ContentTypes() {
  const std::string prefix = "application/vnd.openxmlformats-";
  return std::string(kXmlHead) +
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" ContentType=\"" +
         prefix +
         "package.relationships+xml\"/><Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" +
         prefix + "officedocument.spreadsheetml.sheet.main+xml\"/>" +
         "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"" + prefix +
         "officedocument.spreadsheetml.worksheet+xml\"/>" +
         "<Override PartName=\"/xl/styles.xml\" ContentType=\"" + prefix +
         "officedocument.spreadsheetml.styles+xml\"/>" +
         "<Override PartName=\"/docProps/core.xml\" ContentType=\"" + prefix +
         "package.core-properties+xml\"/></Types>";
}

std::string Relationship(std::string_view id, std::string_view type, std::string_view target) {
  return "<Relationship Id=\"" + std::string(id) + "\" Type=\"" + std::string(type) +
         "\" Target=\"" + std::string(target) + "\"/>";
}

std::string Relationships(const std::string& list) {
  return std::string(kXmlHead) + "<Relationships xmlns=\"" + std::string(kPackageRelationshipNs) +
         "\">" + list + "</Relationships>";
}

std::string Workbook() {
  return std::string(kXmlHead) + "<workbook xmlns=\"" + std::string(kMainNs) + "\" xmlns:r=\"" +
         std::string(kRelationshipNs) +
         "\"><bookViews><workbookView/></bookViews><sheets><sheet name=\"Zahlungen\" "
         "sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
}

// The clock's date serial (days since 30.12.1899) as seconds since 1.1.1970. The document's
// creation time follows the run's clock, so a run with a fixed clock writes the same bytes every
// time.
std::time_t CreationTime() {
  constexpr double kUnixEpochSerial = 25569;
  const double seconds = std::round((GetClock()->Now() - kUnixEpochSerial) * 86400);
  return seconds > 0 ? static_cast<std::time_t>(seconds) : 0;
}

std::string CoreProperties(std::time_t created) {
  std::tm utc{};
  gmtime_r(&created, &utc);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
  const std::string w3c = std::string("xsi:type=\"dcterms:W3CDTF\">") + stamp;
  return std::string(kXmlHead) +
         "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/"
         "core-properties\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dcterms:created " +
         w3c + "</dcterms:created><dcterms:modified " + w3c +
         "</dcterms:modified></cp:coreProperties>";
}

// The sheet, written a few hundred rows at a time while the archive packs it: the whole sheet of a
// large member list never has to be in memory, and texts stay in their cells, so no table of
// every distinct text is needed either.
class SheetStream {
 public:
  SheetStream(const ColouredTable& table, const std::vector<std::string>& header)
      : table_(table), header_(header) {
    const Table& colours = table.colours;
    coloured_ = colours.RowCount() == table.values.RowCount() &&
                colours.ColCount() == table.values.ColCount();
    const int32_t columns =
        std::max<int32_t>(table.values.ColCount(), static_cast<int32_t>(header.size()));
    for (int32_t c = 1; c <= columns; ++c) column_names_.push_back(detail::ColumnLetters(c));
  }

  std::string_view Next() {
    piece_.clear();
    if (row_ == kAfterEnd) return piece_;
    if (row_ == kBeforeStart) {
      piece_.append(kXmlHead);
      piece_ += "<worksheet xmlns=\"";
      piece_.append(kMainNs);
      piece_ +=
          "\"><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
          "<sheetData>";
      if (!header_.empty()) AppendHeader();
      row_ = 0;
    }
    const int32_t rows = table_.values.RowCount();
    while (row_ < rows && piece_.size() < kPieceBytes) AppendRow(row_++);
    if (row_ == rows) {
      piece_ += "</sheetData></worksheet>";
      row_ = kAfterEnd;
    }
    return piece_;
  }

 private:
  static constexpr int32_t kBeforeStart = -1;
  static constexpr int32_t kAfterEnd = -2;
  static constexpr size_t kPieceBytes = size_t{256} * 1024;

  int32_t SheetRow(int32_t row) const { return row + (header_.empty() ? 1 : 2); }

  void AppendHeader() {
    piece_ += "<row r=\"1\">";
    for (size_t c = 0; c < header_.size(); ++c) {
      if (header_[c].empty()) {
        OpenCell(static_cast<int32_t>(c), 1, kBoldStyle, nullptr);
        piece_ += "/>";
      } else {
        AppendText(static_cast<int32_t>(c), 1, kBoldStyle, header_[c]);
      }
    }
    piece_ += "</row>";
  }

  void AppendRow(int32_t r) {
    const Table& values = table_.values;
    const Table& colours = table_.colours;
    const int32_t row = SheetRow(r);
    piece_ += "<row r=\"";
    AppendNumber(row);
    piece_ += "\">";
    for (int32_t c = 0; c < values.ColCount(); ++c) {
      const Variant& cell = values(values.RowLower() + r, values.ColLower() + c);
      const Variant& colour =
          coloured_ ? colours(colours.RowLower() + r, colours.ColLower() + c) : no_colour_;
      AppendCell(c, row, cell, colour);
    }
    piece_ += "</row>";
  }

  void AppendCell(int32_t column, int32_t row, const Variant& cell, const Variant& colour) {
    switch (cell.type()) {
      case VarType::kString:
        if (!cell.AsString().empty())
          return AppendText(column, row, StyleOf(colour, false), cell.AsString());
        break;
      case VarType::kInteger:
      case VarType::kLong:
      case VarType::kDouble:
        return AppendValue(column, row, StyleOf(colour, false), CDbl(cell));
      case VarType::kDate:
        return AppendValue(column, row, StyleOf(colour, true), cell.AsDate());
      case VarType::kBoolean:
        OpenCell(column, row, StyleOf(colour, false), "b");
        piece_ += cell.AsBool() ? "><v>1</v></c>" : "><v>0</v></c>";
        return;
      default:
        break;
    }
    // An empty cell is written only to show its colour.
    const int style = StyleOf(colour, false);
    if (style != 0) {
      OpenCell(column, row, style, nullptr);
      piece_ += "/>";
    }
  }

  void OpenCell(int32_t column, int32_t row, int style, const char* type) {
    piece_ += "<c r=\"";
    piece_ += column_names_[static_cast<size_t>(column)];
    AppendNumber(row);
    piece_ += '"';
    if (style != 0) {
      piece_ += " s=\"";
      AppendNumber(style);
      piece_ += '"';
    }
    if (type != nullptr) {
      piece_ += " t=\"";
      piece_ += type;
      piece_ += '"';
    }
  }

  void AppendValue(int32_t column, int32_t row, int style, double value) {
    if (!std::isfinite(value)) {
      // No spreadsheet holds an infinite number: the cell shows the error instead of vanishing.
      OpenCell(column, row, style, "e");
      piece_ += "><v>#NUM!</v></c>";
      return;
    }
    OpenCell(column, row, style, nullptr);
    piece_ += "><v>";
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    piece_.append(digits, result.ptr);
    piece_ += "</v></c>";
  }

  void AppendText(int32_t column, int32_t row, int style, std::string_view text) {
    OpenCell(column, row, style, "inlineStr");
    // A spreadsheet drops blanks at either end of a text unless told to keep them.
    const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r'; };
    piece_ +=
        blank(text.front()) || blank(text.back()) ? "><is><t xml:space=\"preserve\">" : "><is><t>";
    AppendEscaped(text);
    piece_ += "</t></is></c>";
  }

  // Control characters cannot stand in XML; spreadsheets write them as _xHHHH_. A carriage
  // return goes the same way, since an XML reader would turn it into a line feed.
  void AppendEscaped(std::string_view text) {
    size_t done = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const auto ch = static_cast<unsigned char>(text[i]);
      if (ch >= 0x20 && ch != '&' && ch != '<' && ch != '>') continue;
      if (ch == '\t' || ch == '\n') continue;
      piece_.append(text, done, i - done);
      done = i + 1;
      switch (ch) {
        case '&':
          piece_ += "&amp;";
          break;
        case '<':
          piece_ += "&lt;";
          break;
        case '>':
          piece_ += "&gt;";
          break;
        default: {
          static constexpr char kHex[] = "0123456789ABCDEF";
          piece_ += "_x00";
          piece_ += kHex[ch >> 4];
          piece_ += kHex[ch & 15];
          piece_ += '_';
        }
      }
    }
    piece_.append(text, done);
  }

  void AppendNumber(int32_t number) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    piece_.append(digits, result.ptr);
  }

  const ColouredTable& table_;
  const std::vector<std::string>& header_;
  bool coloured_ = false;
  const Variant no_colour_;  // the colour of every cell of a table without colours
  std::vector<std::string> column_names_;
  int32_t row_ = kBeforeStart;
  std::string piece_;
};

// A spreadsheet program opens no sheet beyond its largest one, and cutting the table there would
// lose payments without a word: such a table is refused whole.
void CheckFitsOnASheet(const ColouredTable& table, const std::vector<std::string>& header) {
  const int64_t rows = int64_t{table.values.RowCount()} + (header.empty() ? 0 : 1);
  const int64_t columns =
      std::max<int64_t>(table.values.ColCount(), static_cast<int64_t>(header.size()));
  const auto refuse = [](const char* what, int64_t count, int32_t most) {
    throw VbError(9, std::string("Zu viele ") + what +
                         " für ein Tabellenblatt: " + std::to_string(count) + " (höchstens " +
                         std::to_string(most) + "); als .csv speichern");
  };
  if (rows > detail::kMaxSheetRows) refuse("Zeilen", rows, detail::kMaxSheetRows);
  if (columns > detail::kMaxSheetColumns) refuse("Spalten", columns, detail::kMaxSheetColumns);
}

std::string WorkbookBytes(const ColouredTable& table, const std::vector<std::string>& header) {
  CheckFitsOnASheet(table, header);
  const std::time_t created = CreationTime();
  const std::string types = ContentTypes();
  const std::string package_links = Relationships(
      Relationship("rId1", std::string(kRelationshipNs) + "/officeDocument", "xl/workbook.xml") +
      Relationship("rId2", std::string(kPackageRelationshipNs) + "/metadata/core-properties",
                   "docProps/core.xml"));
  const std::string workbook = Workbook();
  const std::string workbook_links = Relationships(
      Relationship("rId1", std::string(kRelationshipNs) + "/worksheet", "worksheets/sheet1.xml") +
      Relationship("rId2", std::string(kRelationshipNs) + "/styles", "styles.xml"));
  const std::string styles = StyleSheet();
  const std::string properties = CoreProperties(created);
  // The archive states the sheet's size before its bytes: a first pass counts them.
  uint64_t sheet_size = 0;
  SheetStream counter(table, header);
  for (std::string_view piece = counter.Next(); !piece.empty(); piece = counter.Next()) {
    sheet_size += piece.size();
  }
  SheetStream sheet(table, header);

  ZipWriter archive(created);
  archive.Add("[Content_Types].xml", types);
  archive.Add("_rels/.rels", package_links);
  archive.Add("docProps/core.xml", properties);
  archive.Add("xl/workbook.xml", workbook);
  archive.Add("xl/_rels/workbook.xml.rels", workbook_links);
  archive.Add("xl/styles.xml", styles);
  archive.AddStreamed("xl/worksheets/sheet1.xml", sheet_size, [&sheet] { return sheet.Next(); });
  return archive.Finish();
}

}  // namespace

void WriteXlsx(const std::string& path, const ColouredTable& table,
               const std::vector<std::string>& header) {
  try {
    files::FileWriter file(path);
    file.Write(WorkbookBytes(table, header));
    file.Commit();
  } catch (const VbError& failure) {
    throw WorkbookError("Tabelle nicht geschrieben: " + path + " (" + failure.description() + ")");
  }
}

}  // namespace lastora
