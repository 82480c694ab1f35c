// Every member's contribution for the billing window and the member's remittance text.
#ifndef LASTORA_PROCESSING_CONTRIBUTION_STEP_H_
#define LASTORA_PROCESSING_CONTRIBUTION_STEP_H_

#include <cstdint>
#include <string>

#include "lastora/variant.h"
#include "processing/processing_run.h"

namespace lastora::processing {

// Column 25 by SepaFuncVER3: the member name or the mandate reference, each alone or with the
// amount, exactly `width` characters; any other kind leaves the text empty.
std::string MemberRemittanceText(const std::string& kind, const Variant& member_name,
                                 const Variant& mandate_reference, const std::string& amount_text,
                                 int32_t width);

// Reads SepaDAT1 and SepaDAT2 (VbError 13 when they are not dates) and fills columns 16, 8 and 25
// of every row with a positive contribution in column 17.
void ComputeContributions(ProcessingRun& run);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_CONTRIBUTION_STEP_H_
