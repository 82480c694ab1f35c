// Text operations that count characters (Unicode code points) rather than bytes, and the
// Windows-1252 codec for the files the system reads and writes as 8-bit text.
#ifndef LASTORA_CORE_TEXT_H_
#define LASTORA_CORE_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace lastora::text {

inline constexpr size_t kNpos = static_cast<size_t>(-1);

// Number of characters of a UTF-8 text (invalid bytes count one each).
size_t Length(std::string_view s);
// Number of leading bytes below 0x80: each of them is one character, in every code page.
size_t AsciiPrefix(std::string_view s);
// The first / last n characters; the whole text when it is shorter.
std::string Left(std::string_view s, size_t n);
std::string Right(std::string_view s, size_t n);
// n characters from 1-based character position start (the rest when n is kNpos).
std::string Mid(std::string_view s, size_t start, size_t n = kNpos);
// 1-based character position of the first `find` at or after character `start`; 0 when absent.
size_t InStr(std::string_view s, std::string_view find, size_t start = 1);
// 1-based character position of the last `find`; 0 when absent.
size_t InStrRev(std::string_view s, std::string_view find);

// Blanks only, as the platform's Trim.
std::string Trim(std::string_view s);
// The same as a view into s.
std::string_view TrimmedView(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
// Upper / lower case for ASCII and Latin-1 letters (ß stays).
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
// Every occurrence, left to right, non-overlapping.
std::string Replace(std::string_view s, std::string_view find, std::string_view with);
// count copies of the character c (a UTF-8 sequence).
std::string Repeat(std::string_view c, size_t count);
// Appends the value cut or filled on the right with the character `fill` (a UTF-8 sequence) to
// exactly `width` characters: the fixed fields of lists, records and remittance lines.
void AppendPadRight(std::string& out, std::string_view value, size_t width,
                    std::string_view fill = " ");
std::string PadRight(std::string_view value, size_t width, std::string_view fill = " ");

// UTF-8 to Windows-1252, one byte per character; a character outside the code page becomes "?".
std::string ToWindows1252(std::string_view utf8);
void AppendWindows1252(std::string& out, std::string_view utf8);
// Windows-1252 bytes to UTF-8 (each byte one character; the five unassigned bytes map to U+0081..).
std::string FromWindows1252(std::string_view bytes);
// True when the character (a code point) has a Windows-1252 byte, and that byte.
bool Windows1252Byte(char32_t code_point, unsigned char* byte);

// True when every byte belongs to a well-formed UTF-8 sequence: no overlong forms, no surrogates,
// nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view s);

// Decodes one code point at offset; advances offset. Invalid bytes decode as U+FFFD and move one.
char32_t NextCodePoint(std::string_view s, size_t& offset);
void AppendCodePoint(std::string& out, char32_t code_point);

// The four characters XML counts as white space (not the vertical tab or form feed isspace knows).
constexpr bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace lastora::text

#endif  // LASTORA_CORE_TEXT_H_
