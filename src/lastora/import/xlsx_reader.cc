// Office Open XML workbooks (.xlsx, .xlsm): a zip package of XML parts.
#include <libxml/parser.h>

#include <charconv>
#include <future>
#include <map>
#include <string>
#include <vector>

#include "core/package_paths.h"
#include "import/number_formats.h"
#include "import/workbook_reader.h"
#include "import/xlsx_sax.h"
#include "import/xml_stream.h"
#include "import/zip_archive.h"
#include "lastora/variant.h"

namespace lastora::detail {
namespace {

// Days between the 1904 and the 1900 date systems.
constexpr double kDate1904Offset = 1462;

struct Relationship {
  std::string type;
  std::string target;
};

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::map<std::string, Relationship> ReadRelationships(const ZipArchive& zip,
                                                      const std::string& rels_part) {
  std::map<std::string, Relationship> relationships;
  const std::optional<std::string> bytes = zip.Read(rels_part);
  if (!bytes) return relationships;
  XmlStream xml(*bytes, rels_part);
  while (xml.Next()) {
    if (!xml.IsStart() || xml.LocalName() != "Relationship") continue;
    std::string id;
    Relationship relationship;
    xml.ForEachAttribute([&](std::string_view name, std::string_view value) {
      if (name == "Id") id = value;
      if (name == "Type") relationship.type = value;
      if (name == "Target") relationship.target = value;
    });
    relationships[id] = std::move(relationship);
  }
  return relationships;
}

// The rels part that belongs to a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
std::string RelsPartOf(const std::string& part) {
  const std::string folder = FolderOf(part);
  return folder + "_rels/" + part.substr(folder.size()) + ".rels";
}

std::string TargetOfType(const std::map<std::string, Relationship>& relationships,
                         const std::string& source_folder, std::string_view type_suffix,
                         const std::string& fallback) {
  for (const auto& [id, relationship] : relationships) {
    if (EndsWith(relationship.type, type_suffix)) {
      return ResolveTarget(source_folder, relationship.target);
    }
  }
  return fallback;
}

class XlsxReader : public WorkbookReader {
 public:
  explicit XlsxReader(const std::string& path) : path_(path), zip_(path) {
    const auto root = ReadRelationships(zip_, "_rels/.rels");
    workbook_part_ = TargetOfType(root, "", "/officeDocument", "xl/workbook.xml");
    core_part_ = TargetOfType(root, "", "/core-properties", "docProps/core.xml");
    ReadWorkbook();
  }

  std::vector<std::string> SheetNames() override { return sheet_names_; }

  std::optional<double> CreationDate() override {
    const std::optional<std::string> bytes = zip_.Read(core_part_);
    if (!bytes) return std::nullopt;
    XmlStream xml(*bytes, core_part_);
    while (xml.Next()) {
      if (xml.IsStart() && xml.LocalName() == "created") {
        return ParseIsoDateTime(xml.ElementText());
      }
    }
    return std::nullopt;
  }

  SheetGrid ReadSheet(size_t index) override {
    const std::string& part = sheet_parts_.at(index);
    if (!styles_loaded_) LoadStyles();
    // The shared texts are read on a second core while this one reads the sheet; the cells that
    // refer to them hold a Null until both are done.
    std::future<std::vector<std::string>> shared;
    if (!shared_loaded_) shared = StartSharedStrings();
    SheetGrid grid;
    std::vector<SharedTextCell> text_cells;
    try {
      ParseSheetCells(ReadPart(zip_, part), part, [&](const RawCell& cell) {
        if (cell.type == "s" && !cell.value.empty()) {
          text_cells.push_back({cell.row, cell.column, SharedIndex(cell.value, part)});
          grid.Set(cell.row, cell.column, Variant::Null());
        } else {
          grid.Set(cell.row, cell.column,
                   CellValue(cell.type, cell.style, cell.value, cell.inline_text, part));
        }
      });
    } catch (...) {
      // A broken text table is reported before a broken sheet, as when it was read first.
      if (shared.valid()) shared.get();
      throw;
    }
    if (shared.valid()) {
      shared_strings_ = shared.get();
      shared_loaded_ = true;
    }
    FillSharedTexts(grid, text_cells, part);
    return grid;
  }

 private:
  void ReadWorkbook() {
    const std::optional<std::string> bytes = zip_.Read(workbook_part_);
    if (!bytes) ThrowUnreadable(path_, workbook_part_ + " fehlt");
    const std::string folder = FolderOf(workbook_part_);
    const auto relationships = ReadRelationships(zip_, RelsPartOf(workbook_part_));
    shared_strings_part_ =
        TargetOfType(relationships, folder, "/sharedStrings", folder + "sharedStrings.xml");
    styles_part_ = TargetOfType(relationships, folder, "/styles", folder + "styles.xml");

    XmlStream xml(*bytes, workbook_part_);
    while (xml.Next()) {
      if (!xml.IsStart()) continue;
      if (xml.LocalName() == "workbookPr") {
        const std::optional<std::string> date1904 = xml.Attribute("date1904");
        date1904_ = date1904 && (*date1904 == "1" || *date1904 == "true");
      } else if (xml.LocalName() == "sheet") {
        const std::optional<std::string> name = xml.Attribute("name");
        const std::optional<std::string> id = xml.Attribute("id");
        const auto found = id ? relationships.find(*id) : relationships.end();
        if (!name || found == relationships.end()) ThrowUnreadable(path_, "Blattverweis");
        sheet_names_.push_back(*name);
        sheet_parts_.push_back(ResolveTarget(folder, found->second.target));
      }
    }
    if (sheet_names_.empty()) ThrowUnreadable(path_, "keine Tabellenblätter");
  }

  std::future<std::vector<std::string>> StartSharedStrings() const {
    if (!zip_.Has(shared_strings_part_)) {
      std::promise<std::vector<std::string>> none;
      none.set_value({});
      return none.get_future();
    }
    xmlInitParser();  // once, before two threads parse at the same time
    return std::async(std::launch::async, [path = path_, part = shared_strings_part_] {
      // An archive handle must not be shared between threads.
      const ZipArchive zip(path);
      return ParseSharedStrings(ReadPart(zip, part), part);
    });
  }

  void LoadStyles() {
    if (const std::optional<std::string> bytes = zip_.Read(styles_part_)) ReadStyles(*bytes);
    styles_loaded_ = true;
  }

  // A reference into the shared texts, kept until they are read.
  struct SharedTextCell {
    int32_t row;
    int32_t column;
    size_t index;
  };

  size_t SharedIndex(std::string_view value, const std::string& part) const {
    size_t index = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), index);
    if (error != std::errc()) ThrowUnreadable(path_, part + ": Textverweis");
    return index;
  }

  // Later cells at the same address replace earlier ones, as when they were stored in order:
  // the last reference wins, and only where no other value replaced its Null since.
  void FillSharedTexts(SheetGrid& grid, const std::vector<SharedTextCell>& cells,
                       const std::string& part) const {
    for (auto cell = cells.rbegin(); cell != cells.rend(); ++cell) {
      if (cell->index >= shared_strings_.size()) ThrowUnreadable(path_, part + ": Textverweis");
      if (!grid.At(cell->row, cell->column).IsNull()) continue;
      grid.Set(cell->row, cell->column, Variant(shared_strings_[cell->index]));
    }
  }

  void ReadStyles(const std::string& bytes) {
    std::map<int, std::string> custom_formats;
    XmlStream xml(bytes, styles_part_);
    bool in_cell_formats = false;
    while (xml.Next()) {
      if (xml.IsEnd() && xml.LocalName() == "cellXfs") in_cell_formats = false;
      if (!xml.IsStart()) continue;
      const std::string_view name = xml.LocalName();
      if (name == "numFmt") {
        int id = 0;
        std::string code;
        xml.ForEachAttribute([&](std::string_view attribute, std::string_view value) {
          if (attribute == "numFmtId")
            std::from_chars(value.data(), value.data() + value.size(), id);
          if (attribute == "formatCode") code = value;
        });
        custom_formats[id] = std::move(code);
      } else if (name == "cellXfs") {
        in_cell_formats = !xml.IsEmptyElement();
      } else if (name == "xf" && in_cell_formats) {
        int id = 0;
        if (const std::optional<std::string> value = xml.Attribute("numFmtId")) {
          std::from_chars(value->data(), value->data() + value->size(), id);
        }
        const auto custom = custom_formats.find(id);
        date_styles_.push_back(
            IsDateFormat(id, custom == custom_formats.end() ? std::string() : custom->second));
      }
    }
  }

  bool IsDateStyle(int32_t style) const {
    return style >= 0 && static_cast<size_t>(style) < date_styles_.size() && date_styles_[style];
  }

  Variant CellValue(std::string_view type, int32_t style, std::string_view value,
                    std::string_view inline_text, const std::string& part) const {
    if (type == "inlineStr") return Variant(inline_text);
    if (type == "str" || type == "e") return Variant(value);
    // A cell with a format but no value (or a formula not yet calculated) is empty.
    if (value.empty()) return Variant();
    if (type == "b") return Variant(value == "1" || value == "true");
    if (type == "d") {
      const std::optional<double> date = ParseIsoDateTime(value);
      if (!date) ThrowUnreadable(path_, part + ": Datum " + std::string(value));
      return Variant::Date(*date);
    }
    double number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size()) {
      ThrowUnreadable(path_, part + ": Zahl " + std::string(value));
    }
    if (IsDateStyle(style)) return Variant::Date(date1904_ ? number + kDate1904Offset : number);
    return Variant(number);
  }

  static std::string ReadPart(const ZipArchive& zip, const std::string& part) {
    std::optional<std::string> bytes = zip.Read(part);
    if (!bytes) ThrowUnreadable(zip.Path(), part + " fehlt");
    return std::move(*bytes);
  }

  std::string path_;
  ZipArchive zip_;
  std::string workbook_part_;
  std::string core_part_;
  std::string shared_strings_part_;
  std::string styles_part_;
  std::vector<std::string> sheet_names_;
  std::vector<std::string> sheet_parts_;
  bool date1904_ = false;
  bool shared_loaded_ = false;
  bool styles_loaded_ = false;
  std::vector<std::string> shared_strings_;
  std::vector<bool> date_styles_;  // by cell format index
};

}  // namespace

std::unique_ptr<WorkbookReader> OpenXlsxReader(const std::string& path) {
  return std::make_unique<XlsxReader>(path);
}

}  // namespace lastora::detail
