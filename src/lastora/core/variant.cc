#include "lastora/variant.h"

#include <type_traits>

#include "lastora/vb_error.h"

namespace lastora {

namespace {

template <typename T, typename Storage>
const T& Expect(const Storage& v) {
  const T* value = std::get_if<T>(&v);
  if (value == nullptr) throw VbError(13);
  return *value;
}

}  // namespace

bool Variant::IsNumber() const {
  const VarType t = type();
  return t == VarType::kInteger || t == VarType::kLong || t == VarType::kDouble;
}

bool Variant::AsBool() const { return Expect<bool>(v_); }
int16_t Variant::AsInteger() const { return Expect<int16_t>(v_); }
int32_t Variant::AsLong() const { return Expect<int32_t>(v_); }
double Variant::AsDouble() const { return Expect<double>(v_); }
double Variant::AsDate() const { return Expect<DateSerial>(v_).value; }
const std::string& Variant::AsString() const { return Expect<std::string>(v_); }

bool SameKindAndValue(const Variant& a, const Variant& b) {
  if (a.v_.index() != b.v_.index()) return false;
  return std::visit(
      [&b](const auto& left) {
        using T = std::decay_t<decltype(left)>;
        const T& right = std::get<T>(b.v_);
        if constexpr (std::is_same_v<T, DateSerial>) {
          return left.value == right.value;
        } else if constexpr (std::is_same_v<T, std::monostate> ||
                             std::is_same_v<T, Variant::NullTag> ||
                             std::is_same_v<T, Variant::MissingTag>) {
          return true;
        } else {
          return left == right;
        }
      },
      a.v_);
}

}  // namespace lastora
