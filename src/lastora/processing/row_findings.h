// Marks what the processing run finds in a row: cell colours, row messages, counts.
#ifndef LASTORA_PROCESSING_ROW_FINDINGS_H_
#define LASTORA_PROCESSING_ROW_FINDINGS_H_

#include <cstdint>
#include <string>

#include "lastora/table.h"
#include "processing/run_figures.h"

namespace lastora::processing {

// Cell colours of the caller's spreadsheet palette.
inline constexpr int32_t kColourError = 3;
inline constexpr int32_t kColourWarning = 6;
inline constexpr int32_t kColourUmlauts = 16;
inline constexpr int32_t kColourCharacters = 45;

// Columns of the member table that hold the row's messages.
inline constexpr int32_t kErrorColumn = 26;
inline constexpr int32_t kWarningColumn = 27;

class RowFindings {
 public:
  RowFindings(Table& values, Table& colours, RunFigures& figures)
      : values_(values), colours_(colours), figures_(figures) {}

  void Colour(int32_t row, int32_t column, int32_t colour);
  // One error: the cell turns red, the error count grows, the message joins column 26.
  void Error(int32_t row, int32_t column, const std::string& message);
  // One warning: the cell turns yellow, the warning count grows, the message joins column 27.
  void Warning(int32_t row, int32_t column, const std::string& message);

 private:
  Table& values_;
  Table& colours_;
  RunFigures& figures_;
};

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_ROW_FINDINGS_H_
