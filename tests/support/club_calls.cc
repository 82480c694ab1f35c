#include "support/club_calls.h"

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

}  // namespace lastora::testing::club_calls
