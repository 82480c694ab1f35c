// Runs and member rows for the mandate register's tests.
#ifndef LASTORA_TESTS_WORKBOOK_REGISTER_SAMPLES_H_
#define LASTORA_TESTS_WORKBOOK_REGISTER_SAMPLES_H_

#include <string>
#include <vector>

#include "lastora/mandate_register.h"

namespace lastora::testing {

inline mandate_register::Collection SampleCollection(const std::string& reference,
                                                     const std::string& day,
                                                     const std::string& type = "FRST") {
  return {reference,     "Erika Muster", "DE02120300000000202051",
          "BYLADEM1001", "2020-01-15",   "E2E-" + reference + "-" + day,
          1250,          type,           day};
}

inline mandate_register::Run SampleRun(const std::string& message_id,
                                       const std::string& payment_information_id) {
  mandate_register::Run run;
  run.settings_file = "/verein/lastora.ini";
  run.files = {{"Lastschrift.xml", message_id, payment_information_id, 0, 0}};
  return run;
}

// Collections for the mandates M<first>..M<first + count - 1> on one day.
inline std::vector<mandate_register::Collection> ManyCollections(int first, int count,
                                                                 const std::string& day) {
  std::vector<mandate_register::Collection> collections;
  for (int i = first; i < first + count; ++i) {
    collections.push_back(SampleCollection("M" + std::to_string(i), day));
  }
  return collections;
}

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_WORKBOOK_REGISTER_SAMPLES_H_
