#include "lastora/schema_check.h"

#include <libxml/parser.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlschemas.h>
#include <libxml/xmlschemastypes.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "core/files.h"
#include "lastora/vb_error.h"
#include "platform/libxml2/thread_errors.h"
#include "workbook/document_halves.h"

namespace lastora {
namespace {

constexpr std::string_view kNamespacePrefix = "urn:iso:std:iso:20022:tech:xsd:";
constexpr const char* kKnownSchemas[] = {"pain.008.002.02", "pain.001.002.03"};

struct ReaderCloser {
  void operator()(xmlTextReaderPtr reader) const { xmlFreeTextReader(reader); }
};
struct SchemaFree {
  void operator()(xmlSchemaPtr schema) const { xmlSchemaFree(schema); }
};
struct ValidCtxtFree {
  void operator()(xmlSchemaValidCtxtPtr context) const { xmlSchemaFreeValidCtxt(context); }
};
struct SchemaParserFree {
  void operator()(xmlSchemaParserCtxtPtr parser) const { xmlSchemaFreeParserCtxt(parser); }
};
using Reader = std::unique_ptr<xmlTextReader, ReaderCloser>;
using Schema = std::unique_ptr<xmlSchema, SchemaFree>;

// The first complaint with its line, and how many there were; libxml2 would otherwise print them.
struct Complaints {
  std::string first;
  int count = 0;
};

void Collect(void* sink, xmlErrorPtr error) {
  auto* complaints = static_cast<Complaints*>(sink);
  if (complaints->count++ > 0 || error == nullptr) return;
  std::string message = error->message != nullptr ? error->message : "?";
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  complaints->first = "Zeile " + std::to_string(error->line) + ": " + message;
}

// Entities are never fetched from the network; the documents need none.
Reader OpenReader(const std::string& path, Complaints* complaints) {
  Reader reader(xmlReaderForFile(path.c_str(), nullptr, XML_PARSE_NONET));
  if (reader) xmlTextReaderSetStructuredErrorHandler(reader.get(), Collect, complaints);
  return reader;
}

// The schema named by the root element's namespace; empty when it is none we ship.
std::string SchemaNameOf(const std::string& path, Complaints* complaints) {
  const ThreadErrors quiet;
  const Reader reader = OpenReader(path, complaints);
  if (!reader) return "";
  while (xmlTextReaderRead(reader.get()) == 1) {
    if (xmlTextReaderNodeType(reader.get()) != XML_READER_TYPE_ELEMENT) continue;
    const xmlChar* uri = xmlTextReaderConstNamespaceUri(reader.get());
    const std::string ns = uri != nullptr ? reinterpret_cast<const char*>(uri) : "";
    if (!ns.starts_with(kNamespacePrefix)) return "";
    const std::string name = ns.substr(kNamespacePrefix.size());
    for (const char* known : kKnownSchemas) {
      if (name == known) return name;
    }
    return "";
  }
  return "";
}

Schema LoadSchema(const std::string& file) {
  Complaints ignored;
  std::unique_ptr<xmlSchemaParserCtxt, SchemaParserFree> parser(
      xmlSchemaNewParserCtxt(file.c_str()));
  if (!parser) return nullptr;
  xmlSchemaSetParserStructuredErrors(parser.get(), Collect, &ignored);
  // A schema file that cannot be opened is reported by the loader, not the parser; the verdict
  // says so itself.
  const ThreadErrors quiet;
  return Schema(xmlSchemaParse(parser.get()));
}

// Bytes of the document at `path` in an order of its own: stretches of the file, and a text after
// them. Read by libxml2 as its input.
class Spliced {
 public:
  struct Stretch {
    uint64_t from = 0;
    uint64_t to = kToTheEnd;
  };
  static constexpr uint64_t kToTheEnd = UINT64_MAX;

  Spliced(const std::string& path, std::vector<Stretch> stretches, std::string appendix,
          const std::atomic<bool>* abandoned)
      : path_(path),
        stretches_(std::move(stretches)),
        appendix_(std::move(appendix)),
        abandoned_(abandoned) {}

  // libxml2's read callback: up to `room` bytes, 0 at the end, -1 on a failure.
  static int Read(void* self, char* into, int room) {
    try {
      return static_cast<Spliced*>(self)->Next(into, static_cast<size_t>(room));
    } catch (const VbError&) {
      return -1;
    }
  }

 private:
  int Next(char* into, size_t room) {
    if (abandoned_ != nullptr && abandoned_->load()) return -1;
    if (!reader_) reader_.emplace(path_);
    while (stretch_ < stretches_.size()) {
      const Stretch& stretch = stretches_[stretch_];
      if (!entered_ && at_ != stretch.from) reader_->Seek(at_ = stretch.from);
      entered_ = true;
      const size_t got = reader_->Read(into, std::min<uint64_t>(room, stretch.to - at_));
      at_ += got;
      if (got > 0) return static_cast<int>(got);
      ++stretch_;
      entered_ = false;
    }
    const size_t got = appendix_.copy(into, room, appendix_at_);
    appendix_at_ += got;
    return static_cast<int>(got);
  }

  std::string path_;
  std::optional<files::FileReader> reader_;  // opened on the first read, where a failure is caught
  std::vector<Stretch> stretches_;
  std::string appendix_;
  const std::atomic<bool>* abandoned_;  // set when the answer is known without this input
  size_t stretch_ = 0;
  bool entered_ = false;  // whether the reader has been moved to the stretch's start
  uint64_t at_ = 0;       // the reader's place in the file
  size_t appendix_at_ = 0;
};

// SAX-driven, so that no node of the document is ever built: a third of the cost of a reader.
bool Validate(Spliced& document, xmlSchemaPtr schema, Complaints* complaints) {
  std::unique_ptr<xmlSchemaValidCtxt, ValidCtxtFree> context(xmlSchemaNewValidCtxt(schema));
  if (!context) return false;
  xmlSchemaSetValidStructuredErrors(context.get(), Collect, complaints);
  xmlParserInputBufferPtr input =
      xmlParserInputBufferCreateIO(Spliced::Read, nullptr, &document, XML_CHAR_ENCODING_NONE);
  if (input == nullptr) return false;
  // Complaints of the parser itself (a document that is not well-formed) count as the schema's.
  const ThreadErrors collected(complaints, Collect);
  const int rc =
      xmlSchemaValidateStream(context.get(), input, XML_CHAR_ENCODING_NONE, nullptr, nullptr);
  return rc == 0 && complaints->count == 0;
}

bool ValidAlone(Spliced document, const std::string& schema_file) {
  const Schema schema = LoadSchema(schema_file);
  Complaints complaints;
  return schema && Validate(document, schema.get(), &complaints);
}

// libxml2 sets up its shared tables on first use, which must not race with another thread's use:
// two threads building the schema type table at once lose one of them.
void PrepareForThreads() {
  xmlInitParser();
  xmlSchemaInitTypes();
}

// Below this size one thread validates the whole document about as soon as two would.
constexpr uint64_t kHalvesFrom = uint64_t{8} << 20;

// A large document is validated as two documents, one on another thread (see document_halves.h).
// Only "valid" is taken from them: a document with any complaint is validated whole again, so
// that its verdict names the whole's first complaint and line.
bool ValidInHalves(const std::string& path, const std::string& schema_file) {
  const std::optional<document_halves::Cut> cut = document_halves::FindCut(path, kHalvesFrom);
  if (!cut) return false;
  PrepareForThreads();
  std::atomic<bool> refused = false;
  auto first = std::async(std::launch::async, [&] {
    const bool valid =
        ValidAlone(Spliced(path, {{0, cut->resume_at}}, cut->closing, &refused), schema_file);
    if (!valid) refused = true;
    return valid;
  });
  const bool second_valid = ValidAlone(
      Spliced(path, {{0, cut->run_start}, {cut->resume_at, Spliced::kToTheEnd}}, "", &refused),
      schema_file);
  if (!second_valid) refused = true;
  return first.get() && second_valid;
}

bool HasSchemas(const std::filesystem::path& folder) {
  std::error_code error;
  return std::filesystem::is_regular_file(folder / (std::string(kKnownSchemas[0]) + ".xsd"), error);
}

}  // namespace

std::string SchemaFolder() {
  if (const char* chosen = std::getenv("LASTORA_SCHEMA_DIR"); chosen != nullptr && *chosen) {
    return chosen;
  }
  std::vector<std::filesystem::path> folders;
  // A package moved to another prefix still has its schemas beside its "bin" folder.
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) folders.push_back(program.parent_path().parent_path() / "share/lastora/schemas");
  folders.emplace_back(LASTORA_INSTALLED_SCHEMA_DIR);
  folders.emplace_back(LASTORA_SOURCE_SCHEMA_DIR);
  for (const std::filesystem::path& folder : folders) {
    if (HasSchemas(folder)) return folder.string();
  }
  return LASTORA_INSTALLED_SCHEMA_DIR;
}

std::string SchemaVerdict(const std::string& path) {
  Complaints complaints;
  const std::string name = SchemaNameOf(path, &complaints);
  if (name.empty()) {
    if (complaints.count > 0) return "kein wohlgeformtes XML, " + complaints.first;
    return "kein SEPA-Dokument pain.008.002.02 oder pain.001.002.03";
  }
  const std::string schema_file = SchemaFolder() + "/" + name + ".xsd";
  const Schema schema = LoadSchema(schema_file);
  if (!schema) return "Schema nicht lesbar: " + schema_file;
  if (ValidInHalves(path, schema_file)) return "ok";
  complaints = Complaints();
  Spliced whole(path, {{}}, "", nullptr);
  if (Validate(whole, schema.get(), &complaints)) return "ok";
  std::string verdict = "Schema " + name + " verletzt";
  if (!complaints.first.empty()) verdict += ", " + complaints.first;
  if (complaints.count > 1) {
    verdict += " (und " + std::to_string(complaints.count - 1) + " weitere Meldungen)";
  }
  return verdict;
}

std::future<std::string> SchemaVerdictInBackground(const std::string& path) {
  PrepareForThreads();
  return std::async(std::launch::async, SchemaVerdict, path);
}

}  // namespace lastora
