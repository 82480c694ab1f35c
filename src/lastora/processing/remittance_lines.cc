#include "processing/remittance_lines.h"

#include "component/catalogue.h"
#include "component/message_ids.h"
#include "core/text.h"

namespace lastora::processing {
namespace {

constexpr size_t kLongestDtausLines = 419;
constexpr size_t kShortestTooLongSepaText = 143;
// Room for four SEPA lines, so most rows build their text without growing it.
constexpr size_t kTypicalLinesCapacity = 160;

// A further line: a comma, then the text padded with blanks and cut to the width, in quotes.
void AppendLine(std::string& lines, std::string_view line_text, int32_t width) {
  lines += ",\"";
  text::AppendPadRight(lines, line_text, static_cast<size_t>(width));
  lines += '"';
}

// The member text's parts (merged rows) become lines of their own, as they are.
void AppendMemberText(std::string& lines, std::string_view member_text) {
  static constexpr std::string_view kPartSeparator = " / ";
  lines += ",\"";
  for (size_t at = member_text.find(kPartSeparator); at != std::string_view::npos;
       at = member_text.find(kPartSeparator)) {
    lines += member_text.substr(0, at);
    lines += "\",\"";
    member_text.remove_prefix(at + kPartSeparator.size());
  }
  lines += member_text;
  lines += '"';
}

void AppendChosenLines(const RemittanceLayout& layout, const RemittanceSource& row,
                       std::string& lines) {
  if (layout.second_line_kind == "Payment-ID" && !row.payment_id.empty()) {
    AppendLine(lines, Message(msg::kPaymentIdLabel) + std::string(row.payment_id), layout.width);
  } else if (layout.second_line_kind == "Mandat-ID" && !row.mandate_reference.empty()) {
    AppendLine(lines, Message(msg::kMandateReferenceLabel) + std::string(row.mandate_reference),
               layout.width);
  }
  if (layout.member_text && !row.member_text.empty()) AppendMemberText(lines, row.member_text);
  if (!layout.last_line.empty()) {
    lines += ',';
    lines += layout.last_line;
  }
}

// Halving each pair of blanks, left to right, shortens the text by one per pair: by half of
// every run of two or more blanks, rounded down.
size_t LengthWithBlankPairsHalved(std::string_view lines) {
  size_t pairs = 0;
  for (size_t at = lines.find("  "); at != std::string_view::npos; at = lines.find("  ", at)) {
    const size_t run_start = at;
    while (at < lines.size() && lines[at] == ' ') ++at;
    pairs += (at - run_start) / 2;
  }
  return text::Length(lines) - pairs;
}

}  // namespace

RemittanceLayout ReadRemittanceLayout(const SEPAVARIABLEN& settings,
                                      const ProcessingOptions& options,
                                      std::optional<std::vector<std::string>> template_lines) {
  RemittanceLayout layout;
  layout.width = options.line_width;
  layout.first_line = '"' + text::PadRight(settings.SepaFuncVER1.Value, layout.width) + '"';
  layout.second_line_kind = settings.SepaFuncVER2.Value;
  layout.member_text = settings.SepaFuncVER3.Value != "-";
  const std::string& last = settings.SepaFuncVER4.Value;
  if (last != "-" && !last.empty()) {
    layout.last_line = '"' + text::PadRight(last, layout.width) + '"';
  }
  layout.template_lines = std::move(template_lines);
  return layout;
}

std::string BuildRemittanceLines(const RemittanceLayout& layout, const RemittanceSource& row) {
  std::string lines;
  lines.reserve(kTypicalLinesCapacity);
  lines += layout.first_line;
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
