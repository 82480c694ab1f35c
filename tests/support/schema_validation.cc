#include "support/schema_validation.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlschemas.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace lastora::testing {
namespace {

struct SchemaDeleter {
  void operator()(xmlSchemaPtr schema) const { xmlSchemaFree(schema); }
};
struct DocDeleter {
  void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
struct ValidCtxtDeleter {
  void operator()(xmlSchemaValidCtxtPtr context) const { xmlSchemaFreeValidCtxt(context); }
};
using SchemaPtr = std::unique_ptr<xmlSchema, SchemaDeleter>;

// libxml2 2.9 hands out a non-const error; we only read it.
void CollectError(void* sink, xmlErrorPtr error) {
  auto* out = static_cast<std::string*>(sink);
  *out += "line " + std::to_string(error->line) + ": " + (error->message ? error->message : "?");
  if (!out->empty() && out->back() != '\n') *out += '\n';
}

// Parsed once per schema name for the whole test program; the schemas never change.
xmlSchemaPtr SchemaNamed(const std::string& name, std::string* errors) {
  static std::map<std::string, SchemaPtr> cache;
  auto found = cache.find(name);
  if (found != cache.end()) return found->second.get();
  const std::string path = std::string(LASTORA_TESTDATA_DIR) + "/schemas/" + name + ".xsd";
  xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(path.c_str());
  xmlSchemaSetParserStructuredErrors(parser, CollectError, errors);
  SchemaPtr schema(xmlSchemaParse(parser));
  xmlSchemaFreeParserCtxt(parser);
  if (!schema) return nullptr;
  return cache.emplace(name, std::move(schema)).first->second.get();
}

std::string SchemaNameOf(xmlDocPtr doc) {
  const xmlNode* root = xmlDocGetRootElement(doc);
  if (root == nullptr || root->ns == nullptr || root->ns->href == nullptr) return "";
  const std::string ns = reinterpret_cast<const char*>(root->ns->href);
  const std::string prefix = "urn:iso:std:iso:20022:tech:xsd:";
  if (ns.rfind(prefix, 0) != 0) return "";
  return ns.substr(prefix.size());
}

}  // namespace

std::string SepaSchemaErrors(const std::string& xml_bytes) {
  std::string errors;
  xmlSetStructuredErrorFunc(&errors, CollectError);
  std::unique_ptr<xmlDoc, DocDeleter> doc(xmlReadMemory(xml_bytes.data(),
                                                        static_cast<int>(xml_bytes.size()),
                                                        "document.xml", nullptr, XML_PARSE_NONET));
  xmlSetStructuredErrorFunc(nullptr, nullptr);
  if (!doc) return errors.empty() ? "not well-formed" : errors;
  const std::string name = SchemaNameOf(doc.get());
  if (name != "pain.008.002.02" && name != "pain.001.002.03") {
    return "no known SEPA namespace on the root element: '" + name + "'";
  }
  xmlSchemaPtr schema = SchemaNamed(name, &errors);
  if (schema == nullptr) return "schema " + name + " could not be loaded: " + errors;
  std::unique_ptr<xmlSchemaValidCtxt, ValidCtxtDeleter> context(xmlSchemaNewValidCtxt(schema));
  xmlSchemaSetValidStructuredErrors(context.get(), CollectError, &errors);
  const int rc = xmlSchemaValidateDoc(context.get(), doc.get());
  if (rc != 0 && errors.empty()) errors = "invalid (libxml2 code " + std::to_string(rc) + ")";
  return errors;
}

std::string SepaSchemaErrorsOfFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read " + path;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return SepaSchemaErrors(bytes.str());
}

}  // namespace lastora::testing
