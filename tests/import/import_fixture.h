// Shared set-up of the import tests: a program folder with a log folder, a fixed clock and
// scripted dialogs.
#ifndef LASTORA_TESTS_IMPORT_IMPORT_FIXTURE_H_
#define LASTORA_TESTS_IMPORT_IMPORT_FIXTURE_H_

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "component/write_log.h"
#include "gtest/gtest.h"
#include "lastora/class1.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora::testing {

class ImportTest : public ::testing::Test {
 protected:
  // 21.05.2020, noon.
  static double Today() { return MakeDate(2020, 5, 21) + 0.5; }

  ImportTest() : platform_(Today()) {
    if (const char* home = std::getenv("LASTORA_HOME")) previous_home_ = home;
    setenv("LASTORA_HOME", dir_.path().c_str(), 1);
    std::filesystem::create_directory(dir_.path() / "Logdateien");
    strLogName().clear();
  }
  ~ImportTest() override {
    if (previous_home_) {
      setenv("LASTORA_HOME", previous_home_->c_str(), 1);
    } else {
      unsetenv("LASTORA_HOME");
    }
    strLogName().clear();
  }

  std::string LogText() const { return ReadBytes(LogFilePath()); }

  ScopedTempDir dir_;
  ScopedTestPlatform platform_;
  Class1 c_;

 private:
  std::optional<std::string> previous_home_;
};

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_IMPORT_IMPORT_FIXTURE_H_
