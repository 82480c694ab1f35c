// The generation run behind Class1::ext_SEPA_Erzeugung: the FRST and RCUR passes over the
// payment table, each written as a SEPA document or a DTAUS file with its list and cover sheet.
#ifndef LASTORA_GENERATION_GENERATION_RUN_H_
#define LASTORA_GENERATION_GENERATION_RUN_H_

#include <string>

#include "component/run_frame.h"
#include "lastora/class1.h"
#include "lastora/table.h"

namespace lastora::generation {

struct GenerationTables {
  Table& payments;  // aImport
  Table& colours;   // aColour
};

// The work of the run inside the common frame; `object` provides the class fields the run
// reports through and the well-formedness check.
RunEnd RunGeneration(Class1& object, RunContext& context, GenerationTables tables,
                     const std::string& folder, bool dtaus);

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_GENERATION_RUN_H_
