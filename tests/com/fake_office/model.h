// The fake programs' documents: what a test reads back after a run (see fake_office.h).
#ifndef LASTORA_TESTS_COM_FAKE_OFFICE_MODEL_H_
#define LASTORA_TESTS_COM_FAKE_OFFICE_MODEL_H_

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fake_office {

struct SheetModel {
  std::string name;
  std::map<std::pair<long, long>, std::string> cells;  // (row, column), never empty texts
};

struct DocumentModel {
  std::vector<std::string> stories;                 // Word: paragraphs joined by CR
  std::vector<std::shared_ptr<SheetModel>> sheets;  // Excel
  double created = 0;  // the "Creation Date" property as a date serial; 0: never set
};

// False when the file cannot be read.
bool LoadDocument(const std::wstring& path, DocumentModel& model);
std::string WriteDocument(const DocumentModel& model);
bool SaveDocument(const std::wstring& path, const DocumentModel& model);

}  // namespace fake_office

#endif  // LASTORA_TESTS_COM_FAKE_OFFICE_MODEL_H_
