#include "accounts/iban_check_digits.h"

#include <cstdint>
#include <string>

#include "core/text.h"
#include "lastora/vb_error.h"

namespace lastora::detail {
namespace {

// The remainder of one long number, fed a few digits at a time. The running value is reduced
// only when it could overflow on the next letter, which keeps divisions rare.
class Mod97 {
 public:
  void Feed(std::string_view part) {
    for (const char c : part) {
      if (c >= '0' && c <= '9') {
        value_ = value_ * 10 + static_cast<uint64_t>(c - '0');
      } else if (c >= 'A' && c <= 'Z') {
        value_ = value_ * 100 + static_cast<uint64_t>(c - 'A' + 10);
      } else {
        throw VbError(13);
      }
      if (value_ >= kReduceAbove) value_ %= 97;
    }
  }
  unsigned Remainder() const { return static_cast<unsigned>(value_ % 97); }

 private:
  static constexpr uint64_t kReduceAbove = uint64_t{1} << 56;
  uint64_t value_ = 0;
};

bool StartsWithFourAsciiBytes(std::string_view s) {
  const size_t n = s.size() < 4 ? s.size() : 4;
  for (size_t i = 0; i < n; ++i) {
    if (static_cast<unsigned char>(s[i]) >= 0x80) return false;
  }
  return true;
}

}  // namespace

int IbanCheckDigits(std::string_view iban) {
  Mod97 mod;
  if (StartsWithFourAsciiBytes(iban)) {
    // The usual case: byte positions are character positions.
    mod.Feed(iban.size() > 4 ? iban.substr(4) : std::string_view());
    mod.Feed(iban.substr(0, iban.size() < 2 ? iban.size() : 2));
  } else {
    mod.Feed(text::Mid(iban, 5));
    mod.Feed(text::Left(iban, 2));
  }
  mod.Feed("00");
  return 98 - static_cast<int>(mod.Remainder());
}

}  // namespace lastora::detail
