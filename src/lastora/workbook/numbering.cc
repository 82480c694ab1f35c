#include "lastora/numbering.h"

#include "component/catalogue.h"
#include "component/helpers.h"
#include "core/text.h"

namespace lastora {
namespace {

constexpr size_t kMaxIdentifier = 35;
// The longest identifier is the stem, "-", the moment as YYYYMMDDhhmmss and "-FRST-MSG".
constexpr size_t kMaxStem = kMaxIdentifier - 1 - 14 - 9;

bool IsSepaCharacter(char c) {
  static constexpr std::string_view kPunctuation = " +?/-:().,'";
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         kPunctuation.find(c) != std::string_view::npos;
}

std::string CleanStem(const std::string& given) {
  std::string kept;
  for (char c : ReplaceUmlauts(given)) {
    if (IsSepaCharacter(c)) kept += c;
  }
  kept = text::Trim(text::Left(text::Trim(kept), kMaxStem));
  return kept.empty() ? "LASTORA" : kept;
}

std::string RowNumber(int32_t row) {
  std::string digits = std::to_string(row);
  return digits.size() >= 5 ? digits : std::string(5 - digits.size(), '0') + digits;
}

}  // namespace

IdentifierPrefix MakeIdentifierPrefix(const SEPAVARIABLEN& settings) {
  IdentifierPrefix out;
  const std::string& date = settings.SepaADAT.Value;
  if (!IsDate(Variant(date))) {
    out.result = Message(96) + " " + date;
    return out;
  }
  const std::string given = text::Trim(settings.SepaFRID.Value);
  const std::string stem = CleanStem(given);
  if (!given.empty() && stem != given) {
    out.notice = "SepaFRID \"" + given + "\" gekürzt oder bereinigt zu \"" + stem + "\"";
  }
  out.stem = stem;
  out.prefix = stem + "-" + Format(Variant::Date(CDate(Variant(date))), "YYYYMMDD");
  out.result = "ok";
  return out;
}

void DeriveFileIdentifiers(SEPAVARIABLEN& settings, const IdentifierPrefix& ids, double now) {
  const std::string prefix = ids.stem + "-" + Format(Variant::Date(now), "YYYYMMDDhhmmss");
  const auto derive = [&prefix](SEPAVALUES& field, const char* suffix) {
    if (text::Trim(field.Value).empty()) field.Value = prefix + suffix;
  };
  derive(settings.SepaFMI1, "-FRST-MSG");
  derive(settings.SepaFMI2, "-RCUR-MSG");
  derive(settings.SepaFPI1, "-FRST");
  derive(settings.SepaFPI2, "-RCUR");
}

int32_t NumberPayments(Table& values, const std::string& prefix) {
  int32_t numbered = 0;
  for (int32_t r = values.RowLower(); r <= values.RowUpper(); ++r) {
    const Variant& amount = values(r, 8);
    const bool has_amount = !amount.IsEmpty() && !(amount.IsString() && amount.AsString().empty());
    const Variant& id = values(r, 7);
    const bool has_id = !id.IsEmpty() && !(id.IsString() && id.AsString().empty());
    if (!has_amount || has_id) continue;
    values(r, 7) = prefix + "-" + RowNumber(r - values.RowLower() + 1);
    ++numbered;
  }
  return numbered;
}

}  // namespace lastora
