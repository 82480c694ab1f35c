// The remittance lines of a payment: fixed-width lines, each in double quotes, joined by commas.
#ifndef LASTORA_PROCESSING_REMITTANCE_LINES_H_
#define LASTORA_PROCESSING_REMITTANCE_LINES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lastora/settings.h"
#include "processing/processing_options.h"

namespace lastora::processing {

// The lines every row shares are padded and quoted once per run.
struct RemittanceLayout {
  int32_t width = 35;
  std::string first_line;        // SepaFuncVER1, quoted
  std::string second_line_kind;  // SepaFuncVER2: "Payment-ID", "Mandat-ID" or anything else
  bool member_text = false;      // SepaFuncVER3 is not "-"
  std::string last_line;         // SepaFuncVER4, quoted; empty when VER4 is "-" or empty
  // The DTAUS template's lines, which then replace every line after the first.
  std::optional<std::vector<std::string>> template_lines;
};

RemittanceLayout ReadRemittanceLayout(const SEPAVARIABLEN& settings,
                                      const ProcessingOptions& options,
                                      std::optional<std::vector<std::string>> template_lines);

// The values of a row the lines are made of; blank cells are empty texts.
struct RemittanceSource {
  std::string_view payment_id;         // column 7
  std::string_view mandate_reference;  // column 10
  std::string_view member_text;        // column 25; merged parts separated by " / "
};

std::string BuildRemittanceLines(const RemittanceLayout& layout, const RemittanceSource& row);

// A DTAUS record holds at most 14 lines (419 characters with quotes and commas); a SEPA text at
// most 140 characters once the fill blanks have been halved.
bool RemittanceTooLong(std::string_view lines, bool dtaus);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_REMITTANCE_LINES_H_
