// Marks what the processing run finds in a row: cell colours, row messages, counts.
#ifndef LASTORA_PROCESSING_ROW_FINDINGS_H_
#define LASTORA_PROCESSING_ROW_FINDINGS_H_

#include <cstdint>
#include <string>

#include "lastora/table.h"
#include "processing/run_figures.h"

namespace lastora::processing {

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
