#include "support/club_calls.h"

#include <gtest/gtest.h>

#include "lastora/numbering.h"
#include "support/temp_dir.h"

namespace lastora::testing::club_calls {

void NumberRows(const VariantArray& settings, Table& values) {
  SEPAVARIABLEN record;
  VariablenToRecord(settings, record);
  NumberPayments(values, MakeIdentifierPrefix(record).prefix);
}

std::map<std::string, std::string> WrittenFiles(const std::filesystem::path& program_folder) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> files;
  for (const char* folder : kWrittenFolders) {
    if (!fs::is_directory(program_folder / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(program_folder / folder)) {
      if (!entry.is_regular_file()) continue;
      files[fs::relative(entry.path(), program_folder).generic_string()] =
          ReadBytes(entry.path().string());
    }
  }
  return files;
}

void ExpectSameFiles(const std::map<std::string, std::string>& written,
                     const std::map<std::string, std::string>& kept) {
  for (const auto& [name, bytes] : written) {
    EXPECT_TRUE(kept.contains(name)) << name << " is written but not in the kept copy";
  }
  for (const auto& [name, bytes] : kept) {
    ASSERT_TRUE(written.contains(name)) << name << " is in the kept copy but not written";
    EXPECT_TRUE(written.at(name) == bytes) << name << " differs from the kept copy";
  }
}

}  // namespace lastora::testing::club_calls
