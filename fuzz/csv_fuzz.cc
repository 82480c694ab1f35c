// Semicolon files on arbitrary bytes: decoded, split and laid out as a table without a crash, and
// every row the splitter found is a row of the table or a blank one at its end.
#include <cstdlib>
#include <string>
#include <string_view>

#include "lastora/csv.h"
#include "lastora/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const lastora::DecodedText decoded =
      lastora::DecodeTextFile(std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    const lastora::CsvRows rows = lastora::ParseCsv(decoded.text);
    const lastora::Table table = lastora::CsvToTable(rows, 1);
    if (table.RowCount() > static_cast<int32_t>(rows.size())) std::abort();
  } catch (const lastora::CsvQuoteError&) {
  }
  return 0;
}
