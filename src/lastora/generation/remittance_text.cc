#include "generation/remittance_text.h"

#include <algorithm>

#include "core/text.h"
#include "generation/fixed_width.h"

namespace lastora::generation {
namespace {

constexpr std::string_view kLineBreak = "\",\"";  // quote, comma, quote between two lines
constexpr size_t kDtausLineWidth = 27;
constexpr size_t kShortenedLine = 24;

std::string_view WithoutOuterQuotes(std::string_view lines) {
  if (!lines.empty() && lines.front() == '"') lines.remove_prefix(1);
  if (!lines.empty() && lines.back() == '"') lines.remove_suffix(1);
  return lines;
}

std::vector<std::string_view> SplitLines(std::string_view lines) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (size_t found; (found = lines.find(kLineBreak, start)) != std::string_view::npos;
       start = found + kLineBreak.size()) {
    pieces.push_back(lines.substr(start, found - start));
  }
  pieces.push_back(lines.substr(start));
  return pieces;
}

// The lines with each separator replaced by `joint` and every quote dropped, in one pass; the
// same as replacing the separators first and dropping the quotes after.
std::string JoinedWithoutQuotes(std::string_view lines, std::string_view joint) {
  std::string joined;
  joined.reserve(lines.size());
  for (size_t start = 0;;) {
    const size_t found = lines.find(kLineBreak, start);
    const std::string_view line = lines.substr(start, found - start);
    for (size_t from = 0, quote; from <= line.size(); from = quote + 1) {
      quote = std::min(line.find('"', from), line.size());
      joined.append(line.substr(from, quote - from));
    }
    if (found == std::string_view::npos) return joined;
    joined.append(joint);
    start = found + kLineBreak.size();
  }
}

void ReplaceIfPresent(std::string& text, std::string_view find, std::string_view with) {
  if (text.find(find) != std::string::npos) text = text::Replace(text, find, with);
}

std::string Shortened(std::string_view line) { return text::Left(line, kShortenedLine) + "..."; }

std::string PurposeLine(std::string_view line) {
  return UpperCase(text::PadRight(line, kDtausLineWidth));
}

}  // namespace

SepaRemittance SepaRemittanceText(std::string_view lines, bool separate) {
  std::string joined = JoinedWithoutQuotes(lines, separate ? "-" : "");
  if (separate) {
    ReplaceIfPresent(joined, "  ", "");
    ReplaceIfPresent(joined, " -", "-");
  }
  SepaRemittance result;
  if (text::Length(joined) > kSepaRemittanceLength) {
    result.text = text::Left(joined, kSepaRemittanceLength);
    result.cut = true;
  } else {
    result.text = std::move(joined);
  }
  return result;
}

std::vector<std::string> DtausPurposeLines(std::string_view lines, bool keep_closing_line) {
  const std::vector<std::string_view> pieces = SplitLines(WithoutOuterQuotes(lines));
  const size_t count = std::min(pieces.size(), kDtausPurposeLines);
  std::vector<std::string> chosen;
  chosen.reserve(count);
  for (size_t k = 0; k < count; ++k) chosen.push_back(PurposeLine(pieces[k]));
  if (pieces.size() > kDtausPurposeLines) {
    if (keep_closing_line) {
      chosen[kDtausPurposeLines - 2] = PurposeLine(Shortened(pieces[kDtausPurposeLines - 2]));
      chosen[kDtausPurposeLines - 1] = PurposeLine(pieces.back());
    } else {
      chosen[kDtausPurposeLines - 1] = PurposeLine(Shortened(pieces[kDtausPurposeLines - 1]));
    }
  }
  return chosen;
}

std::string ListPurpose(std::string_view lines, bool without_outer_quotes) {
  return text::Replace(without_outer_quotes ? WithoutOuterQuotes(lines) : lines, kLineBreak, "/");
}

}  // namespace lastora::generation
