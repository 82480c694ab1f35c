#include <string_view>

#include "core/value_kinds.h"
#include "lastora/variant.h"

namespace lastora {

namespace {

int Sign(double a, double b) { return a < b ? -1 : (a > b ? 1 : 0); }

int CompareText(std::string_view a, std::string_view b) {
  // Byte order of UTF-8 is code-point order.
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

int Compare(const Variant& a, const Variant& b) {
  detail::RequireValue(a);
  detail::RequireValue(b);
  if (a.IsEmpty() && b.IsEmpty()) return 0;
  // Empty takes the other side's kind: "" against a text, 0 against a number.
  if (a.IsString() || b.IsString()) {
    if (a.IsString() && b.IsString()) return CompareText(a.AsString(), b.AsString());
    if (a.IsEmpty()) return CompareText("", b.AsString());
    if (b.IsEmpty()) return CompareText(a.AsString(), "");
    return a.IsString() ? 1 : -1;  // a number sorts before any text
  }
  return Sign(detail::NumberOf(a), detail::NumberOf(b));
}

}  // namespace lastora
