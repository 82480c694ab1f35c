// A quick pass over the plain documents that payment files are, so that libxml2 need not parse a
// hundred megabytes only to say what such a document plainly is.
#ifndef LASTORA_PLATFORM_LIBXML2_XML_PRESCREEN_H_
#define LASTORA_PLATFORM_LIBXML2_XML_PRESCREEN_H_

#include <cstddef>
#include <functional>
#include <string_view>

namespace lastora::xml_prescreen {

// True only for a document that libxml2 certainly accepts as well-formed: UTF-8 with at most the
// plain XML declaration, elements with ASCII names, attributes, namespace declarations, character
// references, the five predefined entities and comments. Anything else (a DOCTYPE, processing
// instructions, CDATA sections, another encoding, deep nesting, very long tokens, any doubt)
// answers false, and false says nothing: then libxml2 must decide, and word its reason.
bool SurelyWellFormed(std::string_view document);

// Supplies a document's next bytes, at most `room` of them into `into`; 0 at its end.
using ReadMore = std::function<size_t(char* into, size_t room)>;
// Room for the longest text and the longest tag that can pass.
inline constexpr size_t kStreamLookahead = (size_t{2} << 20) + 4096;
// The same check on a document read piece by piece, for one too large to hold whole: only about
// twice `lookahead` bytes of it are held at a time. A token longer than `lookahead` answers false
// (the parser decides), so this may say false where the whole text passes, never the reverse.
bool SurelyWellFormed(const ReadMore& read_more, size_t lookahead = kStreamLookahead);

}  // namespace lastora::xml_prescreen

#endif  // LASTORA_PLATFORM_LIBXML2_XML_PRESCREEN_H_
