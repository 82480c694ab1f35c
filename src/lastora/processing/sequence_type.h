// The SEPA sequence type of a payment and the file it goes into.
#ifndef LASTORA_PROCESSING_SEQUENCE_TYPE_H_
#define LASTORA_PROCESSING_SEQUENCE_TYPE_H_

#include <string>

#include "lastora/variant.h"
#include "processing/processing_options.h"

namespace lastora::processing {

struct SequenceChoice {
  std::string type;          // "FRST", "RCUR", "FNAL", "OOFF"; empty for a credit transfer
  bool second_file = false;  // RCUR payments go into the second file
};

// By the caller's choice (SepaLART) or, for any other SepaLART, automatically: a member collected
// before the window starts is recurrent, any other a first collection (DTAUS knows no first
// collection and makes every payment recurrent).
SequenceChoice ChooseSequenceType(const ProcessingOptions& options, const std::string& chosen,
                                  const Variant& first_collection, double window_first);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_SEQUENCE_TYPE_H_
