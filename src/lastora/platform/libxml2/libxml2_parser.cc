#include "platform/libxml2/libxml2_parser.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <functional>
#include <memory>
#include <optional>
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

struct FirstError {
  XmlParser::Result result;
  int code = XML_ERR_OK;
};

// Keeps the first error only: later ones are consequences of it.
void KeepFirstError(void* sink, xmlErrorPtr error) {
  auto* first = static_cast<FirstError*>(sink);
  if (!first->result.ok || error == nullptr || error->level < XML_ERR_ERROR) return;
  first->result.ok = false;
  first->result.reason = WithoutTrailingLineBreaks(error->message != nullptr ? error->message : "");
  first->result.line = error->line;
  first->code = error->code;
}

xmlSAXHandler QuietHandler() {
  xmlSAXHandler sax{};
  sax.initialized = XML_SAX2_MAGIC;
  sax.serror = KeepFirstError;
  return sax;
}

// A parser that ended without an error of its own on a document it found broken.
void ExplainUnreported(xmlParserCtxtPtr context, bool failed, FirstError& first) {
  if ((failed || !context->wellFormed) && first.result.ok) {
    first.result = {false, kNotWellFormed, xmlSAX2GetLineNumber(context)};
  }
}

// A document type declaration makes the parser start a document even without tree building, to
// hold the declared entities; the context does not own it.
struct ContextFreer {
  void operator()(xmlParserCtxtPtr context) const {
    if (context->myDoc != nullptr) xmlFreeDoc(context->myDoc);
    xmlFreeParserCtxt(context);
  }
};

// Fills `into` with up to `room` bytes of the document; 0 at its end.
using ReadInto = std::function<size_t(char* into, size_t room)>;

// Well-formedness only, as the platform's parser is used here: the pieces are fed to a push
// parser whose SAX handler does nothing, so no tree is built.
FirstError PushParse(const ReadInto& read) {
  FirstError first;
  // A document in an encoding it does not hold fails here as not well-formed; the converter's
  // own reports of it would only repeat that on the terminal.
  const ThreadErrors quiet;
  xmlSAXHandler sax = QuietHandler();
  std::unique_ptr<xmlParserCtxt, ContextFreer> context(
      xmlCreatePushParserCtxt(&sax, &first, nullptr, 0, nullptr));
  if (!context) return {{false, kFileUnreadable, 0}};
  xmlCtxtUseOptions(context.get(), XML_PARSE_NONET);
  std::string piece(kChunkSize, '\0');
  bool failed = false;
  for (;;) {
    const size_t got = read(piece.data(), piece.size());
    failed = xmlParseChunk(context.get(), piece.data(), static_cast<int>(got), got == 0) != 0;
    if (failed || got == 0 || !first.result.ok) break;
  }
  ExplainUnreported(context.get(), failed, first);
  return first;
}

int ReadForParser(void* read, char* into, int room) {
  try {
    return static_cast<int>((*static_cast<ReadInto*>(read))(into, static_cast<size_t>(room)));
  } catch (const VbError&) {
    return -1;
  }
}

// The same document through libxml2's pull parser, which reads on by itself.
FirstError PullParse(ReadInto read) {
  FirstError first;
  const ThreadErrors quiet;
  xmlSAXHandler sax = QuietHandler();
  std::unique_ptr<xmlParserCtxt, ContextFreer> context(
      xmlCreateIOParserCtxt(&sax, &first, ReadForParser, nullptr, &read, XML_CHAR_ENCODING_NONE));
  if (!context) return {{false, kFileUnreadable, 0}};
  xmlCtxtUseOptions(context.get(), XML_PARSE_NONET);
  const bool failed = xmlParseDocument(context.get()) != 0;
  ExplainUnreported(context.get(), failed, first);
  return first;
}

// The push parser calls every input that ends too soon "Extra content at the end of the
// document": a file cut off inside its root, or an empty one. That sends a treasurer looking for
// too much where something is missing, so for this one error the pull parser, which tells these
// cases apart, words the reason. The verdict stays the push parser's. `reopen` gives the document
// from its start again.
XmlParser::Result Verdict(const std::function<ReadInto()>& reopen) {
  const FirstError pushed = PushParse(reopen());
  if (pushed.code != XML_ERR_DOCUMENT_END) return pushed.result;
  const FirstError pulled = PullParse(reopen());
  return pulled.result.ok ? pushed.result : pulled.result;
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
    std::optional<files::FileReader> parsed;
    return Verdict([&]() -> ReadInto {
      parsed.emplace(path);
      return [&](char* into, size_t room) { return parsed->Read(into, room); };
    });
  } catch (const VbError& error) {
    return {false, error.number() == 53 ? kFileNotFound : kFileUnreadable, 0};
  }
}

XmlParser::Result LibXml2Parser::Parse(std::string_view bytes) {
  std::string_view rest;
  return Verdict([&]() -> ReadInto {
    rest = bytes;
    return [&rest](char* into, size_t room) {
      const size_t count = rest.copy(into, room);
      rest.remove_prefix(count);
      return count;
    };
  });
}

}  // namespace lastora
