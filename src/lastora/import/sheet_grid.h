// The cells of one worksheet as a reader found them, with the spreadsheet's used range and sort.
#ifndef LASTORA_IMPORT_SHEET_GRID_H_
#define LASTORA_IMPORT_SHEET_GRID_H_

#include <cstdint>
#include <vector>

#include "core/cell_reference.h"
#include "lastora/table.h"
#include "lastora/variant.h"

namespace lastora::detail {

class SheetGrid {
 public:
  // Stores a value at a 1-based cell; an Empty value leaves the cell empty. A cell outside the
  // largest sheet, or a grid beyond the memory a sheet may take, throws VbError.
  void Set(int32_t row, int32_t column, Variant value);

  // Room for this many rows at the width stored so far, for a reader that knows the sheet's
  // length early: growing row by row moves a large sheet several times. Ignored beyond the cells
  // a sheet may take.
  void ExpectRows(int32_t rows);

  // The last row and column that hold a value; 0 when the sheet holds none.
  int32_t LastRow() const { return last_row_; }
  int32_t LastColumn() const { return last_column_; }
  // Empty outside the stored cells.
  const Variant& At(int32_t row, int32_t column) const;

  // Stable sort of the whole rows first_row..last_row by the key column: ascending puts numbers
  // (and dates) before texts before booleans, descending the reverse; empty keys go last either
  // way. Texts compare without regard to case. The first row stays on top when it looks like a
  // header: it holds text only and the second row's key is a number, date or boolean.
  void SortRows(int32_t first_row, int32_t last_row, int32_t key_column, bool descending);

  // The block as a table from 1; cells outside the stored ones are Empty.
  Table ReadBlock(int32_t first_row, int32_t first_column, int32_t last_row,
                  int32_t last_column) const;
  // ReadBlock for the last look: the cells move into the table, and the rows of the block read
  // empty afterwards (the used range stays as it was).
  Table TakeBlock(int32_t first_row, int32_t first_column, int32_t last_row, int32_t last_column);

 private:
  bool LooksLikeHeader(int32_t first_row, int32_t key_column) const;
  void Reserve(int32_t rows, int32_t columns);
  Table TakeLeadingColumns(int32_t first_row, int32_t last_row, int32_t last_column);

  // Row by row in one block, as wide as the widest row so far or somewhat wider: a table read
  // whole becomes the taken block without a copy. Rows past a taken block's top are dropped, so
  // it may hold fewer rows than the used range.
  Table cells_;
  int32_t last_row_ = 0;
  int32_t last_column_ = 0;
};

}  // namespace lastora::detail

#endif  // LASTORA_IMPORT_SHEET_GRID_H_
