#include "mailmerge/document_name.h"

#include <array>
#include <string_view>

#include "component/helpers.h"
#include "core/text.h"
#include "lastora/variant.h"
#include "mailmerge/record_text.h"

namespace lastora {
namespace {

constexpr std::string_view kFunctionMark = "Function:";
constexpr std::string_view kDateMark = "Date:";

std::string FunctionValue(const std::string& name, int32_t record_count, double now) {
  if (name == "Date") return Format(Variant::Date(now), "DD.MM.YYYY");
  if (name == "LfdNr") return std::to_string(record_count);
  return "";
}

bool IsDeviceName(std::string_view stem) {
  static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
  const std::string upper = text::UCase(stem);
  for (std::string_view device : kPlain) {
    if (upper == device) return true;
  }
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

std::string FormatDateTokens(std::string pattern, double now) {
  const Variant moment = Variant::Date(now);
  const std::array<std::pair<std::string_view, std::string>, 7> tokens = {{
      {"DD", Format(moment, "DD.MM.YYYY").substr(0, 2)},
      {"MM", Format(moment, "DD.MM.YYYY").substr(3, 2)},
      {"YYYY", Format(moment, "YYYYMMDD").substr(0, 4)},
      {"YY", Format(moment, "YYYYMMDD").substr(2, 2)},
      {"hh", Format(moment, "hh:mm:ss").substr(0, 2)},
      {"mm", Format(moment, "hh:mm:ss").substr(3, 2)},
      {"ss", Format(moment, "hh:mm:ss").substr(6, 2)},
  }};
  for (const auto& [token, value] : tokens) pattern = text::Replace(pattern, token, value);
  return pattern;
}

std::vector<NamePart> PrepareNamePattern(const std::string& pattern, const Table& header,
                                         double now) {
  std::vector<NamePart> parts;
  const VariantArray pieces = SplitToArray(pattern, ";");
  for (int32_t i = pieces.Lower(); i <= pieces.Upper(); ++i) {
    const std::string piece = CStr(pieces[i]);
    NamePart part;
    if (piece.find('"') != std::string::npos) {
      part.text = text::Replace(piece, "\"", "");
    } else if (piece.starts_with(kDateMark)) {
      part.text = FormatDateTokens(piece.substr(kDateMark.size()), now);
    } else if (piece.starts_with(kFunctionMark)) {
      part.kind = NamePart::Kind::kFunction;
      part.text = piece.substr(kFunctionMark.size());
    } else if (const int32_t column = piece.empty() ? 0 : FindHeaderColumn(header, piece);
               column > 0) {
      part.kind = NamePart::Kind::kColumn;
      part.column = column;
    } else {
      part.text = piece;
    }
    parts.push_back(std::move(part));
  }
  return parts;
}

std::vector<NamePart> ParseCellPieces(const std::string& cell_text, const Table& header,
                                      double now) {
  std::vector<NamePart> pieces;
  auto add_literal = [&pieces](std::string_view literal) {
    if (literal.empty()) return;
    if (pieces.empty() || pieces.back().kind != NamePart::Kind::kLiteral) pieces.emplace_back();
    pieces.back().text += literal;
  };
  size_t at = 0;
  while (at < cell_text.size()) {
    const size_t open = cell_text.find("<<", at);
    const size_t close = open == std::string::npos ? open : cell_text.find(">>", open + 2);
    if (close == std::string::npos) {
      add_literal(std::string_view(cell_text).substr(at));
      break;
    }
    add_literal(std::string_view(cell_text).substr(at, open - at));
    const std::string name = cell_text.substr(open + 2, close - open - 2);
    if (name == "Function:Date") {
      add_literal(Format(Variant::Date(now), "DD.MM.YYYY"));
    } else if (name.starts_with(kFunctionMark)) {
      pieces.push_back({NamePart::Kind::kFunction, name.substr(kFunctionMark.size()), 0});
    } else if (const int32_t column = name.empty() ? 0 : FindHeaderColumn(header, name);
               column > 0) {
      pieces.push_back({NamePart::Kind::kColumn, "", column});
    } else {
      add_literal(std::string_view(cell_text).substr(open, close + 2 - open));
    }
    at = close + 2;
  }
  return pieces;
}

std::string FillParts(const std::vector<NamePart>& parts, const Table& records, int32_t record_row,
                      int32_t record_count, double now, bool blank) {
  std::string filled;
  for (const NamePart& part : parts) {
    switch (part.kind) {
      case NamePart::Kind::kLiteral:
        filled += part.text;
        break;
      case NamePart::Kind::kColumn:
        if (!blank) filled += RecordText(records, record_row, part.column);
        break;
      case NamePart::Kind::kFunction:
        filled += FunctionValue(part.text, record_count, now);
        break;
    }
  }
  return filled;
}

std::string DocumentName(const std::vector<NamePart>& parts, const Table& records,
                         int32_t record_row, int32_t record_count, double now,
                         const std::string& extension) {
  return SafeFileName(FillParts(parts, records, record_row, record_count, now, false)) + "." +
         extension;
}

std::string SafeFileName(const std::string& name) {
  static constexpr std::string_view kForbidden = "\\/:*?\"<>|";
  std::string safe;
  for (char c : name) {
    const bool control = static_cast<unsigned char>(c) < 0x20;
    safe += (control || kForbidden.find(c) != std::string_view::npos) ? '_' : c;
  }
  safe = text::Replace(safe, "..", "_");
  while (!safe.empty() && (safe.back() == '.' || safe.back() == ' ')) safe.pop_back();
  const std::string_view stem = std::string_view(safe).substr(0, safe.find('.'));
  if (IsDeviceName(text::Trim(stem))) safe.insert(0, "_");
  return safe.empty() ? "_" : safe;
}

}  // namespace lastora
