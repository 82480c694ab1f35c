#include "import/xml_stream.h"

#include <libxml/xmlreader.h>

#include <climits>

#include "import/workbook_reader.h"

namespace lastora::detail {
namespace {

std::string_view View(const xmlChar* s) {
  return s == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(s));
}

}  // namespace

XmlStream::XmlStream(const std::string& bytes, const std::string& part) : part_(part) {
  if (bytes.size() > static_cast<size_t>(INT_MAX)) Fail();
  // No network, no external entities, no DTD loading: a workbook part is self-contained.
  reader_ = xmlReaderForMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                               XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (reader_ == nullptr) Fail();
}

XmlStream::~XmlStream() { xmlFreeTextReader(reader_); }

void XmlStream::Fail() const { ThrowUnreadable(part_, "fehlerhaftes XML"); }

bool XmlStream::Next() {
  const int status = xmlTextReaderRead(reader_);
  if (status < 0) Fail();
  on_node_ = status == 1;
  return on_node_;
}

bool XmlStream::IsStart() const {
  return on_node_ && xmlTextReaderNodeType(reader_) == XML_READER_TYPE_ELEMENT;
}

bool XmlStream::IsEnd() const {
  return on_node_ && xmlTextReaderNodeType(reader_) == XML_READER_TYPE_END_ELEMENT;
}

bool XmlStream::IsEmptyElement() const { return xmlTextReaderIsEmptyElement(reader_) == 1; }

bool XmlStream::IsText() const {
  if (!on_node_) return false;
  switch (xmlTextReaderNodeType(reader_)) {
    case XML_READER_TYPE_TEXT:
    case XML_READER_TYPE_CDATA:
    case XML_READER_TYPE_WHITESPACE:
    case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
      return true;
    default:
      return false;
  }
}

int XmlStream::Depth() const { return xmlTextReaderDepth(reader_); }

std::string_view XmlStream::LocalName() const { return View(xmlTextReaderConstLocalName(reader_)); }

std::string_view XmlStream::Value() const { return View(xmlTextReaderConstValue(reader_)); }

bool XmlStream::MoveToFirstAttribute() const {
  return xmlTextReaderMoveToFirstAttribute(reader_) == 1;
}
bool XmlStream::MoveToNextAttribute() const {
  return xmlTextReaderMoveToNextAttribute(reader_) == 1;
}
void XmlStream::MoveToElement() const { xmlTextReaderMoveToElement(reader_); }
std::string_view XmlStream::AttributeName() const {
  return View(xmlTextReaderConstLocalName(reader_));
}
std::string_view XmlStream::AttributeValue() const {
  return View(xmlTextReaderConstValue(reader_));
}

std::optional<std::string> XmlStream::Attribute(std::string_view local_name) const {
  std::optional<std::string> found;
  ForEachAttribute([&](std::string_view name, std::string_view value) {
    if (!found && name == local_name) found = std::string(value);
  });
  return found;
}

std::string XmlStream::ElementText() {
  std::string text;
  if (IsEmptyElement()) return text;
  const int depth = Depth();
  while (Next()) {
    if (IsEnd() && Depth() == depth) break;
    if (IsText()) text.append(Value());
  }
  return text;
}

}  // namespace lastora::detail
