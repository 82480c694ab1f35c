#include "platform/posix/xlsx_document.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>

#include "core/cell_reference.h"
#include "core/package_paths.h"
#include "lastora/vb_error.h"
#include "platform/posix/package_parts.h"
#include "platform/posix/picture_size.h"

namespace lastora {
namespace {

constexpr char kWorkbookPart[] = "xl/workbook.xml";
constexpr char kWorkbookRelsPart[] = "xl/_rels/workbook.xml.rels";
constexpr char kSharedStringsPart[] = "xl/sharedStrings.xml";
constexpr char kContentTypesPart[] = "[Content_Types].xml";
constexpr char kSettingsSheet[] = "Settings";
constexpr std::string_view kDrawingNs =
    "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing";
constexpr char kLogoPart[] = "xl/media/lastora_logo.png";
constexpr char kPrintArea[] = "_xlnm.Print_Area";
// Elements of a worksheet that come after its row breaks, in the order the format fixes.
constexpr std::string_view kAfterRowBreaks[] = {
    "colBreaks",  "customProperties", "cellWatches",     "ignoredErrors", "smartTags",
    "drawing",    "legacyDrawing",    "legacyDrawingHF", "drawingHF",     "picture",
    "oleObjects", "controls",         "webPublishItems", "tableParts",    "extLst"};

std::string RelAttribute(const xmlNode* node, const char* name) {
  xmlChar* value = xmlGetNsProp(node, reinterpret_cast<const xmlChar*>(name),
                                reinterpret_cast<const xmlChar*>(kRelNs.data()));
  if (value == nullptr) return "";
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

std::string Reference(int32_t row, int32_t column) {
  return detail::ColumnLetters(column) + std::to_string(row);
}

bool ParseReference(const std::string& reference, TemplateCell* cell) {
  return detail::ParseCellReference(reference, cell->row, cell->column);
}

// A row's number: its own reference, or the one after the row before it.
int32_t RowNumber(const xmlNode* row, int32_t previous) {
  const std::string number = Attribute(row, "r");
  return number.empty() ? previous + 1 : std::atoi(number.c_str());
}

// A cell with its place. The format lets a writer leave out the references of rows and cells
// that follow on from the one before; those are counted on.
struct PlacedCell {
  xmlNode* node;
  int32_t row;
  int32_t column;
};

std::vector<PlacedCell> Cells(xmlDoc* sheet) {
  std::vector<PlacedCell> cells;
  xmlNode* data = ChildElement(xmlDocGetRootElement(sheet), kSheetNs, "sheetData");
  if (data == nullptr) return cells;
  int32_t row = 0;
  for (xmlNode* row_node = data->children; row_node != nullptr; row_node = row_node->next) {
    if (!IsElement(row_node, kSheetNs, "row")) continue;
    row = RowNumber(row_node, row);
    int32_t column = 0;
    for (xmlNode* cell = row_node->children; cell != nullptr; cell = cell->next) {
      if (!IsElement(cell, kSheetNs, "c")) continue;
      TemplateCell at;
      column = ParseReference(Attribute(cell, "r"), &at) ? at.column : column + 1;
      cells.push_back({cell, row, column});
    }
  }
  return cells;
}

xmlNode* RootChild(xmlDoc* doc, const char* name) {
  return ChildElement(xmlDocGetRootElement(doc), kSheetNs, name);
}

// Sizes as the workbook writes them: "41", "31.5".
std::string SizeText(double size) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", size);
  return text;
}

// The row attributes of the template row, for every copy of it.
xmlNode* CopyRowElement(xmlNode* template_row, xmlNode* data, int32_t row, double height) {
  xmlNode* copy =
      template_row != nullptr ? CloneUnder(template_row, data, false) : NewChild(data, "row");
  SetAttribute(copy, "r", std::to_string(row));
  xmlUnsetProp(copy, reinterpret_cast<const xmlChar*>("spans"));
  if (height > 0) {
    SetAttribute(copy, "ht", SizeText(height));
    SetAttribute(copy, "customHeight", "1");
  }
  return copy;
}

// Attributes of one column of the template (min and max left out), in attribute order.
using ColumnFormat = std::vector<std::pair<std::string, std::string>>;

std::map<int32_t, ColumnFormat> ColumnFormats(xmlNode* cols) {
  std::map<int32_t, ColumnFormat> formats;
  if (cols == nullptr) return formats;
  for (xmlNode* col = cols->children; col != nullptr; col = col->next) {
    if (!IsElement(col, kSheetNs, "col")) continue;
    ColumnFormat format;
    for (xmlAttr* attribute = col->properties; attribute != nullptr; attribute = attribute->next) {
      const std::string name(reinterpret_cast<const char*>(attribute->name));
      if (name != "min" && name != "max") format.emplace_back(name, Attribute(col, name.c_str()));
    }
    const int32_t first = std::max(std::atoi(Attribute(col, "min").c_str()), 1);
    const int32_t last =
        std::min(std::atoi(Attribute(col, "max").c_str()), detail::kMaxSheetColumns);
    for (int32_t column = first; column <= last; ++column) formats[column] = format;
  }
  return formats;
}

void SetFormatValue(ColumnFormat& format, const std::string& name, const std::string& value) {
  for (auto& [key, old] : format) {
    if (key == name) {
      old = value;
      return;
    }
  }
  format.emplace_back(name, value);
}

// Column formats in ranges of equal neighbours, as the format wants them.
void WriteColumns(xmlNode* cols, const std::map<int32_t, ColumnFormat>& formats) {
  for (auto it = formats.begin(); it != formats.end();) {
    auto end = std::next(it);
    int32_t last = it->first;
    while (end != formats.end() && end->first == last + 1 && end->second == it->second) {
      last = end->first;
      ++end;
    }
    xmlNode* col = NewChild(cols, "col");
    SetAttribute(col, "min", std::to_string(it->first));
    SetAttribute(col, "max", std::to_string(last));
    for (const auto& [name, value] : it->second) SetAttribute(col, name.c_str(), value);
    it = end;
  }
}

// "B2:C3" -> its corners; false for anything else.
bool ParseRange(const std::string& range, TemplateCell* first, TemplateCell* last) {
  const size_t colon = range.find(':');
  if (colon == std::string::npos) return false;
  return ParseReference(range.substr(0, colon), first) &&
         ParseReference(range.substr(colon + 1), last);
}

void InsertRowBreaks(xmlNode* root, const std::vector<int32_t>& rows) {
  if (xmlNode* old = ChildElement(root, kSheetNs, "rowBreaks")) RemoveNode(old);
  if (rows.empty()) return;
  xmlNode* breaks =
      xmlNewDocNode(root->doc, root->ns, reinterpret_cast<const xmlChar*>("rowBreaks"), nullptr);
  SetAttribute(breaks, "count", std::to_string(rows.size()));
  SetAttribute(breaks, "manualBreakCount", std::to_string(rows.size()));
  for (int32_t row : rows) {
    xmlNode* brk = NewChild(breaks, "brk");
    SetAttribute(brk, "id", std::to_string(row));
    SetAttribute(brk, "max", "16383");
    SetAttribute(brk, "man", "1");
  }
  for (xmlNode* child = root->children; child != nullptr; child = child->next) {
    for (std::string_view later : kAfterRowBreaks) {
      if (IsElement(child, kSheetNs, later)) {
        xmlAddPrevSibling(child, breaks);
        return;
      }
    }
  }
  xmlAddChild(root, breaks);
}

struct NodeFreer {
  void operator()(xmlNode* node) const { xmlFreeNode(node); }
};
using NodePtr = std::unique_ptr<xmlNode, NodeFreer>;

xmlNode* AnchorPoint(xmlNode* anchor, const char* name, const char* axis) {
  xmlNode* point = ChildElement(anchor, kDrawingNs, name);
  return point != nullptr ? ChildElement(point, kDrawingNs, axis) : nullptr;
}

void ShiftAnchorPoint(xmlNode* anchor, const char* name, int32_t rows, int32_t columns) {
  if (xmlNode* row = AnchorPoint(anchor, name, "row")) {
    SetNodeText(row, std::to_string(std::atoi(NodeText(row).c_str()) + rows));
  }
  if (xmlNode* col = AnchorPoint(anchor, name, "col")) {
    SetNodeText(col, std::to_string(std::atoi(NodeText(col).c_str()) + columns));
  }
}

bool IsCellAnchor(const xmlNode* node) {
  return IsElement(node, kDrawingNs, "twoCellAnchor") ||
         IsElement(node, kDrawingNs, "oneCellAnchor");
}

std::string LogoPicture(const std::string& id, const std::string& name, const std::string& x,
                        const std::string& y, int64_t cx, int64_t cy) {
  return "<xdr:pic xmlns:xdr=\"" + std::string(kDrawingNs) + "\" xmlns:a=\"" +
         std::string(kDrawingMainNs) + "\" xmlns:r=\"" + std::string(kRelNs) +
         "\"><xdr:nvPicPr><xdr:cNvPr id=\"" + EscapedAttribute(id) + "\" name=\"" +
         EscapedAttribute(name) +
         "\"/><xdr:cNvPicPr><a:picLocks noChangeAspect=\"1\"/></xdr:cNvPicPr></xdr:nvPicPr>"
         "<xdr:blipFill><a:blip r:embed=\"" +
         std::string(kLogoRelationship) +
         "\"/><a:stretch><a:fillRect/></a:stretch></xdr:blipFill><xdr:spPr><a:xfrm><a:off x=\"" +
         EscapedAttribute(x) + "\" y=\"" + EscapedAttribute(y) + "\"/><a:ext cx=\"" +
         std::to_string(cx) + "\" cy=\"" + std::to_string(cy) +
         "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></xdr:spPr></xdr:pic>";
}

// The anchor keeps its top-left corner and takes the picture's own size.
void SizeAnchor(xmlNode* anchor, int64_t cx, int64_t cy) {
  if (IsElement(anchor, kDrawingNs, "twoCellAnchor")) {
    xmlNodeSetName(anchor, reinterpret_cast<const xmlChar*>("oneCellAnchor"));
    xmlUnsetProp(anchor, reinterpret_cast<const xmlChar*>("editAs"));
    if (xmlNode* to = ChildElement(anchor, kDrawingNs, "to")) RemoveNode(to);
    xmlNode* ext =
        xmlNewDocNode(anchor->doc, anchor->ns, reinterpret_cast<const xmlChar*>("ext"), nullptr);
    xmlNode* from = ChildElement(anchor, kDrawingNs, "from");
    if (from != nullptr) {
      xmlAddNextSibling(from, ext);
    } else {
      xmlAddChild(anchor, ext);
    }
  }
  if (xmlNode* ext = ChildElement(anchor, kDrawingNs, "ext")) {
    SetAttribute(ext, "cx", std::to_string(cx));
    SetAttribute(ext, "cy", std::to_string(cy));
  }
}

void WriteInlineString(xmlNode* cell, const std::string& text) {
  while (cell->children != nullptr) RemoveNode(cell->children);
  SetAttribute(cell, "t", "inlineStr");
  xmlNode* t = NewChild(NewChild(cell, "is"), "t");
  SetNodeText(t, text);
  xmlNodeSetSpacePreserve(t, 1);
}

// Every label column gets the block's column formats; columns right of the labels keep their
// own.
void LayOutColumns(xmlNode* root, xmlNode* data, const LabelSheet& plan) {
  const int32_t columns = plan.block_columns;
  xmlNode* old_cols = ChildElement(root, kSheetNs, "cols");
  const int32_t last_column = plan.labels_across * columns;
  std::map<int32_t, ColumnFormat> formats = ColumnFormats(old_cols);
  const std::map<int32_t, ColumnFormat> block_formats(formats.begin(),
                                                      formats.upper_bound(columns));
  formats.erase(formats.begin(), formats.upper_bound(last_column));
  for (int32_t column = 1; column <= last_column; ++column) {
    const int32_t block_column = (column - 1) % columns + 1;
    const auto format = block_formats.find(block_column);
    ColumnFormat own = format == block_formats.end() ? ColumnFormat{} : format->second;
    if (static_cast<size_t>(block_column) <= plan.column_widths.size() &&
        plan.column_widths[static_cast<size_t>(block_column - 1)] > 0) {
      SetFormatValue(own, "width",
                     SizeText(plan.column_widths[static_cast<size_t>(block_column - 1)]));
      SetFormatValue(own, "customWidth", "1");
    }
    if (!own.empty()) formats[column] = std::move(own);
  }
  if (old_cols != nullptr) RemoveNode(old_cols);
  if (!formats.empty()) {
    xmlNode* cols =
        xmlNewDocNode(root->doc, root->ns, reinterpret_cast<const xmlChar*>("cols"), nullptr);
    xmlAddPrevSibling(data, cols);
    WriteColumns(cols, formats);
  }
}

// Merged cells of the block are merged on every label; others would cut across labels.
void RepeatMergedCells(xmlNode* root, const LabelSheet& plan) {
  xmlNode* merges = ChildElement(root, kSheetNs, "mergeCells");
  if (merges == nullptr) return;
  std::vector<std::pair<TemplateCell, TemplateCell>> merged;
  for (xmlNode* merge = merges->children; merge != nullptr;) {
    xmlNode* next = merge->next;
    TemplateCell first, last;
    if (IsElement(merge, kSheetNs, "mergeCell") &&
        ParseRange(Attribute(merge, "ref"), &first, &last) && last.row <= plan.block_rows &&
        last.column <= plan.block_columns) {
      merged.emplace_back(first, last);
    }
    RemoveNode(merge);
    merge = next;
  }
  if (merged.empty() || plan.labels.empty()) {
    RemoveNode(merges);
    return;
  }
  for (const Label& label : plan.labels) {
    const int32_t down = label.top_row - 1;
    const int32_t right = label.left_column - 1;
    for (const auto& [first, last] : merged) {
      SetAttribute(NewChild(merges, "mergeCell"), "ref",
                   Reference(first.row + down, first.column + right) + ":" +
                       Reference(last.row + down, last.column + right));
    }
  }
  SetAttribute(merges, "count", std::to_string(merged.size() * plan.labels.size()));
}
}  // namespace

XlsxDocument::XlsxDocument(std::string_view bytes, const std::string& source)
    : package_(ZipPackage::Read(bytes, source)) {
  if (!package_.Has(kWorkbookPart)) {
    throw VbError(75, "Die Vorlage ist keine Arbeitsmappe: " + source);
  }
  std::map<std::string, std::string> targets;
  XmlDocPtr rels = ParseXmlPart(package_.Part(kWorkbookRelsPart), kWorkbookRelsPart);
  ForEachElement(xmlDocGetRootElement(rels.get()), [&targets](xmlNode* node) {
    if (IsElement(node, kPackageRelNs, "Relationship")) {
      targets[Attribute(node, "Id")] =
          detail::ResolveTarget(detail::FolderOf(kWorkbookPart), Attribute(node, "Target"));
    }
  });
  if (package_.Has(kSharedStringsPart)) {
    XmlDocPtr shared = ParseXmlPart(package_.Part(kSharedStringsPart), kSharedStringsPart);
    for (xmlNode* item = xmlDocGetRootElement(shared.get())->children; item != nullptr;
         item = item->next) {
      if (!IsElement(item, kSheetNs, "si")) continue;
      std::string text;
      ForEachElement(item, [&text](xmlNode* node) {
        // Phonetic runs are not part of the cell's text.
        if (IsElement(node, kSheetNs, "t") && !IsElement(node->parent, kSheetNs, "rPh")) {
          text += NodeText(node);
        }
      });
      shared_strings_.push_back(std::move(text));
    }
  }
  XmlDocPtr workbook = ParseXmlPart(package_.Part(kWorkbookPart), kWorkbookPart);
  ForEachElement(xmlDocGetRootElement(workbook.get()), [&](xmlNode* node) {
    if (!IsElement(node, kSheetNs, "sheet")) return;
    const std::string rel_id = RelAttribute(node, "id");
    const auto target = targets.find(rel_id);
    if (target == targets.end() || !package_.Has(target->second)) return;  // a chart sheet
    sheets_.push_back({Attribute(node, "name"), rel_id, target->second,
                       ParseXmlPart(package_.Part(target->second), target->second), false});
  });
  if (sheets_.empty()) throw VbError(75, "Die Arbeitsmappe hat kein Tabellenblatt: " + source);
}

std::string XlsxDocument::CellText(const xmlNode* cell) const {
  const std::string type = Attribute(cell, "t");
  if (type == "inlineStr") {
    std::string text;
    for (xmlNode* child = cell->children; child != nullptr; child = child->next) {
      if (IsElement(child, kSheetNs, "is")) text += NodeText(child);
    }
    return text;
  }
  xmlNode* value = ChildElement(const_cast<xmlNode*>(cell), kSheetNs, "v");
  if (value == nullptr) return "";
  const std::string text = NodeText(value);
  if (type != "s") return text;
  char* end = nullptr;
  const unsigned long index = std::strtoul(text.c_str(), &end, 10);
  return (end != text.c_str() && index < shared_strings_.size()) ? shared_strings_[index] : "";
}

std::vector<std::string> XlsxDocument::CellTexts() const {
  std::vector<std::string> texts;
  for (const Sheet& sheet : sheets_) {
    for (const PlacedCell& cell : Cells(sheet.doc.get())) {
      if (std::string text = CellText(cell.node); !text.empty()) texts.push_back(std::move(text));
    }
  }
  return texts;
}

void XlsxDocument::ReplaceAll(const std::string& find, const std::string& replacement) {
  if (find.empty()) return;
  for (Sheet& sheet : sheets_) {
    for (const PlacedCell& cell : Cells(sheet.doc.get())) {
      const std::string text = CellText(cell.node);
      if (text.find(find) == std::string::npos) continue;
      std::string replaced;
      size_t at = 0;
      for (size_t hit = text.find(find); hit != std::string::npos;
           at = hit + find.size(), hit = text.find(find, at)) {
        replaced.append(text, at, hit - at).append(replacement);
      }
      replaced.append(text, at);
      WriteInlineString(cell.node, replaced);
      sheet.changed = true;
    }
  }
}

std::vector<TemplateCell> XlsxDocument::PlaceholderCells() const {
  std::vector<TemplateCell> found;
  for (const PlacedCell& cell : Cells(sheets_.front().doc.get())) {
    std::string text = CellText(cell.node);
    if (text.find("<<") != std::string::npos) {
      found.push_back({cell.row, cell.column, std::move(text)});
    }
  }
  return found;
}

void XlsxDocument::SetCellText(const TemplateCell& target) {
  Sheet& sheet = sheets_.front();
  for (const PlacedCell& cell : Cells(sheet.doc.get())) {
    if (cell.row == target.row && cell.column == target.column) {
      WriteInlineString(cell.node, target.text);
      sheet.changed = true;
      return;
    }
  }
  throw VbError(1004, "Zelle nicht gefunden: Zeile " + std::to_string(target.row) + ", Spalte " +
                          std::to_string(target.column));
}

std::vector<std::string> XlsxDocument::SheetRowTexts(const std::string& name, int32_t row,
                                                     int32_t columns) const {
  std::vector<std::string> texts(static_cast<size_t>(std::max(columns, 0)));
  for (const Sheet& sheet : sheets_) {
    if (sheet.name != name) continue;
    for (const PlacedCell& cell : Cells(sheet.doc.get())) {
      if (cell.row == row && cell.column >= 1 && cell.column <= columns) {
        texts[static_cast<size_t>(cell.column - 1)] = CellText(cell.node);
      }
    }
  }
  return texts;
}

SheetExtent XlsxDocument::UsedExtent() const {
  SheetExtent extent;
  for (const PlacedCell& cell : Cells(sheets_.front().doc.get())) {
    extent.rows = std::max(extent.rows, cell.row);
    extent.columns = std::max(extent.columns, cell.column);
  }
  return extent;
}

void XlsxDocument::LayOutLabels(const LabelSheet& plan) {
  Sheet& sheet = sheets_.front();
  xmlNode* root = xmlDocGetRootElement(sheet.doc.get());
  xmlNode* data = ChildElement(root, kSheetNs, "sheetData");
  if (data == nullptr) throw VbError(1004, "Etiketten: das erste Tabellenblatt hat keine Zellen.");
  const int32_t rows = plan.block_rows;
  const int32_t columns = plan.block_columns;
  std::vector<PlacedCell> block;
  for (const PlacedCell& cell : Cells(sheet.doc.get())) {
    if (cell.row <= rows && cell.column <= columns) {
      block.push_back(cell);
    } else if (!CellText(cell.node).empty()) {
      throw VbError(1004, "Etiketten: In Zelle " + Reference(cell.row, cell.column) +
                              " steht etwas außerhalb des Etiketts (" + Reference(1, 1) + ":" +
                              Reference(rows, columns) +
                              "). Bitte im Blatt Settings Zeilen und Spalten je Etikett "
                              "passend angeben.");
    }
  }
  // The template's rows leave the sheet but live on to the end, for the block's cells are theirs;
  // the first row of each number in the block is the pattern its copies take.
  std::vector<NodePtr> removed_rows;
  std::map<int32_t, xmlNode*> template_rows;
  int32_t row_number = 0;
  for (xmlNode* row = data->children; row != nullptr;) {
    xmlNode* next = row->next;
    xmlUnlinkNode(row);
    removed_rows.emplace_back(row);
    if (IsElement(row, kSheetNs, "row")) {
      row_number = RowNumber(row, row_number);
      if (row_number <= rows) template_rows.emplace(row_number, row);
    }
    row = next;
  }
  // The block's cells per sheet row, ordered by column, with the text each copy gets.
  struct Copy {
    xmlNode* cell;
    const std::string* text;  // nullptr: the template's own
  };
  std::map<int32_t, std::map<int32_t, Copy>> copies;
  for (const Label& label : plan.labels) {
    std::map<std::pair<int32_t, int32_t>, const std::string*> filled;
    for (const TemplateCell& cell : label.cells) filled[{cell.row, cell.column}] = &cell.text;
    for (const PlacedCell& cell : block) {
      const auto value = filled.find({cell.row, cell.column});
      copies[label.top_row + cell.row - 1][label.left_column + cell.column - 1] = {
          cell.node, value == filled.end() ? nullptr : value->second};
    }
  }
  for (int32_t row = 1; row <= plan.label_rows * rows; ++row) {
    const int32_t block_row = (row - 1) % rows + 1;
    const auto pattern = template_rows.find(block_row);
    const double height = static_cast<size_t>(block_row) <= plan.row_heights.size()
                              ? plan.row_heights[static_cast<size_t>(block_row - 1)]
                              : 0;
    const auto cells = copies.find(row);
    if (pattern == template_rows.end() && height <= 0 && cells == copies.end()) continue;
    xmlNode* row_node = CopyRowElement(pattern == template_rows.end() ? nullptr : pattern->second,
                                       data, row, height);
    if (cells == copies.end()) continue;
    for (const auto& [column, source] : cells->second) {
      xmlNode* copy = CloneUnder(source.cell, row_node, true);
      SetAttribute(copy, "r", Reference(row, column));
      if (source.text != nullptr) {
        WriteInlineString(copy, *source.text);
      } else if (xmlNode* formula = ChildElement(copy, kSheetNs, "f")) {
        // A formula copied to another label would point at the first label's cells: the
        // label keeps what the formula showed, a number or date as such.
        if (Attribute(copy, "t") == "str") {
          WriteInlineString(copy, CellText(source.cell));
        } else {
          RemoveNode(formula);
        }
      }
    }
  }
  LayOutColumns(root, data, plan);
  RepeatMergedCells(root, plan);
  const int32_t last_column = plan.labels_across * columns;
  const std::string used = Reference(1, 1) + ":" + Reference(plan.label_rows * rows, last_column);
  if (xmlNode* dimension = ChildElement(root, kSheetNs, "dimension")) {
    SetAttribute(dimension, "ref", used);
  }
  InsertRowBreaks(root, plan.page_breaks);
  SetPrintArea(sheet, "$A$1:$" + detail::ColumnLetters(last_column) + "$" +
                          std::to_string(plan.label_rows * rows));
  RepeatDrawings(sheet, plan);
  sheet.changed = true;
}

// A print area drawn round the one label of the template would print that label alone: it
// grows to hold them all. A template without one prints the used cells anyway.
void XlsxDocument::SetPrintArea(const Sheet& sheet, const std::string& range) {
  XmlDocPtr workbook = ParseXmlPart(package_.Part(kWorkbookPart), kWorkbookPart);
  int32_t index = 0;
  int32_t sheet_index = -1;
  bool changed = false;
  ForEachElement(xmlDocGetRootElement(workbook.get()), [&](xmlNode* node) {
    if (IsElement(node, kSheetNs, "sheet")) {
      if (RelAttribute(node, "id") == sheet.rel_id) sheet_index = index;
      ++index;
    } else if (IsElement(node, kSheetNs, "definedName") && Attribute(node, "name") == kPrintArea &&
               Attribute(node, "localSheetId") == std::to_string(sheet_index)) {
      const std::string old = NodeText(node);
      const size_t bang = old.find('!');
      SetNodeText(node, (bang == std::string::npos ? "" : old.substr(0, bang + 1)) + range);
      changed = true;
    }
  });
  if (changed) package_.SetPart(kWorkbookPart, SerializeXmlPart(workbook.get()));
}

std::vector<std::string> XlsxDocument::DrawingParts(const Sheet& sheet) const {
  std::vector<std::string> parts;
  xmlNode* drawing = RootChild(sheet.doc.get(), "drawing");
  const std::string rels_part = RelationshipsPartOf(sheet.part);
  if (drawing == nullptr || !package_.Has(rels_part)) return parts;
  const std::string rel_id = RelAttribute(drawing, "id");
  XmlDocPtr rels = ParseXmlPart(package_.Part(rels_part), rels_part);
  ForEachElement(xmlDocGetRootElement(rels.get()), [&](xmlNode* node) {
    if (IsElement(node, kPackageRelNs, "Relationship") && Attribute(node, "Id") == rel_id) {
      const std::string part =
          detail::ResolveTarget(detail::FolderOf(sheet.part), Attribute(node, "Target"));
      if (package_.Has(part)) parts.push_back(part);
    }
  });
  return parts;
}

// Pictures anchored in the block belong to the label: each label gets its own copy, the
// template's one goes.
void XlsxDocument::RepeatDrawings(const Sheet& sheet, const LabelSheet& plan) {
  for (const std::string& part : DrawingParts(sheet)) {
    XmlDocPtr drawing = ParseXmlPart(package_.Part(part), part);
    xmlNode* root = xmlDocGetRootElement(drawing.get());
    std::vector<NodePtr> block;
    int64_t last_id = 0;
    ForEachElement(root, [&last_id](xmlNode* node) {
      if (IsElement(node, kDrawingNs, "cNvPr")) {
        last_id = std::max<int64_t>(last_id, std::atoll(Attribute(node, "id").c_str()));
      }
    });
    for (xmlNode* anchor = root->children; anchor != nullptr;) {
      xmlNode* next = anchor->next;
      xmlNode* row = AnchorPoint(anchor, "from", "row");
      xmlNode* col = AnchorPoint(anchor, "from", "col");
      if (IsCellAnchor(anchor) && row != nullptr && col != nullptr &&
          std::atoi(NodeText(row).c_str()) < plan.block_rows &&
          std::atoi(NodeText(col).c_str()) < plan.block_columns) {
        xmlUnlinkNode(anchor);
        block.emplace_back(anchor);
      }
      anchor = next;
    }
    if (block.empty()) continue;
    for (const Label& label : plan.labels) {
      for (const NodePtr& anchor : block) {
        xmlNode* copy = CloneUnder(anchor.get(), root, true);
        ShiftAnchorPoint(copy, "from", label.top_row - 1, label.left_column - 1);
        ShiftAnchorPoint(copy, "to", label.top_row - 1, label.left_column - 1);
        ForEachElement(copy, [&last_id](xmlNode* node) {
          if (IsElement(node, kDrawingNs, "cNvPr")) {
            SetAttribute(node, "id", std::to_string(++last_id));
          }
        });
      }
    }
    package_.SetPart(part, SerializeXmlPart(drawing.get()));
  }
}

void XlsxDocument::ReplaceLogos(const LogoPlacement& logo) {
  std::optional<LogoExtent> extent;
  for (const Sheet& sheet : sheets_) {
    for (const std::string& part : DrawingParts(sheet)) {
      ReplaceLogosIn(part, logo, extent);
    }
  }
}

// The marked shapes of one drawing part that have a place of their own on the sheet; a shape
// inside a group stays.
void XlsxDocument::ReplaceLogosIn(const std::string& part, const LogoPlacement& logo,
                                  std::optional<LogoExtent>& extent) {
  XmlDocPtr drawing = ParseXmlPart(package_.Part(part), part);
  bool changed = false;
  for (xmlNode* mark : LogoMarks(xmlDocGetRootElement(drawing.get()), kDrawingNs, "cNvPr")) {
    xmlNode* shape = mark->parent != nullptr ? mark->parent->parent : nullptr;
    xmlNode* anchor = shape != nullptr ? shape->parent : nullptr;
    if (!IsCellAnchor(anchor) && !IsElement(anchor, kDrawingNs, "absoluteAnchor")) continue;
    if (!extent) extent = AddLogoPicture(package_, kLogoPart, logo);
    const int64_t cx = extent->cx;
    const int64_t cy = extent->cy;
    std::string x = "0", y = "0";
    ForEachElement(shape, [&x, &y](xmlNode* node) {
      if (IsElement(node, kDrawingMainNs, "off") &&
          IsElement(node->parent, kDrawingMainNs, "xfrm")) {
        x = Attribute(node, "x");
        y = Attribute(node, "y");
      }
    });
    XmlDocPtr pic = ParseXmlPart(
        LogoPicture(Attribute(mark, "id"), Attribute(mark, "name"), x, y, cx, cy), "logo");
    xmlNode* copy = CloneUnder(xmlDocGetRootElement(pic.get()), anchor, true);
    xmlReplaceNode(shape, copy);
    xmlFreeNode(shape);
    SizeAnchor(anchor, cx, cy);
    changed = true;
  }
  if (!changed) return;
  EnsureImageRelationship(package_, part, kLogoRelationship, "../media/lastora_logo.png");
  package_.SetPart(part, SerializeXmlPart(drawing.get()));
}

bool XlsxDocument::HasSheet(const std::string& name) const {
  return std::any_of(sheets_.begin(), sheets_.end(),
                     [&name](const Sheet& sheet) { return sheet.name == name; });
}

void XlsxDocument::RemoveSheet(size_t index) {
  const Sheet& removed = sheets_[index];
  XmlDocPtr workbook = ParseXmlPart(package_.Part(kWorkbookPart), kWorkbookPart);
  ForEachElement(xmlDocGetRootElement(workbook.get()), [&](xmlNode* node) {
    if (IsElement(node, kSheetNs, "sheet") && RelAttribute(node, "id") == removed.rel_id) {
      RemoveNode(node);
    } else if (IsElement(node, kSheetNs, "definedName")) {
      // Names of the removed sheet go with it; sheet-local names of later sheets move down.
      const std::string local = Attribute(node, "localSheetId");
      if (NodeText(node).find(removed.name + "!") != std::string::npos ||
          local == std::to_string(index)) {
        RemoveNode(node);
      } else if (!local.empty() && std::stoul(local) > index) {
        xmlSetProp(node, reinterpret_cast<const xmlChar*>("localSheetId"),
                   reinterpret_cast<const xmlChar*>(std::to_string(std::stoul(local) - 1).c_str()));
      }
    } else if (IsElement(node, kSheetNs, "workbookView")) {
      xmlUnsetProp(node, reinterpret_cast<const xmlChar*>("activeTab"));
      xmlUnsetProp(node, reinterpret_cast<const xmlChar*>("firstSheet"));
    }
  });
  package_.SetPart(kWorkbookPart, SerializeXmlPart(workbook.get()));
  XmlDocPtr rels = ParseXmlPart(package_.Part(kWorkbookRelsPart), kWorkbookRelsPart);
  ForEachElement(xmlDocGetRootElement(rels.get()), [&removed](xmlNode* node) {
    if (IsElement(node, kPackageRelNs, "Relationship") && Attribute(node, "Id") == removed.rel_id) {
      RemoveNode(node);
    }
  });
  package_.SetPart(kWorkbookRelsPart, SerializeXmlPart(rels.get()));
  XmlDocPtr types = ParseXmlPart(package_.Part(kContentTypesPart), kContentTypesPart);
  ForEachElement(xmlDocGetRootElement(types.get()), [&removed](xmlNode* node) {
    if (Attribute(node, "PartName") == "/" + removed.part) RemoveNode(node);
  });
  package_.SetPart(kContentTypesPart, SerializeXmlPart(types.get()));
  package_.RemovePart(removed.part);
  sheets_.erase(sheets_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string XlsxDocument::Write() {
  for (size_t i = 0; i < sheets_.size(); ++i) {
    if (sheets_[i].name == kSettingsSheet && sheets_.size() > 1) {
      RemoveSheet(i);
      break;
    }
  }
  for (Sheet& sheet : sheets_) {
    if (sheet.changed) package_.SetPart(sheet.part, SerializeXmlPart(sheet.doc.get()));
    sheet.changed = false;
  }
  return package_.Write();
}

}  // namespace lastora
