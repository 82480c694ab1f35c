// The row's remittance lines (each in double quotes, joined by commas) in the forms the files
// need: one SEPA text, the DTAUS purpose lines, the payment list's column.
#ifndef LASTORA_GENERATION_REMITTANCE_TEXT_H_
#define LASTORA_GENERATION_REMITTANCE_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

namespace lastora::generation {

inline constexpr size_t kSepaRemittanceLength = 140;
inline constexpr size_t kDtausPurposeLines = 14;

struct SepaRemittance {
  std::string text;
  bool cut = false;  // the text was longer than the field and lost its end
};

// The lines joined into one unstructured text: with `separate` they are joined by "-" (and
// doubled blanks dropped), otherwise directly; then cut to 140 characters.
SepaRemittance SepaRemittanceText(std::string_view lines, bool separate);

// The DTAUS purpose lines, at most 14, each 27 characters in upper case. With more than 14 the
// 14th is cut short and marked "..."; with `keep_closing_line` the 13th is marked instead and
// the last line takes the 14th place, so a closing line survives.
std::vector<std::string> DtausPurposeLines(std::string_view lines, bool keep_closing_line);

// The payment list's purpose column: lines separated by "/"; the outer quotes stay unless
// `without_outer_quotes`.
std::string ListPurpose(std::string_view lines, bool without_outer_quotes);

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_REMITTANCE_TEXT_H_
