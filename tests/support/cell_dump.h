// The arguments and results of a sequence of component calls, kept as text: named result texts,
// settings arrays and tables, every cell with its kind. One platform writes it, another reads it
// and compares its own results cell by cell, kind included.
#ifndef LASTORA_TESTS_SUPPORT_CELL_DUMP_H_
#define LASTORA_TESTS_SUPPORT_CELL_DUMP_H_

#include <string>
#include <string_view>
#include <vector>

#include "lastora/table.h"
#include "lastora/variant.h"

namespace lastora::testing {

class CellDump {
 public:
  void AddText(const std::string& name, const std::string& text);
  void AddArray(const std::string& name, const VariantArray& array);
  void AddTable(const std::string& name, const Table& table);

  // std::out_of_range naming what is missing, so a stale dump fails with a reason.
  const std::string& Text(const std::string& name) const;
  const VariantArray& Array(const std::string& name) const;
  const Table& GetTable(const std::string& name) const;

  // One line per cell that is not Empty; text cells escaped, so the dump has only LF line ends.
  std::string Write() const;
  // std::runtime_error naming the line that does not read.
  static CellDump Read(std::string_view bytes);

 private:
  template <typename Value>
  struct Named {
    std::string name;
    Value value;
  };
  std::vector<Named<std::string>> texts_;
  std::vector<Named<VariantArray>> arrays_;
  std::vector<Named<Table>> tables_;
};

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_CELL_DUMP_H_
