// The stand-ins for Word and Excel (fake_office/) registered under the programs' ProgIDs for one
// test, with their call log in the test's folder, and the checks the tests make on that log.
#ifndef LASTORA_TESTS_COM_FAKE_OFFICE_HOST_H_
#define LASTORA_TESTS_COM_FAKE_OFFICE_HOST_H_

// clang-format off
#include <windows.h>  // first: the OLE headers build on its types
// clang-format on

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "com/late_bound.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace lastora::testing {

class FakeOfficeHost {
 public:
  explicit FakeOfficeHost(const std::filesystem::path& folder);
  ~FakeOfficeHost();
  FakeOfficeHost(const FakeOfficeHost&) = delete;
  FakeOfficeHost& operator=(const FakeOfficeHost&) = delete;

  bool registered() const { return registered_; }
  // The stand-ins' objects still alive; -1 when the DLL could not be asked.
  long LiveObjects() const;
  std::string CallLog() const;
  std::string Printed() const;
  const std::filesystem::path& log_path() const { return log_path_; }

 private:
  HRESULT Call(const char* name) const;

  HMODULE module_;
  std::filesystem::path log_path_;
  ScopedEnv log_variable_;
  ScopedEnv fail_variable_{"FAKE_OFFICE_FAIL", std::nullopt};
  bool registered_ = false;
};

// A whole file's bytes, under a name of any characters.
std::string Read(const std::filesystem::path& path);
// Writes the file whole, making its folder first.
void Write(const std::filesystem::path& path, const std::string& text);

// A late-bound object with the program folder (LASTORA_HOME) in a test folder; StartOffice
// registers the stand-ins for the test, with their call log in that folder.
class ProgramFolderTest : public LateBoundTest {
 protected:
  void StartOffice() {
    office_ = std::make_unique<FakeOfficeHost>(home_.path());
    ASSERT_TRUE(office_->registered());
  }
  void TearDown() override {
    office_.reset();
    LateBoundTest::TearDown();
  }

  ScopedTempDir home_;
  ScopedEnv home_variable_{"LASTORA_HOME", home_.path().string()};
  std::unique_ptr<FakeOfficeHost> office_;
};

int Count(const std::string& text, const std::string& part);
// Each part found after the one before it; the first part missing, or "" when all are there.
std::string MissingInOrder(const std::string& log, const std::vector<std::string>& parts);

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_COM_FAKE_OFFICE_HOST_H_
