#include "platform/libxml2/libxml2_parser.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "core/files.h"
#include "lastora/vb_error.h"
#include "platform/libxml2/xml_prescreen.h"

namespace lastora {
namespace {

// The platform's own wording for a file it cannot open, so a caller sees the same reason text
// whichever parser answered.
constexpr const char* kFileNotFound = "Das System kann die angegebene Datei nicht finden.";
constexpr const char* kFileUnreadable = "Auf die Datei kann nicht zugegriffen werden.";
constexpr const char* kNotWellFormed = "Das XML-Dokument ist nicht wohlgeformt.";
constexpr size_t kChunkSize = 1 << 18;

std::string WithoutTrailingLineBreaks(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// Keeps the first error only: later ones are consequences of it.
void KeepFirstError(void* sink, xmlErrorPtr error) {
  auto* result = static_cast<XmlParser::Result*>(sink);
  if (!result->ok || error == nullptr || error->level < XML_ERR_ERROR) return;
  result->ok = false;
  result->reason = WithoutTrailingLineBreaks(error->message != nullptr ? error->message : "");
  result->line = error->line;
}

// A document type declaration makes the parser start a document even without tree building, to
// hold the declared entities; the context does not own it.
struct ContextFreer {
  void operator()(xmlParserCtxtPtr context) const {
    if (context->myDoc != nullptr) xmlFreeDoc(context->myDoc);
    xmlFreeParserCtxt(context);
  }
};

}  // namespace

XmlParser::Result LibXml2Parser::LoadFile(const std::string& path) {
  std::string bytes;
  try {
    bytes = files::ReadWhole(path);
  } catch (const VbError& error) {
    return Result{false, error.number() == 53 ? kFileNotFound : kFileUnreadable, 0};
  }
  return LoadFileBytes(path, bytes);
}

XmlParser::Result LibXml2Parser::LoadFileBytes(const std::string&, std::string_view bytes) {
  if (xml_prescreen::SurelyWellFormed(bytes)) return {};
  return Parse(bytes);
}

// Well-formedness only, as the platform's parser is used here: the bytes are fed in chunks to a
// push parser whose SAX handler does nothing, so no tree is built.
XmlParser::Result LibXml2Parser::Parse(std::string_view bytes) {
  Result result;
  xmlSAXHandler sax{};
  sax.initialized = XML_SAX2_MAGIC;
  sax.serror = KeepFirstError;
  std::unique_ptr<xmlParserCtxt, ContextFreer> context(
      xmlCreatePushParserCtxt(&sax, &result, nullptr, 0, nullptr));
  if (!context) return Result{false, kFileUnreadable, 0};
  xmlCtxtUseOptions(context.get(), XML_PARSE_NONET);
  bool failed = false;
  for (size_t offset = 0;;) {
    const size_t size = std::min(kChunkSize, bytes.size() - offset);
    const bool last = size < kChunkSize;
    failed = xmlParseChunk(context.get(), bytes.data() + offset, static_cast<int>(size), last) != 0;
    offset += size;
    if (failed || last || !result.ok) break;
  }
  if ((failed || !context->wellFormed) && result.ok) {
    result.ok = false;
    result.reason = kNotWellFormed;
    result.line = xmlSAX2GetLineNumber(context.get());
  }
  return result;
}

}  // namespace lastora
