#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/files.h"
#include "platform/posix/posix_adapters.h"

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

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
struct ContextFreer {
  void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};

}  // namespace

// Well-formedness only, as the platform's parser is used here: the file is fed in chunks to a
// push parser whose SAX handler does nothing, so no tree is built and a payment file of a
// hundred megabytes costs one pass over its bytes and little memory.
XmlParser::Result LibXml2Parser::LoadFile(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(files::NativePath(path).c_str(), "rb"));
  if (!file) return Result{false, errno == ENOENT ? kFileNotFound : kFileUnreadable, 0};
  Result result;
  xmlSAXHandler sax{};
  sax.initialized = XML_SAX2_MAGIC;
  sax.serror = KeepFirstError;
  std::unique_ptr<xmlParserCtxt, ContextFreer> context(
      xmlCreatePushParserCtxt(&sax, &result, nullptr, 0, nullptr));
  if (!context) return Result{false, kFileUnreadable, 0};
  xmlCtxtUseOptions(context.get(), XML_PARSE_NONET);
  std::vector<char> chunk(kChunkSize);
  bool failed = false;
  for (;;) {
    const size_t read = std::fread(chunk.data(), 1, chunk.size(), file.get());
    if (read < chunk.size() && std::ferror(file.get())) return Result{false, kFileUnreadable, 0};
    const bool last = read < chunk.size();
    failed = xmlParseChunk(context.get(), chunk.data(), static_cast<int>(read), last) != 0;
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
