#include <algorithm>
#include <vector>

#include "lastora/settings.h"
#include "lastora/variant.h"

namespace lastora {
namespace {

// The exchanged fields in ascending cell order, as the copy reads them.
const std::vector<const SettingsField*>& FieldsByIndex() {
  static const std::vector<const SettingsField*> fields = [] {
    std::vector<const SettingsField*> sorted;
    for (const SettingsField& field : SettingsFields()) {
      if (field.index > 0) sorted.push_back(&field);
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const SettingsField* a, const SettingsField* b) { return a->index < b->index; });
    return sorted;
  }();
  return fields;
}

// Inside the mapped range, yet the caller always gets it back as an empty text.
constexpr int32_t kClearedCell = 160;

}  // namespace

void VariablenToRecord(const VariantArray& aVariablen, SEPAVARIABLEN& sAct) {
  for (const SettingsField* field : FieldsByIndex()) {
    (sAct.*(field->member)).Value = CStr(aVariablen.At(field->index));
  }
}

void RecordToVariablen(VariantArray& aVariablen, const SEPAVARIABLEN& sAct) {
  VariantArray fresh(kSettingsArraySize, 1);
  for (const SettingsField* field : FieldsByIndex()) {
    fresh.At(field->index) = Variant((sAct.*(field->member)).Value);
  }
  fresh.At(kClearedCell) = Variant(std::string());
  aVariablen = std::move(fresh);
}

}  // namespace lastora
