#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <string>

#include "core/files.h"
#include "platform/posix/posix_adapters.h"

namespace lastora {
namespace {

// Swallows libxml2's own printing; the parser context keeps the error we report.
void IgnoreError(void*, xmlErrorPtr) {}

std::string WithoutTrailingLineBreaks(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

XmlParser::Result LibXml2Parser::LoadFile(const std::string& path) {
  Result result;
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  if (context == nullptr) return Result{false, "out of memory", 0};
  xmlSetStructuredErrorFunc(nullptr, IgnoreError);
  const std::string native = files::NativePath(path);
  xmlDocPtr doc = xmlCtxtReadFile(context, native.c_str(), nullptr, XML_PARSE_NONET);
  const xmlError* error = xmlCtxtGetLastError(context);
  if (doc == nullptr || (error != nullptr && error->level >= XML_ERR_ERROR)) {
    result.ok = false;
    if (error != nullptr && error->message != nullptr) {
      result.reason = WithoutTrailingLineBreaks(error->message);
      result.line = error->line;
    } else {
      result.reason = "Das System kann die angegebene Datei nicht finden.";
    }
  }
  xmlSetStructuredErrorFunc(nullptr, nullptr);
  xmlFreeDoc(doc);
  xmlFreeParserCtxt(context);
  return result;
}

}  // namespace lastora
