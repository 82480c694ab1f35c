// Shared set-up of the import tests: a program folder with a log folder, a fixed clock and
// scripted dialogs.
#ifndef LASTORA_TESTS_IMPORT_IMPORT_FIXTURE_H_
#define LASTORA_TESTS_IMPORT_IMPORT_FIXTURE_H_

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "component/write_log.h"
#include "gtest/gtest.h"
#include "lastora/class1.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora::testing {

// The cells of `columns` in `row` with their kinds, to compare a row at once.
using Cells = std::vector<Variant>;
inline Cells CellsOf(const Table& table, int32_t row, std::initializer_list<int32_t> columns) {
  Cells cells;
  for (int32_t column : columns) cells.push_back(table(row, column));
  return cells;
}

class ImportTest : public ::testing::Test {
 protected:
  ImportTest() : platform_(MakeDate(2020, 5, 21) + 0.5) {
    std::filesystem::create_directory(dir_.path() / "Logdateien");
    strLogName().clear();
  }
  ~ImportTest() override { strLogName().clear(); }

  std::string LogText() const { return ReadBytes(LogFilePath()); }

  ScopedTempDir dir_;
  ScopedEnv home_{"LASTORA_HOME", dir_.path().string()};
  ScopedTestPlatform platform_;
  Class1 c_;
};

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_IMPORT_IMPORT_FIXTURE_H_
