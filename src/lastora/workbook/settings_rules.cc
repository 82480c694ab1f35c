#include "workbook/settings_rules.h"

#include <optional>
#include <span>
#include <string_view>

#include "core/text.h"
#include "lastora/variant.h"

namespace lastora::settings_rules {
namespace {

enum class Kind {
  kChoice,     // one of the listed texts, in any case; handed on in the listed spelling
  kOffSwitch,  // the component switches off on "nicht" and on for anything else
  kYesSwitch,  // the component switches on on "ja" and off for anything else
  kDate,
  kNumber,
  kRowNumber,  // a whole number from 1
  kColumn,     // an import column by number or header title, resolved against the list
};

constexpr std::string_view kCycles[] = {"Jahr",        "Halbjahr", "Dritteljahr",
                                        "Vierteljahr", "2 Monate", "Monat"};
constexpr std::string_view kProcedures[] = {"SEPA", "DTAUS"};
constexpr std::string_view kOrderKinds[] = {"Basislastschrift", "Firmenlastschrift", "Überweisung"};
constexpr std::string_view kSequenceTypes[] = {"automatisch", "FRST", "RCUR", "FNAL", "OOFF"};
constexpr std::string_view kEntryExitRules[] = {"Vollen Zeitrahmen abrechnen", "Nichts abrechnen",
                                                "Wechselmonat abrechnen",
                                                "Wechselmonat nicht abrechnen"};
constexpr std::string_view kSecondLines[] = {"Payment-ID", "Mandat-ID", "-"};
constexpr std::string_view kMemberTexts[] = {"Mitgliedsname", "Mitgliedsname und Einzelbetrag",
                                             "Mandat-ID", "Mandat-ID und Einzelbetrag", "-"};
constexpr std::string_view kSwitchWords[] = {"ja", "nein", "an", "aus"};

struct Rule {
  std::string_view key;
  Kind kind;
  std::span<const std::string_view> choices;
  std::string_view default_value = {};
};

constexpr Rule kRules[] = {
    {"SepaVERF", Kind::kChoice, kProcedures, "SEPA"},
    {"SepaCYCL", Kind::kChoice, kCycles},
    {"SepaAART", Kind::kChoice, kOrderKinds},
    {"SepaLART", Kind::kChoice, kSequenceTypes, "automatisch"},
    {"SepaFuncAZYK", Kind::kChoice, kEntryExitRules, "Wechselmonat nicht abrechnen"},
    {"SepaFuncVER2", Kind::kChoice, kSecondLines},
    {"SepaFuncVER3", Kind::kChoice, kMemberTexts},
    {"SepaBTXT", Kind::kOffSwitch, kSwitchWords},
    {"SepaITXT", Kind::kOffSwitch, kSwitchWords},
    {"SepaFuncCOLL", Kind::kOffSwitch, kSwitchWords},
    {"SepaFuncMONT", Kind::kOffSwitch, kSwitchWords},
    {"SepaFuncEINM", Kind::kOffSwitch, kSwitchWords},
    {"SepaFuncNACH", Kind::kOffSwitch, kSwitchWords},
    {"SepaFuncGUTS", Kind::kOffSwitch, kSwitchWords},
    {"SepaFuncWARN", Kind::kOffSwitch, kSwitchWords},
    {"ProgBLZ_Inte", Kind::kYesSwitch, kSwitchWords},
    {"ProgChecBLZ_", Kind::kYesSwitch, kSwitchWords},
    {"SepaADAT", Kind::kDate, {}},
    {"SepaDAT1", Kind::kDate, {}},
    {"SepaDAT2", Kind::kDate, {}},
    {"SepaFuncBMAX", Kind::kNumber, {}},
    {"SepaFuncBMIN", Kind::kNumber, {}},
    {"Import__LINE", Kind::kRowNumber, {}, "2"},
    {"Import__NAME", Kind::kColumn, {}},
    {"Import__MITG", Kind::kColumn, {}, "0"},
    {"Import__IBAN", Kind::kColumn, {}, "0"},
    {"Import__BIC_", Kind::kColumn, {}, "0"},
    {"Import__KONT", Kind::kColumn, {}, "0"},
    {"Import__BLZ_", Kind::kColumn, {}, "0"},
    {"Import__LAND", Kind::kColumn, {}, "0"},
    {"Import__MAND", Kind::kColumn, {}, "0"},
    {"Import__MDAT", Kind::kColumn, {}, "0"},
    {"Import__EDAT", Kind::kColumn, {}, "0"},
    {"Import__PAID", Kind::kColumn, {}, "0"},
    {"Import__EINM", Kind::kColumn, {}, "0"},
    {"Import__NACH", Kind::kColumn, {}, "0"},
    {"Import__GUTS", Kind::kColumn, {}, "0"},
    {"Import__MONB", Kind::kColumn, {}, "0"},
    {"Import__EINT", Kind::kColumn, {}, "0"},
    {"Import__AUST", Kind::kColumn, {}, "0"},
};

const Rule* RuleOf(std::string_view key) {
  for (const Rule& rule : kRules) {
    if (rule.key == key) return &rule;
  }
  return nullptr;
}

bool IsSwitch(const Rule& rule) {
  return rule.kind == Kind::kOffSwitch || rule.kind == Kind::kYesSwitch;
}

std::string Joined(std::span<const std::string_view> choices) {
  std::string out;
  for (std::string_view choice : choices) {
    if (!out.empty()) out += ", ";
    out += choice;
  }
  return out;
}

// Switch texts a German user writes; the old way of saying "off", a text with "nicht", stays.
std::optional<bool> SwitchState(const std::string& value) {
  const std::string word = text::LCase(text::Trim(value));
  if (word == "ja" || word == "an") return true;
  if (word == "nein" || word == "aus" || word.find("nicht") != std::string::npos) return false;
  return std::nullopt;
}

std::string NormaliseChoice(const Rule& rule, std::string& value) {
  const std::string wanted = text::UCase(text::Trim(value));
  for (std::string_view choice : rule.choices) {
    if (text::UCase(choice) == wanted) {
      value = std::string(choice);
      return "";
    }
  }
  return "unbekannter Wert";
}

std::string NormaliseSwitch(const Rule& rule, std::string& value) {
  const std::optional<bool> on = SwitchState(value);
  if (!on) return "unbekannter Wert";
  if (*on) {
    value = "ja";
  } else {
    value = rule.kind == Kind::kOffSwitch ? "nicht" : "nein";
  }
  return "";
}

bool IsRowNumber(const std::string& value) {
  const std::string digits = text::Trim(value);
  return !digits.empty() && digits.size() <= 6 &&
         digits.find_first_not_of("0123456789") == std::string::npos && std::stoi(digits) >= 1;
}

}  // namespace

std::string Normalise(std::string_view key, std::string& value) {
  const Rule* rule = RuleOf(key);
  if (rule == nullptr || text::Trim(value).empty()) return "";
  switch (rule->kind) {
    case Kind::kChoice:
      return NormaliseChoice(*rule, value);
    case Kind::kOffSwitch:
    case Kind::kYesSwitch:
      return NormaliseSwitch(*rule, value);
    case Kind::kDate:
      return IsDate(Variant(value)) ? "" : "kein Datum";
    case Kind::kNumber:
      return IsNumeric(Variant(value)) ? "" : "keine Zahl";
    case Kind::kRowNumber:
      return IsRowNumber(value) ? "" : "keine Zeilennummer";
    case Kind::kColumn:
      return "";
  }
  return "";
}

std::string Hint(std::string_view key) {
  const Rule* rule = RuleOf(key);
  if (rule == nullptr) return "";
  switch (rule->kind) {
    case Kind::kChoice:
    case Kind::kOffSwitch:
    case Kind::kYesSwitch:
      return "erlaubt: " + Joined(rule->choices);
    case Kind::kDate:
      return "erwartet: Datum TT.MM.JJJJ";
    case Kind::kNumber:
      return "erwartet: Zahl";
    case Kind::kRowNumber:
      return "erwartet: Zeilennummer ab 1";
    case Kind::kColumn:
      return "erwartet: Spaltennummer oder Spaltenüberschrift";
  }
  return "";
}

std::string Default(std::string_view key) {
  const Rule* rule = RuleOf(key);
  return rule == nullptr ? "" : std::string(rule->default_value);
}

std::string Display(std::string_view key, const std::string& value) {
  const Rule* rule = RuleOf(key);
  if (rule == nullptr || !IsSwitch(*rule)) return value;
  // An empty switch is on for the component unless it waits for a "ja".
  const std::optional<bool> on = text::Trim(value).empty()
                                     ? std::optional<bool>(rule->kind == Kind::kOffSwitch)
                                     : SwitchState(value);
  return on.value_or(false) ? "ja" : "nein";
}

}  // namespace lastora::settings_rules
