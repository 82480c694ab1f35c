// How the program takes text files that people made: UTF-8 (with or without a byte-order mark) or,
// when the bytes are not valid UTF-8, the Windows code page that older club files use.
#ifndef LASTORA_TEXT_FILE_H_
#define LASTORA_TEXT_FILE_H_

#include <string>
#include <string_view>

#include "lastora/export.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct DecodedText {
  std::string text;          // UTF-8, without a byte-order mark
  bool windows1252 = false;  // the bytes were not UTF-8
  bool had_bom = false;
};
DecodedText DecodeTextFile(std::string_view bytes);
// The same, reusing the bytes' memory when they are UTF-8 already (a file of hundreds of
// megabytes is not held twice).
DecodedText DecodeTextFileInPlace(std::string&& bytes);
// The inverse of DecodeTextFile for the same flags.
std::string EncodeTextFile(const DecodedText& decoded);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_TEXT_FILE_H_
