// A recording office for the mail-merge tests. A word-processor "document" is a text file whose
// lines are its stories; a workbook is a text file whose lines are the cells of column 1 (a line
// "[Settings]" adds a sheet of that name, whose rows are the lines after it, columns separated
// by tabs). The calls tests look at are recorded in order (logos are not); saving writes the
// current texts, so tests can read what a saved document holds; a laid-out label sheet holds one
// line per label, "@row,column | cell text | ...".
#ifndef LASTORA_TESTS_SUPPORT_FAKE_OFFICE_H_
#define LASTORA_TESTS_SUPPORT_FAKE_OFFICE_H_

#include <memory>
#include <string>
#include <vector>

#include "lastora/office.h"

namespace lastora::testing {

class FakeOffice : public Office {
 public:
  std::unique_ptr<OfficeDocument> Open(const std::string& path, DocumentKind kind) override;
  void SetStatusText(const std::string& text) override;
  void Quit() override;

  // The calls in order, e.g. "Open Dummy.doc word", "Print 2 first-page", "Quit".
  std::vector<std::string> calls;
  // The calls that begin with the prefix.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
};

// Installs a FakeOffice for one test's scope.
class ScopedFakeOffice {
 public:
  ScopedFakeOffice();
  ~ScopedFakeOffice();
  ScopedFakeOffice(const ScopedFakeOffice&) = delete;
  ScopedFakeOffice& operator=(const ScopedFakeOffice&) = delete;
  FakeOffice& office() { return *office_; }

 private:
  std::shared_ptr<FakeOffice> office_;
  std::shared_ptr<Office> previous_;
};

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_FAKE_OFFICE_H_
