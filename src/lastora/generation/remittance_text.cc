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

std::string Shortened(std::string_view line) { return text::Left(line, kShortenedLine) + "..."; }

}  // namespace

SepaRemittance SepaRemittanceText(std::string_view lines, bool separate) {
  std::string joined;
  if (separate) {
    joined = text::Replace(lines, kLineBreak, "-");
    joined = text::Replace(joined, "\"", "");
    joined = text::Replace(joined, "  ", "");
    joined = text::Replace(joined, " -", "-");
  } else {
    joined = text::Replace(lines, kLineBreak, "");
    joined = text::Replace(joined, "\"", "");
  }
  SepaRemittance result;
  if (CharCount(joined) > kSepaRemittanceLength) {
    result.text = text::Left(joined, kSepaRemittanceLength);
    result.cut = true;
  } else {
    result.text = std::move(joined);
  }
  return result;
}

std::vector<std::string> DtausPurposeLines(std::string_view lines, bool keep_closing_line) {
  const std::vector<std::string_view> pieces = SplitLines(WithoutOuterQuotes(lines));
  std::vector<std::string> chosen(pieces.begin(),
                                  pieces.begin() + std::min(pieces.size(), kDtausPurposeLines));
  if (pieces.size() > kDtausPurposeLines) {
    if (keep_closing_line) {
      chosen[kDtausPurposeLines - 2] = Shortened(chosen[kDtausPurposeLines - 2]);
      chosen[kDtausPurposeLines - 1] = std::string(pieces.back());
    } else {
      chosen[kDtausPurposeLines - 1] = Shortened(chosen[kDtausPurposeLines - 1]);
    }
  }
  for (std::string& line : chosen) line = UpperCase(LeftAligned(line, kDtausLineWidth));
  return chosen;
}

std::string ListPurpose(std::string_view lines, bool without_outer_quotes) {
  return text::Replace(without_outer_quotes ? WithoutOuterQuotes(lines) : lines, kLineBreak, "/");
}

}  // namespace lastora::generation
