#include "lastora/csv.h"

namespace lastora {
namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Reads one field from pos: up to the separator or line end it stops at.
class FieldScanner {
 public:
  FieldScanner(std::string_view text, char separator) : text_(text), separator_(separator) {}

  bool AtEnd() const { return pos_ >= text_.size(); }

  // The next field; *row_ends tells whether a line end (or the end of the text) followed it.
  std::string Next(bool* row_ends) {
    std::string field;
    if (text_[pos_] == '"') ReadQuoted(field);
    while (pos_ < text_.size() && text_[pos_] != separator_ && !IsLineEnd(text_[pos_])) {
      field += text_[pos_++];
    }
    *row_ends = pos_ >= text_.size() || IsLineEnd(text_[pos_]);
    if (pos_ < text_.size()) SkipDelimiter();
    return field;
  }

 private:
  void ReadQuoted(std::string& field) {
    const int opened_on = line_;
    for (++pos_;; ++pos_) {
      if (pos_ >= text_.size()) throw CsvQuoteError(opened_on);
      const char c = text_[pos_];
      if (c != '"') {
        if (c == '\n' || (c == '\r' && !NextIs('\n'))) ++line_;
        field += c;
      } else if (NextIs('"')) {
        field += '"';
        ++pos_;
      } else {
        ++pos_;
        return;
      }
    }
  }

  void SkipDelimiter() {
    if (text_[pos_] == '\r' && NextIs('\n')) ++pos_;
    if (IsLineEnd(text_[pos_])) ++line_;
    ++pos_;
  }

  bool NextIs(char c) const { return pos_ + 1 < text_.size() && text_[pos_ + 1] == c; }

  std::string_view text_;
  char separator_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

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
  FieldScanner scanner(text, CsvSeparator(text));
  CsvRows rows;
  std::vector<std::string> row;
  while (!scanner.AtEnd()) {
    bool row_ends = false;
    row.push_back(scanner.Next(&row_ends));
    if (row_ends) {
      rows.push_back(std::move(row));
      row.clear();
    }
  }
  // A separator just before the end opens one more, empty field.
  if (!row.empty()) {
    row.emplace_back();
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace lastora
