// What the settings file accepts for the settings whose values the component compares word for
// word or reads as dates and numbers: a typo there would not fail, it would change the run.
#ifndef LASTORA_WORKBOOK_SETTINGS_RULES_H_
#define LASTORA_WORKBOOK_SETTINGS_RULES_H_

#include <string>
#include <string_view>

namespace lastora::settings_rules {

// Why a non-empty value cannot be used, or empty when it can; a usable value is replaced by the
// text the component understands (the spelling it compares with, a switch as it reads one).
std::string Normalise(std::string_view key, std::string& value);

// What the key may hold, for messages ("erlaubt: ..."); empty for free text.
std::string Hint(std::string_view key);

// What an empty value stands for: where the program fills one in ("2" for the first data row, "0"
// for an optional import column) and where the component takes a fixed value for it ("SEPA");
// empty otherwise.
std::string Default(std::string_view key);

// A normalised value as the user reads it: a switch as "ja" or "nein" (an empty one as what it
// means to the component), any other setting unchanged.
std::string Display(std::string_view key, const std::string& value);

}  // namespace lastora::settings_rules

#endif  // LASTORA_WORKBOOK_SETTINGS_RULES_H_
