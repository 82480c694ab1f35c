#include "lastora/variant.h"

#include <algorithm>
#include <new>

#include "lastora/vb_error.h"

namespace lastora {

namespace {

// A long text's block: its length, then its bytes.
char* NewLongText(std::string_view text) {
  const size_t size = text.size();
  char* block = static_cast<char*>(::operator new(sizeof size + size));
  std::memcpy(block, &size, sizeof size);
  std::memcpy(block + sizeof size, text.data(), size);
  return block;
}

std::string_view LongTextOf(const char* block) {
  size_t size = 0;
  std::memcpy(&size, block, sizeof size);
  return {block + sizeof size, size};
}

void ExpectKind(const Variant& v, VarType kind) {
  if (v.type() != kind) throw VbError(13);
}

}  // namespace

Variant::Variant(const Variant& other) : bytes_(other.bytes_) {
  if (HoldsLongText()) Set(VarType::kString, NewLongText(other.AsString()));
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) *this = Variant(other);
  return *this;
}

void Variant::SetText(std::string_view text) {
  bytes_[kTypeByte] = static_cast<unsigned char>(VarType::kString);
  if (text.size() <= kLongestShortText) {
    bytes_[kShortSizeByte] = static_cast<unsigned char>(text.size());
    // Not memcpy: an empty view may have no address at all.
    std::copy(text.begin(), text.end(), bytes_.begin() + kShortTextByte);
  } else {
    bytes_[kShortSizeByte] = kLongText;
    Set(VarType::kString, NewLongText(text));
  }
}

void Variant::ReleaseLongText() noexcept { ::operator delete(Get<char*>()); }

bool Variant::IsNumber() const {
  const VarType t = type();
  return t == VarType::kInteger || t == VarType::kLong || t == VarType::kDouble;
}

template <typename T>
T Variant::GetChecked(VarType kind) const {
  ExpectKind(*this, kind);
  return Get<T>();
}

bool Variant::AsBool() const { return GetChecked<bool>(VarType::kBoolean); }
int16_t Variant::AsInteger() const { return GetChecked<int16_t>(VarType::kInteger); }
int32_t Variant::AsLong() const { return GetChecked<int32_t>(VarType::kLong); }
double Variant::AsDouble() const { return GetChecked<double>(VarType::kDouble); }
double Variant::AsDate() const { return GetChecked<double>(VarType::kDate); }
std::string_view Variant::AsString() const {
  ExpectKind(*this, VarType::kString);
  if (HoldsLongText()) return LongTextOf(Get<const char*>());
  return {reinterpret_cast<const char*>(bytes_.data() + kShortTextByte), bytes_[kShortSizeByte]};
}

bool SameKindAndValue(const Variant& a, const Variant& b) {
  if (a.type() != b.type()) return false;
  switch (a.type()) {
    case VarType::kBoolean:
      return a.AsBool() == b.AsBool();
    case VarType::kInteger:
      return a.AsInteger() == b.AsInteger();
    case VarType::kLong:
      return a.AsLong() == b.AsLong();
    case VarType::kDouble:
      return a.AsDouble() == b.AsDouble();
    case VarType::kDate:
      return a.AsDate() == b.AsDate();
    case VarType::kString:
      return a.AsString() == b.AsString();
    default:  // Empty, Null and Missing carry no value
      return true;
  }
}

}  // namespace lastora
