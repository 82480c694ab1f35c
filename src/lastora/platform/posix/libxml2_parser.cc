#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <string>

#include "core/files.h"
#include "lastora/vb_error.h"
#include "platform/posix/posix_adapters.h"

namespace lastora {
namespace {

// The platform's own wording for a file it cannot open, so a caller sees the same reason text
// whichever parser answered.
constexpr const char* kFileNotFound = "Das System kann die angegebene Datei nicht finden.";
constexpr const char* kFileUnreadable = "Auf die Datei kann nicht zugegriffen werden.";

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

}  // namespace

// Well-formedness only, as the platform's parser is used here: the document is parsed with an
// empty SAX handler, so no tree is built and a large payment file costs one pass over its bytes.
XmlParser::Result LibXml2Parser::LoadFile(const std::string& path) {
  Result result;
  std::string bytes;
  try {
    bytes = files::ReadWhole(path);
  } catch (const VbError& e) {
    return Result{false, e.number() == 53 ? kFileNotFound : kFileUnreadable, 0};
  }
  if (bytes.size() > static_cast<size_t>(INT_MAX)) {
    return Result{false, kFileUnreadable, 0};
  }
  xmlSAXHandler sax{};
  sax.initialized = XML_SAX2_MAGIC;
  sax.serror = KeepFirstError;
  const int rc = xmlSAXUserParseMemory(&sax, &result, bytes.data(), static_cast<int>(bytes.size()));
  if (rc != 0 && result.ok) {
    result.ok = false;
    result.reason = "XML-Dokument nicht wohlgeformt";
  }
  return result;
}

}  // namespace lastora
