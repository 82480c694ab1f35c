#include "platform/posix/xml_part.h"

#include <libxml/parser.h>

#include <climits>

#include "lastora/vb_error.h"
#include "platform/libxml2/thread_errors.h"

namespace lastora {

XmlDocPtr ParseXmlPart(std::string_view bytes, const std::string& name) {
  if (bytes.size() > static_cast<size_t>(INT_MAX)) throw VbError(75, "Teil zu groß: " + name);
  const ThreadErrors quiet;
  XmlDocPtr doc(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), name.c_str(), nullptr,
                              XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
  if (!doc || xmlDocGetRootElement(doc.get()) == nullptr) {
    throw VbError(75, "Das Office-Dokument enthält kein gültiges XML: " + name);
  }
  return doc;
}

std::string SerializeXmlPart(xmlDoc* doc) {
  xmlChar* buffer = nullptr;
  int size = 0;
  xmlDocDumpMemoryEnc(doc, &buffer, &size, "UTF-8");
  if (buffer == nullptr) throw VbError(7);
  std::string bytes(reinterpret_cast<const char*>(buffer), static_cast<size_t>(size));
  xmlFree(buffer);
  return bytes;
}

bool IsElement(const xmlNode* node, std::string_view ns, std::string_view name) {
  return node != nullptr && node->type == XML_ELEMENT_NODE && node->ns != nullptr &&
         ns == reinterpret_cast<const char*>(node->ns->href) &&
         name == reinterpret_cast<const char*>(node->name);
}

void ForEachElement(xmlNode* node, const std::function<void(xmlNode*)>& visit) {
  for (xmlNode* child = node->children; child != nullptr;) {
    xmlNode* next = child->next;  // the visitor may move or remove the child
    if (child->type == XML_ELEMENT_NODE) {
      visit(child);
      // A child the visitor removed may be freed already: only its former neighbours, which are
      // alive, can tell whether it is still in place and its own children are still to be seen.
      const bool still_here = next != nullptr ? next->prev == child : node->last == child;
      if (still_here) ForEachElement(child, visit);
    }
    child = next;
  }
}

xmlNode* ChildElement(xmlNode* node, std::string_view ns, std::string_view name) {
  for (xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (IsElement(child, ns, name)) return child;
  }
  return nullptr;
}

std::string NodeText(const xmlNode* node) {
  xmlChar* content = xmlNodeGetContent(node);
  if (content == nullptr) return "";
  std::string text(reinterpret_cast<const char*>(content));
  xmlFree(content);
  return text;
}

void SetNodeText(xmlNode* node, const std::string& text) {
  while (node->children != nullptr) {
    xmlNode* child = node->children;
    xmlUnlinkNode(child);
    xmlFreeNode(child);
  }
  xmlAddChild(node, xmlNewText(reinterpret_cast<const xmlChar*>(text.c_str())));
}

std::string Attribute(const xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (value == nullptr) return "";
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

void SetAttribute(xmlNode* node, const char* name, const std::string& value) {
  xmlSetProp(node, reinterpret_cast<const xmlChar*>(name),
             reinterpret_cast<const xmlChar*>(value.c_str()));
}

xmlNode* NewChild(xmlNode* parent, const char* name) {
  return xmlNewChild(parent, parent->ns, reinterpret_cast<const xmlChar*>(name), nullptr);
}

xmlNode* CloneUnder(xmlNode* node, xmlNode* parent, bool deep) {
  xmlNode* clone = nullptr;
  if (xmlDOMWrapCloneNode(nullptr, node->doc, node, &clone, parent->doc, parent, deep ? 1 : 0, 0) !=
          0 ||
      clone == nullptr) {
    throw VbError(7);
  }
  xmlAddChild(parent, clone);
  return clone;
}

void RemoveNode(xmlNode* node) {
  xmlUnlinkNode(node);
  xmlFreeNode(node);
}

}  // namespace lastora
