// An XML part of an office package, parsed with libxml2 and written back when changed.
#ifndef LASTORA_PLATFORM_POSIX_XML_PART_H_
#define LASTORA_PLATFORM_POSIX_XML_PART_H_

#include <libxml/tree.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace lastora {

struct XmlDocFreer {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocFreer>;

// Parses without touching the network or expanding entities; VbError 75 naming the part when
// the bytes are not well-formed.
XmlDocPtr ParseXmlPart(std::string_view bytes, const std::string& name);
// The document as UTF-8 bytes with its declaration.
std::string SerializeXmlPart(xmlDoc* doc);

// True for an element with that namespace URI and local name.
bool IsElement(const xmlNode* node, std::string_view ns, std::string_view name);
// Every element below `node` (not `node` itself) in document order.
void ForEachElement(xmlNode* node, const std::function<void(xmlNode*)>& visit);
// The first child element with that name, or nullptr.
xmlNode* ChildElement(xmlNode* node, std::string_view ns, std::string_view name);
std::string NodeText(const xmlNode* node);
// Replaces the element's children by one text node (escaped when written).
void SetNodeText(xmlNode* node, const std::string& text);
std::string Attribute(const xmlNode* node, const char* name);
void SetAttribute(xmlNode* node, const char* name, const std::string& value);
// A new last child element in the parent's namespace.
xmlNode* NewChild(xmlNode* parent, const char* name);
// A copy of the node (with everything below it when deep) as the parent's last child; its
// namespaces are those the parent already declares, so no prefixes are made up.
xmlNode* CloneUnder(xmlNode* node, xmlNode* parent, bool deep);
// Unlinks and frees the node with everything below it.
void RemoveNode(xmlNode* node);

// Namespace URIs of the office formats.
inline constexpr std::string_view kWordNs =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
inline constexpr std::string_view kSheetNs =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr std::string_view kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr std::string_view kPackageRelNs =
    "http://schemas.openxmlformats.org/package/2006/relationships";

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_XML_PART_H_
