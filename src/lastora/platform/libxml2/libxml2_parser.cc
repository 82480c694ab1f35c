#include "platform/libxml2/libxml2_parser.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/files.h"
#include "lastora/vb_error.h"
#include "platform/libxml2/thread_errors.h"
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

// The document's next piece; empty at its end.
using NextPiece = std::function<std::string_view()>;

// Well-formedness only, as the platform's parser is used here: the pieces are fed to a push
// parser whose SAX handler does nothing, so no tree is built.
XmlParser::Result ParsePieces(const NextPiece& next_piece) {
  XmlParser::Result result;
  // A document in an encoding it does not hold fails here as not well-formed; the converter's
  // own reports of it would only repeat that on the terminal.
  const ThreadErrors quiet;
  xmlSAXHandler sax{};
  sax.initialized = XML_SAX2_MAGIC;
  sax.serror = KeepFirstError;
  std::unique_ptr<xmlParserCtxt, ContextFreer> context(
      xmlCreatePushParserCtxt(&sax, &result, nullptr, 0, nullptr));
  if (!context) return {false, kFileUnreadable, 0};
  xmlCtxtUseOptions(context.get(), XML_PARSE_NONET);
  bool failed = false;
  for (;;) {
    const std::string_view piece = next_piece();
    const bool last = piece.empty();
    failed = xmlParseChunk(context.get(), piece.data(), static_cast<int>(piece.size()), last) != 0;
    if (failed || last || !result.ok) break;
  }
  if ((failed || !context->wellFormed) && result.ok) {
    result.ok = false;
    result.reason = kNotWellFormed;
    result.line = xmlSAX2GetLineNumber(context.get());
  }
  return result;
}

}  // namespace

// A payment file of a million debits is 700 MB, so the file is read in pieces, never whole:
// once by the quick scan and, only when that is in doubt, once more by the parser.
XmlParser::Result LibXml2Parser::LoadFile(const std::string& path) {
  try {
    files::FileReader scanned(path);
    // A file that fits into a smaller window is scanned in one piece all the same.
    const uintmax_t size = scanned.size();
    const size_t window = size == 0 || size >= xml_prescreen::kStreamLookahead
                              ? xml_prescreen::kStreamLookahead
                              : static_cast<size_t>(size) + 1;
    if (xml_prescreen::SurelyWellFormed(
            [&scanned](char* into, size_t room) { return scanned.Read(into, room); }, window)) {
      return {};
    }
    files::FileReader parsed(path);
    std::string buffer(kChunkSize, '\0');
    return ParsePieces(
        [&] { return std::string_view(buffer.data(), parsed.Read(buffer.data(), kChunkSize)); });
  } catch (const VbError& error) {
    return {false, error.number() == 53 ? kFileNotFound : kFileUnreadable, 0};
  }
}

XmlParser::Result LibXml2Parser::Parse(std::string_view bytes) {
  return ParsePieces([bytes]() mutable {
    const std::string_view piece = bytes.substr(0, kChunkSize);
    bytes.remove_prefix(piece.size());
    return piece;
  });
}

}  // namespace lastora
