#include "lastora/csv.h"

#include <algorithm>

#include "core/csv_fields.h"

namespace lastora {
namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

namespace csv {

namespace {

// Line breaks in a stretch of quoted text, CR LF counting once; `next` is the character after it.
int LineBreaks(std::string_view run, char next) {
  int breaks = static_cast<int>(std::count(run.begin(), run.end(), '\n'));
  if (run.find('\r') == std::string_view::npos) return breaks;
  for (size_t i = 0; i < run.size(); ++i) {
    if (run[i] == '\r' && (i + 1 < run.size() ? run[i + 1] : next) != '\n') ++breaks;
  }
  return breaks;
}

}  // namespace

FieldReader::FieldReader(std::string_view text) : text_(text), separator_(CsvSeparator(text)) {
  ends_field_[static_cast<unsigned char>(separator_)] = true;
  ends_field_['\n'] = true;
  ends_field_['\r'] = true;
}

bool FieldReader::Next(std::string_view* field, bool* row_ends) {
  if (pos_ >= text_.size()) {
    if (!empty_field_pending_) return false;
    empty_field_pending_ = false;
    *field = {};
    *row_ends = true;
    return true;
  }
  const bool quoted = text_[pos_] == '"';
  if (quoted) ReadQuoted();
  const size_t start = pos_;
  const char* const end = text_.data() + text_.size();
  const char* p = text_.data() + start;
  while (p != end && !ends_field_[static_cast<unsigned char>(*p)]) ++p;
  pos_ = static_cast<size_t>(p - text_.data());
  const std::string_view rest = text_.substr(start, pos_ - start);
  if (quoted) {
    // Whatever follows the closing quote up to the separator still belongs to the field.
    unquoted_.append(rest);
    *field = unquoted_;
  } else {
    *field = rest;
  }
  *row_ends = pos_ >= text_.size() || IsLineEnd(text_[pos_]);
  if (pos_ < text_.size()) {
    SkipDelimiter();
    // A separator just before the end opens one more, empty field.
    empty_field_pending_ = !*row_ends && pos_ >= text_.size();
  }
  return true;
}

void FieldReader::ReadQuoted() {
  unquoted_.clear();
  const int opened_on = line_;
  ++pos_;
  for (;;) {
    const size_t quote = text_.find('"', pos_);
    if (quote == std::string_view::npos) throw CsvQuoteError(opened_on);
    const std::string_view run = text_.substr(pos_, quote - pos_);
    line_ += LineBreaks(run, '"');
    unquoted_.append(run);
    pos_ = quote + 1;
    if (pos_ >= text_.size() || text_[pos_] != '"') return;
    unquoted_ += '"';  // "" inside stands for one quote
    ++pos_;
  }
}

void FieldReader::SkipDelimiter() {
  if (text_[pos_] == '\r' && NextIs('\n')) ++pos_;
  if (IsLineEnd(text_[pos_])) ++line_;
  ++pos_;
}

}  // namespace csv

CsvQuoteError::CsvQuoteError(int line)
    : std::runtime_error("Anführungszeichen ab Zeile " + std::to_string(line) +
                         " nicht geschlossen"),
      line_(line) {}

char CsvSeparator(std::string_view text) {
  bool quoted = false, tab = false, comma = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (IsLineEnd(c)) break;
    if (c == ';') return ';';
    tab = tab || c == '\t';
    comma = comma || c == ',';
  }
  if (tab) return '\t';
  return comma ? ',' : ';';
}

CsvRows ParseCsv(std::string_view text) {
  csv::FieldReader fields(text);
  CsvRows rows;
  std::vector<std::string> row;
  std::string_view field;
  bool row_ends = false;
  while (fields.Next(&field, &row_ends)) {
    row.emplace_back(field);
    if (row_ends) {
      rows.push_back(std::move(row));
      row.clear();
    }
  }
  return rows;
}

}  // namespace lastora
