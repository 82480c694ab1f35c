#include "platform/win32/utf16_text.h"

#include <oleauto.h>
#include <windows.h>

#include "lastora/automation_values.h"
#include "lastora/vb_error.h"

namespace lastora::automation {
namespace {

// Most cells of a club's sheets are plain ASCII (amounts as text, IBANs, most names): those are
// copied unit by unit without asking the code page functions. Stops at the first unit that is
// not ASCII and says so; what was written up to there is then overwritten by the slow path.
template <typename From, typename To>
bool CopyAscii(const From* from, size_t count, To* to) {
  for (size_t i = 0; i < count; ++i) {
    const auto unit = static_cast<std::make_unsigned_t<From>>(from[i]);
    if (unit >= 0x80) return false;
    to[i] = static_cast<To>(unit);
  }
  return true;
}

}  // namespace

std::string_view Utf8Into(std::wstring_view wide, std::string& buffer) {
  buffer.resize(wide.size());
  if (CopyAscii(wide.data(), wide.size(), buffer.data())) return buffer;
  // One UTF-16 unit never takes more than three bytes (a surrogate pair two units for four), so
  // one call fills the buffer without asking for the length first.
  buffer.resize(wide.size() * 3);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), buffer.data(),
                          static_cast<int>(buffer.size()), nullptr, nullptr);
  buffer.resize(static_cast<size_t>(length));
  return buffer;
}

std::string_view Utf8Into(BSTR text, std::string& buffer) {
  // The BSTR's own length, not its first NUL: embedded NULs are kept.
  return Utf8Into(
      text == nullptr ? std::wstring_view() : std::wstring_view(text, SysStringLen(text)), buffer);
}

BSTR NewBstr(std::string_view utf8, std::wstring& buffer) {
  const UINT size = static_cast<UINT>(utf8.size());
  BSTR text = SysAllocStringLen(nullptr, size);
  if (text == nullptr) throw VbError(7);
  if (CopyAscii(utf8.data(), utf8.size(), text)) return text;
  SysFreeString(text);
  // UTF-8 never gives more UTF-16 units than it has bytes.
  buffer.resize(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(size),
                                         buffer.data(), static_cast<int>(buffer.size()));
  text = SysAllocStringLen(buffer.data(), static_cast<UINT>(length));
  if (text == nullptr) throw VbError(7);
  return text;
}

std::wstring Wide(std::string_view utf8) {
  std::wstring wide(utf8.size(), L'\0');
  if (CopyAscii(utf8.data(), utf8.size(), wide.data())) return wide;
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(length));
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  std::string utf8;
  Utf8Into(wide, utf8);
  return utf8;
}

std::string FromBstr(BSTR text) {
  std::string utf8;
  Utf8Into(text, utf8);
  return utf8;
}

BSTR ToBstr(std::string_view utf8) {
  std::wstring buffer;
  return NewBstr(utf8, buffer);
}

}  // namespace lastora::automation
