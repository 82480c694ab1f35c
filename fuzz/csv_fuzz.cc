// Semicolon files on arbitrary bytes: decoded, split and laid out as a table without a crash, and
// every row the splitter found is a row of the table or a blank one at its end.
#include <cstdlib>
#include <string>
#include <string_view>

#include "csv.h"
#include "encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace cli = lastora::cli;
  const cli::DecodedText decoded =
      cli::DecodeTextFile(std::string_view(reinterpret_cast<const char*>(data), size));
  const cli::CsvRows rows = cli::ParseCsv(decoded.text);
  const lastora::Table table = cli::CsvToTable(rows, 1);
  if (table.RowCount() > static_cast<int32_t>(rows.size())) std::abort();
  return 0;
}
