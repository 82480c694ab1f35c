// A quick pass over the plain documents that payment files are, so that libxml2 need not parse a
// hundred megabytes only to say what such a document plainly is.
#ifndef LASTORA_PLATFORM_LIBXML2_XML_PRESCREEN_H_
#define LASTORA_PLATFORM_LIBXML2_XML_PRESCREEN_H_

#include <string_view>

namespace lastora::xml_prescreen {

// True only for a document that libxml2 certainly accepts as well-formed: UTF-8 with at most the
// plain XML declaration, elements with ASCII names, attributes, namespace declarations, character
// references, the five predefined entities and comments. Anything else (a DOCTYPE, processing
// instructions, CDATA sections, another encoding, deep nesting, very long tokens, any doubt)
// answers false, and false says nothing: then libxml2 must decide, and word its reason.
bool SurelyWellFormed(std::string_view document);

}  // namespace lastora::xml_prescreen

#endif  // LASTORA_PLATFORM_LIBXML2_XML_PRESCREEN_H_
