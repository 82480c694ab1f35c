// The fields of a separated-values text one after the other, as ParseCsv splits them, without
// making a text of each: a member list of a million rows holds tens of millions of fields.
#ifndef LASTORA_CORE_CSV_FIELDS_H_
#define LASTORA_CORE_CSV_FIELDS_H_

#include <array>
#include <string>
#include <string_view>

namespace lastora::csv {

class FieldReader {
 public:
  // Splits at CsvSeparator(text). The text must outlive the reader.
  explicit FieldReader(std::string_view text);

  // The next field into *field, valid until the next call; *row_ends tells whether it is the last
  // of its row. False after the last field. CsvQuoteError when a quoted field does not close.
  bool Next(std::string_view* field, bool* row_ends);

 private:
  void ReadQuoted();
  void SkipDelimiter();
  bool NextIs(char c) const { return pos_ + 1 < text_.size() && text_[pos_ + 1] == c; }

  std::string_view text_;
  char separator_;
  std::array<bool, 256> ends_field_{};  // the separator and the line ends
  size_t pos_ = 0;
  int line_ = 1;
  bool empty_field_pending_ = false;  // the text ends in a separator
  std::string unquoted_;              // a quoted field's content, once unquoted
};

}  // namespace lastora::csv

#endif  // LASTORA_CORE_CSV_FIELDS_H_
