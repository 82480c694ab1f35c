#include "processing/remittance_lines.h"

#include "component/catalogue.h"
#include "component/helpers.h"
#include "core/text.h"
#include "lastora/variant.h"

namespace lastora::processing {
namespace {

constexpr int kMessagePaymentId = 143;
constexpr int kMessageMandateReference = 144;
constexpr size_t kLongestDtausLines = 419;
constexpr size_t kShortestTooLongSepaText = 143;

// A further line: a comma, then the text padded with blanks and cut to the width, in quotes.
void AppendLine(std::string& lines, const std::string& line_text, int32_t width) {
  if (!lines.empty()) lines += ',';
  lines += '"';
  lines += PadRight(Variant(line_text), Variant(width), Variant(" "));
  lines += '"';
}

// The member text's parts (merged rows) become lines of their own, as they are.
void AppendMemberText(std::string& lines, const std::string& member_text) {
  lines += ",\"";
  lines += text::Replace(member_text, " / ", "\",\"");
  lines += '"';
}

void AppendChosenLines(const RemittanceLayout& layout, const RemittanceSource& row,
                       std::string& lines) {
  if (layout.second_line_kind == "Payment-ID" && !row.payment_id.empty()) {
    AppendLine(lines, Message(kMessagePaymentId) + row.payment_id, layout.width);
  } else if (layout.second_line_kind == "Mandat-ID" && !row.mandate_reference.empty()) {
    AppendLine(lines, Message(kMessageMandateReference) + row.mandate_reference, layout.width);
  }
  if (layout.member_text && !row.member_text.empty()) AppendMemberText(lines, row.member_text);
  if (layout.last_line != "-" && !layout.last_line.empty()) {
    AppendLine(lines, layout.last_line, layout.width);
  }
}

// Halving each pair of blanks, left to right, shortens the text by one per pair.
size_t LengthWithBlankPairsHalved(std::string_view lines) {
  size_t pairs = 0;
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i] == ' ' && lines[i + 1] == ' ') {
      ++pairs;
      ++i;
    }
  }
  return text::Length(lines) - pairs;
}

}  // namespace

RemittanceLayout ReadRemittanceLayout(const SEPAVARIABLEN& settings,
                                      const ProcessingOptions& options,
                                      std::optional<std::vector<std::string>> template_lines) {
  RemittanceLayout layout;
  layout.width = options.line_width;
  layout.first_line = settings.SepaFuncVER1.Value;
  layout.second_line_kind = settings.SepaFuncVER2.Value;
  layout.member_text = settings.SepaFuncVER3.Value != "-";
  layout.last_line = settings.SepaFuncVER4.Value;
  layout.template_lines = std::move(template_lines);
  return layout;
}

std::string BuildRemittanceLines(const RemittanceLayout& layout, const RemittanceSource& row) {
  std::string lines;
  AppendLine(lines, layout.first_line, layout.width);
  if (!layout.template_lines) {
    AppendChosenLines(layout, row, lines);
    return lines;
  }
  for (const std::string& line : *layout.template_lines) {
    AppendLine(lines, text::Replace(line, "<<Mandatsreferenz>>", row.mandate_reference),
               layout.width);
  }
  return lines;
}

bool RemittanceTooLong(std::string_view lines, bool dtaus) {
  if (dtaus) return text::Length(lines) > kLongestDtausLines;
  return LengthWithBlankPairsHalved(lines) >= kShortestTooLongSepaText;
}

}  // namespace lastora::processing
