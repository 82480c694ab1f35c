// Two-dimensional tables of cells as a worksheet range delivers them, and the one-dimensional
// settings array. Both keep the caller's lower bounds.
#ifndef LASTORA_TABLE_H_
#define LASTORA_TABLE_H_

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "lastora/export.h"
#include "lastora/variant.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// VbError 9, kept out of line so that the inline bounds checks stay small.
[[noreturn]] void ThrowSubscriptOutOfRange();

namespace detail {

// Where table cells live. An Empty cell is sixteen zero bytes, and memory fresh from the system is
// zero already, so a new cell costs nothing until it is written: most of a colour table never is,
// and its pages are never touched. The table lets go of its cells itself (see Table), passing
// over the pages it never touched, so the container's own per-cell destruction does nothing.
template <typename T>
struct ZeroedCells {
  using value_type = T;
  T* allocate(size_t count) {
    void* cells = std::calloc(count, sizeof(T));
    if (cells == nullptr) throw std::bad_alloc();
    return static_cast<T*>(cells);
  }
  void deallocate(T* cells, size_t /*count*/) noexcept { std::free(cells); }

  template <typename... Args>
  void construct(T* cell, Args&&... args) {
    if constexpr (sizeof...(Args) > 0)
      ::new (static_cast<void*>(cell)) T(std::forward<Args>(args)...);
  }
  void destroy(T* /*cell*/) noexcept {}

  friend bool operator==(const ZeroedCells& /*a*/, const ZeroedCells& /*b*/) { return true; }
};

}  // namespace detail

// What lets a table's cells start as zero bytes.
static_assert(static_cast<int>(VarType::kEmpty) == 0);

class Table {
 public:
  Table() = default;  // no rows, no columns (an uninitialised array)
  // rows x cols cells, all Empty, indexed from the given lower bounds.
  Table(int32_t rows, int32_t cols, int32_t row_lower = 1, int32_t col_lower = 1);
  Table(const Table& other) = default;
  Table(Table&& other) noexcept;
  Table& operator=(const Table& other);
  Table& operator=(Table&& other) noexcept;
  ~Table();

  int32_t RowLower() const { return row_lower_; }
  int32_t RowUpper() const { return row_lower_ + rows_ - 1; }
  int32_t ColLower() const { return col_lower_; }
  int32_t ColUpper() const { return col_lower_ + cols_ - 1; }
  int32_t RowCount() const { return rows_; }
  int32_t ColCount() const { return cols_; }
  bool IsAllocated() const { return rows_ > 0 && cols_ > 0; }

  // Throws VbError 9 outside the bounds. Inline: runs touch every cell of 100,000-row tables.
  Variant& At(int32_t row, int32_t col) { return cells_[Offset(row, col)]; }
  const Variant& At(int32_t row, int32_t col) const { return cells_[Offset(row, col)]; }
  Variant& operator()(int32_t row, int32_t col) { return At(row, col); }
  const Variant& operator()(int32_t row, int32_t col) const { return At(row, col); }

  // Keeps the contents and the lower bounds; new cells are Empty (ReDim Preserve on rows).
  void ResizeRows(int32_t rows);
  // Keeps the leading columns of every row; new cells are Empty. Works in place, so that a
  // large table is never held twice.
  void ResizeColumns(int32_t cols);
  void SwapRows(int32_t a, int32_t b);

 private:
  size_t Offset(int32_t row, int32_t col) const {
    // 64-bit, so that bounds near INT32_MAX cannot wrap into a valid index.
    const int64_t r = static_cast<int64_t>(row) - row_lower_;
    const int64_t c = static_cast<int64_t>(col) - col_lower_;
    if (r < 0 || r >= rows_ || c < 0 || c >= cols_) ThrowSubscriptOutOfRange();
    return static_cast<size_t>(r) * static_cast<size_t>(cols_) + static_cast<size_t>(c);
  }

  int32_t rows_ = 0;
  int32_t cols_ = 0;
  int32_t row_lower_ = 1;
  int32_t col_lower_ = 1;
  std::vector<Variant, detail::ZeroedCells<Variant>> cells_;
};

class VariantArray {
 public:
  VariantArray() = default;
  // VbError 9 for a negative count.
  explicit VariantArray(int32_t count, int32_t lower = 1);

  int32_t Lower() const { return lower_; }
  int32_t Upper() const { return lower_ + static_cast<int32_t>(cells_.size()) - 1; }
  int32_t Count() const { return static_cast<int32_t>(cells_.size()); }

  // Throws VbError 9 outside the bounds.
  Variant& At(int32_t index) { return cells_[Offset(index)]; }
  const Variant& At(int32_t index) const { return cells_[Offset(index)]; }
  Variant& operator[](int32_t index) { return At(index); }
  const Variant& operator[](int32_t index) const { return At(index); }

 private:
  size_t Offset(int32_t index) const {
    const int64_t offset = static_cast<int64_t>(index) - lower_;
    if (offset < 0 || offset >= static_cast<int64_t>(cells_.size())) ThrowSubscriptOutOfRange();
    return static_cast<size_t>(offset);
  }

  int32_t lower_ = 1;
  std::vector<Variant> cells_;
};

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_TABLE_H_
