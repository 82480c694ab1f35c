// Arbitrary bytes through the text operations and the conversions of cell text: nothing may
// crash, and the code page and slicing laws must hold for every input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/text.h"
#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

template <typename F>
void IgnoringPlatformErrors(F f) {
  try {
    f();
  } catch (const lastora::VbError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace text = lastora::text;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  Require(text::ToWindows1252(text::FromWindows1252(bytes)) == bytes);

  const size_t length = text::Length(bytes);
  const size_t cut = size == 0 ? 0 : data[0] % (length + 1);
  Require(text::Left(bytes, cut) + text::Mid(bytes, cut + 1) == bytes);
  Require(text::Left(bytes, cut) + text::Right(bytes, length - cut) == bytes);
  Require(text::Length(text::UCase(bytes)) == length);
  Require(text::Length(text::ToWindows1252(bytes)) <= size);
  if (cut > 0) {
    const std::string piece = text::Mid(bytes, cut, 2);
    if (!piece.empty()) Require(text::InStr(bytes, piece) <= cut);
  }

  const lastora::Variant cell{std::string(bytes)};
  IgnoringPlatformErrors([&] {
    const double number = lastora::CDbl(cell);
    Require(lastora::IsNumeric(cell));
    lastora::Format(number, "0.00");
    lastora::CStr(number);
  });
  IgnoringPlatformErrors([&] {
    const double serial = lastora::CDate(cell);
    Require(lastora::IsDate(cell));
    Require(lastora::CDate(lastora::CStr(lastora::Variant::Date(serial))) == serial ||
            serial != serial);
  });
  IgnoringPlatformErrors([&] { lastora::Format(cell, bytes.substr(0, 8)); });
  IgnoringPlatformErrors([&] { lastora::CLng(cell); });
  IgnoringPlatformErrors([&] { lastora::CBool(cell); });
  return 0;
}
