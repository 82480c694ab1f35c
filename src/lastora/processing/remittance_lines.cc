#include "processing/remittance_lines.h"

#include "component/catalogue.h"
#include "core/text.h"
#include "processing/fixed_width.h"

namespace lastora::processing {
namespace {

constexpr int kMessagePaymentId = 143;
constexpr int kMessageMandateReference = 144;
constexpr size_t kLongestDtausLines = 419;
constexpr size_t kShortestTooLongSepaText = 143;

// The text padded with blanks and cut to the width, in quotes.
std::string QuotedLine(const std::string& line_text, int32_t width) {
  return '"' + FixedWidth(line_text, static_cast<size_t>(width)) + '"';
}

void AppendLine(std::string& lines, const std::string& quoted_line) {
  lines += ',';
  lines += quoted_line;
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
    AppendLine(lines, QuotedLine(Message(kMessagePaymentId) + row.payment_id, layout.width));
  } else if (layout.second_line_kind == "Mandat-ID" && !row.mandate_reference.empty()) {
    AppendLine(lines,
               QuotedLine(Message(kMessageMandateReference) + row.mandate_reference, layout.width));
  }
  if (layout.member_text && !row.member_text.empty()) AppendMemberText(lines, row.member_text);
  if (!layout.last_line.empty()) AppendLine(lines, layout.last_line);
}

// Halving each pair of blanks, left to right, shortens the text by one per pair.
size_t LengthWithBlankPairsHalved(std::string_view lines) {
  size_t pairs = 0;
  bool ascii = true;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (static_cast<unsigned char>(lines[i]) >= 0x80) ascii = false;
    if (lines[i] == ' ' && i + 1 < lines.size() && lines[i + 1] == ' ') {
      ++pairs;
      ++i;
    }
  }
  return (ascii ? lines.size() : text::Length(lines)) - pairs;
}

}  // namespace

RemittanceLayout ReadRemittanceLayout(const SEPAVARIABLEN& settings,
                                      const ProcessingOptions& options,
                                      std::optional<std::vector<std::string>> template_lines) {
  RemittanceLayout layout;
  layout.width = options.line_width;
  layout.first_line = QuotedLine(settings.SepaFuncVER1.Value, layout.width);
  layout.second_line_kind = settings.SepaFuncVER2.Value;
  layout.member_text = settings.SepaFuncVER3.Value != "-";
  const std::string& last = settings.SepaFuncVER4.Value;
  if (last != "-" && !last.empty()) layout.last_line = QuotedLine(last, layout.width);
  layout.template_lines = std::move(template_lines);
  return layout;
}

std::string BuildRemittanceLines(const RemittanceLayout& layout, const RemittanceSource& row) {
  std::string lines = layout.first_line;
  if (!layout.template_lines) {
    AppendChosenLines(layout, row, lines);
    return lines;
  }
  for (const std::string& line : *layout.template_lines) {
    AppendLine(lines, QuotedLine(text::Replace(line, "<<Mandatsreferenz>>", row.mandate_reference),
                                 layout.width));
  }
  return lines;
}

bool RemittanceTooLong(std::string_view lines, bool dtaus) {
  if (dtaus) return text::Length(lines) > kLongestDtausLines;
  return LengthWithBlankPairsHalved(lines) >= kShortestTooLongSepaText;
}

}  // namespace lastora::processing
