// What a processing run left in a row and in its figures, gathered so one assertion compares it.
#ifndef LASTORA_TESTS_PROCESSING_RUN_FINDINGS_H_
#define LASTORA_TESTS_PROCESSING_RUN_FINDINGS_H_

#include <initializer_list>
#include <string>
#include <vector>

#include "support/club_settings.h"
#include "support/field_texts.h"
#include "support/processing_fixture.h"

namespace lastora::testing {

class FindingsTest : public ProcessingTest {
 protected:
  Texts TextsOf(int32_t row, std::initializer_list<int32_t> columns) const {
    return CellTexts(values, row, columns);
  }
  // The counts and sums the run reported back, all in one line.
  std::string Figures() const {
    const SEPAVARIABLEN& r = reported;
    return "Fehl " + r.ProgBearFehl.Value + ", Warn " + r.ProgBearWarn.Value + ", alle " +
           r.ProgBearDANZ.Value + "/" + r.ProgBearDSUM.Value + ", erste " + r.ProgBearDAN1.Value +
           "/" + r.ProgBearDSU1.Value + ", zweite " + r.ProgBearDAN2.Value + "/" +
           r.ProgBearDSU2.Value;
  }
};

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_PROCESSING_RUN_FINDINGS_H_
