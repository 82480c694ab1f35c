// OpenDocument spreadsheets (.ods): a zip package whose content.xml holds every sheet.
#include <charconv>
#include <string>
#include <vector>

#include "import/workbook_reader.h"
#include "import/xml_stream.h"
#include "import/zip_archive.h"
#include "lastora/variant.h"

namespace lastora::detail {
namespace {

// A repeat count beyond the sheet is how the format pads a sheet to its full size; it never
// carries values, and a value repeated that often is a broken file.
int32_t RepeatCount(const XmlStream& xml, std::string_view attribute) {
  const std::optional<std::string> text = xml.Attribute(attribute);
  int64_t count = 1;
  if (text) std::from_chars(text->data(), text->data() + text->size(), count);
  if (count < 1) count = 1;
  return count > kMaxSheetRows ? kMaxSheetRows : static_cast<int32_t>(count);
}

// "PT12H30M15S" (a time of day or a duration) as a fraction of a day.
std::optional<double> ParseDuration(std::string_view text) {
  if (text.substr(0, 2) != "PT") return std::nullopt;
  double total = 0;
  size_t pos = 2;
  while (pos < text.size()) {
    double amount = 0;
    const auto [end, error] = std::from_chars(text.data() + pos, text.data() + text.size(), amount);
    if (error != std::errc() || end == text.data() + text.size()) return std::nullopt;
    pos = static_cast<size_t>(end - text.data());
    switch (text[pos++]) {
      case 'H':
        total += amount / 24;
        break;
      case 'M':
        total += amount / (24 * 60);
        break;
      case 'S':
        total += amount / (24 * 60 * 60);
        break;
      default:
        return std::nullopt;
    }
  }
  return total;
}

struct CellAttributes {
  std::string type;
  std::string value;
  std::string date_value;
  std::string time_value;
  std::string boolean_value;
  std::string string_value;
  bool has_string_value = false;
};

CellAttributes ReadCellAttributes(const XmlStream& xml) {
  CellAttributes cell;
  xml.ForEachAttribute([&](std::string_view name, std::string_view value) {
    if (name == "value-type") cell.type = value;
    if (name == "value") cell.value = value;
    if (name == "date-value") cell.date_value = value;
    if (name == "time-value") cell.time_value = value;
    if (name == "boolean-value") cell.boolean_value = value;
    if (name == "string-value") {
      cell.string_value = value;
      cell.has_string_value = true;
    }
  });
  return cell;
}

// The paragraphs of a cell, joined by line breaks; notes attached to the cell are left out.
std::string ReadCellText(XmlStream& xml) {
  std::string text;
  if (xml.IsEmptyElement()) return text;
  const int depth = xml.Depth();
  int note_depth = -1;
  bool first_paragraph = true;
  while (xml.Next()) {
    if (xml.IsEnd() && xml.Depth() == depth) break;
    if (note_depth >= 0) {
      if (xml.IsEnd() && xml.Depth() == note_depth) note_depth = -1;
      continue;
    }
    if (xml.IsStart()) {
      const std::string_view name = xml.LocalName();
      if (name == "annotation") {
        if (!xml.IsEmptyElement()) note_depth = xml.Depth();
      } else if (name == "p") {
        if (!first_paragraph) text += '\n';
        first_paragraph = false;
      } else if (name == "s") {
        text.append(static_cast<size_t>(RepeatCount(xml, "c")), ' ');
      } else if (name == "tab") {
        text += '\t';
      } else if (name == "line-break") {
        text += '\n';
      }
    } else if (xml.IsText()) {
      text.append(xml.Value());
    }
  }
  return text;
}

class OdsReader : public WorkbookReader {
 public:
  explicit OdsReader(const std::string& path) : path_(path), zip_(path) {
    const std::optional<std::string> content = zip_.Read("content.xml");
    if (!content) ThrowUnreadable(path, "content.xml fehlt");
    ReadContent(*content);
    if (names_.empty()) ThrowUnreadable(path, "keine Tabellenblätter");
  }

  std::vector<std::string> SheetNames() override { return names_; }

  std::optional<double> CreationDate() override {
    const std::optional<std::string> meta = zip_.Read("meta.xml");
    if (!meta) return std::nullopt;
    XmlStream xml(*meta, "meta.xml");
    while (xml.Next()) {
      if (xml.IsStart() && xml.LocalName() == "creation-date") {
        return ParseIsoDateTime(xml.ElementText());
      }
    }
    return std::nullopt;
  }

  SheetGrid ReadSheet(size_t index) override { return grids_.at(index); }

 private:
  Variant CellValue(XmlStream& xml) {
    const CellAttributes cell = ReadCellAttributes(xml);
    const std::string text = ReadCellText(xml);
    if (cell.type == "float" || cell.type == "percentage" || cell.type == "currency") {
      double number = 0;
      const auto [end, error] =
          std::from_chars(cell.value.data(), cell.value.data() + cell.value.size(), number);
      if (error != std::errc()) ThrowUnreadable(path_, "Zahl " + cell.value);
      return Variant(number);
    }
    if (cell.type == "date") {
      const std::optional<double> date = ParseIsoDateTime(cell.date_value);
      if (!date) ThrowUnreadable(path_, "Datum " + cell.date_value);
      return Variant::Date(*date);
    }
    if (cell.type == "time") {
      const std::optional<double> time = ParseDuration(cell.time_value);
      if (!time) ThrowUnreadable(path_, "Zeit " + cell.time_value);
      return Variant::Date(*time);
    }
    if (cell.type == "boolean") return Variant(cell.boolean_value == "true");
    if (cell.has_string_value) return Variant(cell.string_value);
    if (cell.type == "string" || !text.empty()) return Variant(text);
    return Variant();
  }

  void ReadRow(XmlStream& xml, SheetGrid& grid, int32_t row) {
    if (xml.IsEmptyElement()) return;
    const int depth = xml.Depth();
    int32_t column = 0;
    while (xml.Next() && !(xml.IsEnd() && xml.Depth() == depth)) {
      if (!xml.IsStart()) continue;
      const std::string_view name = xml.LocalName();
      if (name != "table-cell" && name != "covered-table-cell") continue;
      const int32_t repeat = RepeatCount(xml, "number-columns-repeated");
      const Variant value = CellValue(xml);
      if (!value.IsEmpty()) {
        for (int32_t i = 1; i <= repeat; ++i) grid.Set(row, column + i, value);
      }
      column += repeat;
      if (column > kMaxSheetColumns) column = kMaxSheetColumns;
    }
  }

  void ReadContent(const std::string& content) {
    XmlStream xml(content, "content.xml");
    int table_depth = -1;
    int32_t row = 0;
    while (xml.Next()) {
      if (xml.IsEnd() && xml.Depth() == table_depth) table_depth = -1;
      if (!xml.IsStart()) continue;
      const std::string_view name = xml.LocalName();
      if (name == "table" && table_depth < 0) {
        names_.push_back(xml.Attribute("name").value_or(""));
        grids_.emplace_back();
        row = 0;
        if (!xml.IsEmptyElement()) table_depth = xml.Depth();
      } else if (name == "table-row" && table_depth >= 0) {
        const int32_t repeat = RepeatCount(xml, "number-rows-repeated");
        SheetGrid once;
        ReadRow(xml, once, 1);
        for (int32_t i = 1; i <= repeat && once.LastRow() > 0; ++i) {
          for (int32_t c = 1; c <= once.LastColumn(); ++c)
            grids_.back().Set(row + i, c, once.At(1, c));
        }
        row += repeat;
        if (row > kMaxSheetRows) row = kMaxSheetRows;
      }
    }
  }

  std::string path_;
  ZipArchive zip_;
  std::vector<std::string> names_;
  std::vector<SheetGrid> grids_;
};

}  // namespace

std::unique_ptr<WorkbookReader> OpenOdsReader(const std::string& path) {
  return std::make_unique<OdsReader>(path);
}

}  // namespace lastora::detail
