// The names of saved merge documents, built per record from a definition's name pattern.
#ifndef LASTORA_MAILMERGE_DOCUMENT_NAME_H_
#define LASTORA_MAILMERGE_DOCUMENT_NAME_H_

#include <cstdint>
#include <string>
#include <vector>

#include "lastora/table.h"

namespace lastora {

struct NamePart {
  enum class Kind { kLiteral, kColumn, kFunction };
  Kind kind = Kind::kLiteral;
  std::string text;    // literal text, or the function's name
  int32_t column = 0;  // kColumn: the record column
};

// The tokens "DD", "MM", "YYYY", "YY", "hh", "mm", "ss" replaced, in that order, by the moment's
// day, month, year, two-digit year, hour, minute and second.
std::string FormatDateTokens(std::string pattern, double now);

// Prepares the ";"-separated pattern once per definition: quoted parts and unknown words are
// literal, "Date:" parts are formatted now, "Function:" parts wait for the record, column
// titles name their column.
std::vector<NamePart> PrepareNamePattern(const std::string& pattern, const Table& header,
                                         double now);

// A spreadsheet cell's text split into its pieces: text around the placeholders is literal, a
// field title names its column, "<<Function:Date>>" becomes today's date, other functions wait
// for the record. A placeholder that names nothing stays as literal text.
std::vector<NamePart> ParseCellPieces(const std::string& cell_text, const Table& header,
                                      double now);

// The parts filled for one record: a column part gives the record's value (nothing for blank
// forms), a function part "LfdNr" the record count and "Date" today's date, any other nothing.
std::string FillParts(const std::vector<NamePart>& parts, const Table& records, int32_t record_row,
                      int32_t record_count, double now, bool blank);

// The file name for one record: the parts joined, made safe as a file name, "." and the
// extension appended. record_count numbers the record within the run ("Function:LfdNr").
std::string DocumentName(const std::vector<NamePart>& parts, const Table& records,
                         int32_t record_row, int32_t record_count, double now,
                         const std::string& extension);

// A name that stays inside its folder on every platform: separators, "..", control characters
// and the characters Windows forbids become "_", trailing dots and blanks go, device names such
// as "CON" or "LPT1" get a "_" in front, and nothing becomes "_".
std::string SafeFileName(const std::string& name);

}  // namespace lastora

#endif  // LASTORA_MAILMERGE_DOCUMENT_NAME_H_
