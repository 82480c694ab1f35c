#include "platform/posix/xlsx_document.h"

#include <algorithm>
#include <map>

#include "lastora/vb_error.h"

namespace lastora {
namespace {

constexpr char kWorkbookPart[] = "xl/workbook.xml";
constexpr char kWorkbookRelsPart[] = "xl/_rels/workbook.xml.rels";
constexpr char kSharedStringsPart[] = "xl/sharedStrings.xml";
constexpr char kContentTypesPart[] = "[Content_Types].xml";
constexpr char kSettingsSheet[] = "Settings";

std::string RelAttribute(const xmlNode* node, const char* name) {
  xmlChar* value = xmlGetNsProp(node, reinterpret_cast<const xmlChar*>(name),
                                reinterpret_cast<const xmlChar*>(kRelNs.data()));
  if (value == nullptr) return "";
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

std::string PartOfTarget(const std::string& target) {
  if (target.starts_with("/")) return target.substr(1);
  return "xl/" + target;
}

// "AB12" -> row 12, column 28; false for anything else.
bool ParseReference(const std::string& reference, TemplateCell* cell) {
  size_t at = 0;
  int32_t column = 0;
  while (at < reference.size() && reference[at] >= 'A' && reference[at] <= 'Z' && at < 3) {
    column = column * 26 + (reference[at] - 'A' + 1);
    ++at;
  }
  if (at == 0 || at == reference.size()) return false;
  int32_t row = 0;
  for (; at < reference.size(); ++at) {
    if (reference[at] < '0' || reference[at] > '9' || row > 10'000'000) return false;
    row = row * 10 + (reference[at] - '0');
  }
  cell->row = row;
  cell->column = column;
  return row > 0;
}

std::vector<xmlNode*> Cells(xmlDoc* sheet) {
  std::vector<xmlNode*> cells;
  ForEachElement(xmlDocGetRootElement(sheet), [&cells](xmlNode* node) {
    if (IsElement(node, kSheetNs, "c")) cells.push_back(node);
  });
  return cells;
}

void RemoveNode(xmlNode* node) {
  xmlUnlinkNode(node);
  xmlFreeNode(node);
}

void WriteInlineString(xmlNode* cell, const std::string& text) {
  while (cell->children != nullptr) RemoveNode(cell->children);
  xmlSetProp(cell, reinterpret_cast<const xmlChar*>("t"),
             reinterpret_cast<const xmlChar*>("inlineStr"));
  xmlNode* inline_string =
      xmlNewChild(cell, cell->ns, reinterpret_cast<const xmlChar*>("is"), nullptr);
  xmlNode* t = xmlNewChild(inline_string, cell->ns, reinterpret_cast<const xmlChar*>("t"), nullptr);
  SetNodeText(t, text);
  xmlNodeSetSpacePreserve(t, 1);
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
      targets[Attribute(node, "Id")] = PartOfTarget(Attribute(node, "Target"));
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
    for (xmlNode* cell : Cells(sheet.doc.get())) {
      if (std::string text = CellText(cell); !text.empty()) texts.push_back(std::move(text));
    }
  }
  return texts;
}

void XlsxDocument::ReplaceAll(const std::string& find, const std::string& replacement) {
  if (find.empty()) return;
  for (Sheet& sheet : sheets_) {
    for (xmlNode* cell : Cells(sheet.doc.get())) {
      const std::string text = CellText(cell);
      if (text.find(find) == std::string::npos) continue;
      std::string replaced;
      size_t at = 0;
      for (size_t hit = text.find(find); hit != std::string::npos;
           at = hit + find.size(), hit = text.find(find, at)) {
        replaced.append(text, at, hit - at).append(replacement);
      }
      replaced.append(text, at);
      WriteInlineString(cell, replaced);
      sheet.changed = true;
    }
  }
}

std::vector<TemplateCell> XlsxDocument::PlaceholderCells() const {
  std::vector<TemplateCell> found;
  for (xmlNode* cell : Cells(sheets_.front().doc.get())) {
    TemplateCell entry;
    entry.text = CellText(cell);
    if (entry.text.find("<<") == std::string::npos) continue;
    if (ParseReference(Attribute(cell, "r"), &entry)) found.push_back(std::move(entry));
  }
  return found;
}

void XlsxDocument::SetCellText(const TemplateCell& target) {
  Sheet& sheet = sheets_.front();
  for (xmlNode* cell : Cells(sheet.doc.get())) {
    TemplateCell at;
    if (ParseReference(Attribute(cell, "r"), &at) && at.row == target.row &&
        at.column == target.column) {
      WriteInlineString(cell, target.text);
      sheet.changed = true;
      return;
    }
  }
  throw VbError(1004, "Zelle nicht gefunden: Zeile " + std::to_string(target.row) + ", Spalte " +
                          std::to_string(target.column));
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
