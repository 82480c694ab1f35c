// UTF-16 at the automation edge, UTF-8 inside. The conversions that run once per cell of a
// worksheet range write into a buffer the caller keeps for the whole range, so that a table of
// millions of cells costs no allocation per cell beyond what the cell itself needs.
#ifndef LASTORA_PLATFORM_WIN32_UTF16_TEXT_H_
#define LASTORA_PLATFORM_WIN32_UTF16_TEXT_H_

#include <oaidl.h>

#include <string>
#include <string_view>

namespace lastora::automation {

// The text as UTF-8, valid until `buffer` is used again.
std::string_view Utf8Into(std::wstring_view wide, std::string& buffer);
std::string_view Utf8Into(BSTR text, std::string& buffer);

// A new BSTR (the caller owns it); `buffer` holds the wide text of a non-ASCII one on the way.
// Throws VbError 7 when out of memory.
BSTR NewBstr(std::string_view utf8, std::wstring& buffer);

}  // namespace lastora::automation

#endif  // LASTORA_PLATFORM_WIN32_UTF16_TEXT_H_
