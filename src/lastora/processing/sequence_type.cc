#include "processing/sequence_type.h"

#include "processing/cells.h"

namespace lastora::processing {
namespace {

bool CollectedBefore(const Variant& first_collection, double window_first) {
  return !IsBlankCell(first_collection) && IsDate(first_collection) &&
         window_first > CDate(first_collection);
}

}  // namespace

SequenceChoice ChooseSequenceType(const ProcessingOptions& options, const std::string& chosen,
                                  const Variant& first_collection, double window_first) {
  if (options.credit_transfer) return {"", false};
  if (chosen == "FRST" || chosen == "FNAL" || chosen == "OOFF") return {chosen, false};
  if (chosen == "RCUR") return {chosen, true};
  if (options.dtaus || CollectedBefore(first_collection, window_first)) return {"RCUR", true};
  return {"FRST", false};
}

}  // namespace lastora::processing
