// The switches of the processing run, read once from the settings record.
#ifndef LASTORA_PROCESSING_PROCESSING_OPTIONS_H_
#define LASTORA_PROCESSING_PROCESSING_OPTIONS_H_

#include <cstdint>
#include <string>

#include "lastora/settings.h"

namespace lastora::processing {

// An option is off when its text holds the catalogue word "nicht" (case-sensitive).
bool OptionOn(const std::string& option);

struct ProcessingOptions {
  bool dtaus = false;            // SepaVERF "DTAUS": the legacy disk format
  bool sepa = false;             // SepaVERF exactly "SEPA"; only then is a missing BIC an error
  bool credit_transfer = false;  // SepaAART is "Überweisung"
  bool uses_template = false;    // DTAUS with a remittance template file (SepaFuncVERP)
  int32_t line_width = 35;       // remittance line width: 27 for DTAUS, 35 otherwise
};

ProcessingOptions ReadProcessingOptions(const SEPAVARIABLEN& settings);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_PROCESSING_OPTIONS_H_
