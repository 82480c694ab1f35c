// Semicolon files on arbitrary bytes: decoded, split and laid out as a table without a crash;
// every row the splitter found is a row of the table or a blank one at its end, and the table
// made straight from the text is the table made from the split rows.
#include <cstdlib>
#include <string>
#include <string_view>

#include "lastora/csv.h"
#include "lastora/text_file.h"

namespace {

bool SameTable(const lastora::Table& a, const lastora::Table& b) {
  if (a.RowCount() != b.RowCount() || a.ColCount() != b.ColCount()) return false;
  for (int32_t r = 1; r <= a.RowCount(); ++r) {
    for (int32_t c = 1; c <= a.ColCount(); ++c) {
      if (!(a(r, c) == b(r, c))) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const lastora::DecodedText decoded =
      lastora::DecodeTextFile(std::string_view(reinterpret_cast<const char*>(data), size));
  bool split = false;
  try {
    const lastora::CsvRows rows = lastora::ParseCsv(decoded.text);
    split = true;
    const lastora::Table table = lastora::CsvToTable(rows, 1);
    if (table.RowCount() > static_cast<int32_t>(rows.size())) std::abort();
    if (!SameTable(table, lastora::CsvTextToTable(decoded.text, 1))) std::abort();
  } catch (const lastora::CsvQuoteError&) {
    // Both readers refuse the same texts.
    if (split) std::abort();
    try {
      lastora::CsvTextToTable(decoded.text, 1);
      std::abort();
    } catch (const lastora::CsvQuoteError&) {
    }
  }
  return 0;
}
