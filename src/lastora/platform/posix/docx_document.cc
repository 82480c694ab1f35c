#include "platform/posix/docx_document.h"

#include <optional>
#include <regex>

#include "lastora/office.h"
#include "lastora/vb_error.h"
#include "platform/posix/package_parts.h"

namespace lastora {
namespace {

constexpr std::string_view kDrawingNs =
    "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
constexpr std::string_view kCompatibilityNs =
    "http://schemas.openxmlformats.org/markup-compatibility/2006";
constexpr char kLogoPart[] = "word/media/lastora_logo.png";

bool IsStory(const std::string& name) {
  static const std::regex kStory(
      R"(word/(document|header[0-9]*|footer[0-9]*|footnotes|endnotes)\.xml)");
  return std::regex_match(name, kStory);
}

void CollectTexts(xmlNode* node, std::vector<xmlNode*>& texts) {
  for (xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (IsElement(child, kWordNs, "p")) continue;  // a text box's paragraph is its own
    if (IsElement(child, kWordNs, "t")) {
      texts.push_back(child);
    } else if (child->type == XML_ELEMENT_NODE) {
      CollectTexts(child, texts);
    }
  }
}

std::string PictureGraphic(const std::string& rel_id, const std::string& name, int64_t cx,
                           int64_t cy) {
  return "<a:graphic xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">"
         "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
         "<pic:pic xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
         "<pic:nvPicPr><pic:cNvPr id=\"0\" name=\"" +
         name +
         "\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill>"
         "<a:blip xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
         " r:embed=\"" +
         rel_id +
         "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm>"
         "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"" +
         std::to_string(cx) + "\" cy=\"" + std::to_string(cy) +
         "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
         "</a:graphicData></a:graphic>";
}

}  // namespace

DocxDocument::DocxDocument(std::string_view bytes, const std::string& source)
    : package_(ZipPackage::Read(bytes, source)) {
  for (const std::string& name : package_.Names()) {
    if (!IsStory(name)) continue;
    Story story{name, ParseXmlPart(package_.Part(name), name), {}, false};
    ForEachElement(xmlDocGetRootElement(story.doc.get()), [&story](xmlNode* node) {
      if (!IsElement(node, kWordNs, "p")) return;
      Paragraph paragraph;
      CollectTexts(node, paragraph.texts);
      for (xmlNode* text : paragraph.texts) paragraph.joined += NodeText(text);
      story.paragraphs.push_back(std::move(paragraph));
    });
    stories_.push_back(std::move(story));
  }
  if (stories_.empty()) throw VbError(75, "Die Vorlage ist kein Textdokument: " + source);
}

std::vector<std::string> DocxDocument::StoryTexts() const {
  std::vector<std::string> texts;
  for (const Story& story : stories_) {
    std::string text;
    for (const Paragraph& paragraph : story.paragraphs) text += paragraph.joined + "\r";
    texts.push_back(std::move(text));
  }
  return texts;
}

void DocxDocument::ReplaceAll(const std::string& find, const std::string& replacement) {
  if (find.empty()) return;
  for (Story& story : stories_) {
    for (Paragraph& paragraph : story.paragraphs) {
      if (paragraph.joined.find(find) == std::string::npos) continue;
      ReplaceInParagraph(paragraph, find, replacement);
      story.changed = true;
    }
  }
}

void DocxDocument::ReplaceInParagraph(Paragraph& paragraph, const std::string& find,
                                      const std::string& replacement) {
  std::vector<std::string> pieces;
  for (xmlNode* text : paragraph.texts) pieces.push_back(NodeText(text));
  // The piece and the offset in it of a position in the joined text.
  auto locate = [&pieces](size_t position, size_t* piece, size_t* offset) {
    size_t start = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
      if (position < start + pieces[i].size()) {
        *piece = i;
        *offset = position - start;
        return;
      }
      start += pieces[i].size();
    }
  };
  std::vector<size_t> matches;
  for (size_t at = paragraph.joined.find(find); at != std::string::npos;
       at = paragraph.joined.find(find, at + find.size())) {
    matches.push_back(at);
  }
  // From the last match backwards, so that the earlier positions stay valid.
  for (auto match = matches.rbegin(); match != matches.rend(); ++match) {
    size_t first = 0, first_offset = 0, last = 0, last_offset = 0;
    locate(*match, &first, &first_offset);
    locate(*match + find.size() - 1, &last, &last_offset);
    const std::string tail = pieces[last].substr(last_offset + 1);
    for (size_t i = first + 1; i <= last; ++i) pieces[i].clear();
    pieces[first] = pieces[first].substr(0, first_offset) + replacement +
                    (first == last ? tail : std::string());
    if (first != last) pieces[last] = tail;
  }
  paragraph.joined.clear();
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (NodeText(paragraph.texts[i]) != pieces[i]) {
      SetNodeText(paragraph.texts[i], pieces[i]);
      xmlNodeSetSpacePreserve(paragraph.texts[i], 1);  // keep the blanks at the ends
    }
    paragraph.joined += pieces[i];
  }
}

void DocxDocument::ReplaceLogos(const LogoPlacement& logo) {
  std::optional<LogoExtent> extent;
  for (Story& story : stories_) {
    const std::vector<xmlNode*> marks =
        LogoMarks(xmlDocGetRootElement(story.doc.get()), kDrawingNs, "docPr");
    if (marks.empty()) continue;
    if (!extent) extent = AddLogoPicture(package_, kLogoPart, logo);
    EnsureImageRelationship(package_, story.name, kLogoRelationship, "media/lastora_logo.png");
    const int64_t cx = extent->cx;
    const int64_t cy = extent->cy;
    for (xmlNode* mark : marks) {
      xmlNode* frame = mark->parent;  // wp:inline or wp:anchor
      if (xmlNode* extent = ChildElement(frame, kDrawingNs, "extent")) {
        SetAttribute(extent, "cx", std::to_string(cx));
        SetAttribute(extent, "cy", std::to_string(cy));
      }
      const std::string graphic_xml =
          PictureGraphic(kLogoRelationship, EscapedAttribute(Attribute(mark, "name")), cx, cy);
      XmlDocPtr graphic = ParseXmlPart(graphic_xml, "logo");
      xmlNode* copy = xmlDocCopyNode(xmlDocGetRootElement(graphic.get()), story.doc.get(), 1);
      if (xmlNode* old = ChildElement(frame, kDrawingMainNs, "graphic")) {
        xmlReplaceNode(old, copy);
        xmlFreeNode(old);
      } else {
        xmlAddChild(frame, copy);
      }
      // A shape written with a fallback for old readers: the picture replaces both.
      xmlNode* drawing = frame->parent;
      xmlNode* choice = drawing != nullptr ? drawing->parent : nullptr;
      xmlNode* alternate = choice != nullptr ? choice->parent : nullptr;
      if (IsElement(choice, kCompatibilityNs, "Choice") &&
          IsElement(alternate, kCompatibilityNs, "AlternateContent")) {
        xmlUnlinkNode(drawing);
        xmlReplaceNode(alternate, drawing);
        xmlFreeNode(alternate);
      }
    }
    story.changed = true;
  }
}

std::string DocxDocument::Write() {
  for (Story& story : stories_) {
    if (story.changed) package_.SetPart(story.name, SerializeXmlPart(story.doc.get()));
    story.changed = false;
  }
  return package_.Write();
}

}  // namespace lastora
