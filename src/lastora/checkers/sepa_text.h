// The SEPA document as the checker searches it: every line trimmed and all lines joined into one
// text, so that nested tags stand next to each other whatever the writer's indentation was.
#ifndef LASTORA_CHECKERS_SEPA_TEXT_H_
#define LASTORA_CHECKERS_SEPA_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace lastora::sepa_text {

// The file's lines, each trimmed of blanks and tabs, joined without separator; lines end at CR,
// LF or CR LF. The result is UTF-8: a file that is not valid UTF-8 is taken as Windows-1252, one
// byte per character. The file is read a window at a time straight behind the text joined so
// far, and joined there, so that a payment file of hundreds of megabytes is never held whole
// beside its joined text. VbError 53 or 75 as for any file read.
std::string ReadJoinedLines(const std::string& path, size_t window = size_t{1} << 20);

// The text after the first `open` up to the next `close` after it; empty when either is missing.
std::string_view Between(std::string_view text, std::string_view open, std::string_view close);

// An element's content with the XML character references resolved (&amp; &lt; &gt; &quot;
// &apos; and numeric ones); a reference that cannot be resolved stays as written.
std::string XmlValue(std::string_view raw);

// Whether the bytes are well-formed UTF-8.
bool IsUtf8(std::string_view bytes);

}  // namespace lastora::sepa_text

#endif  // LASTORA_CHECKERS_SEPA_TEXT_H_
