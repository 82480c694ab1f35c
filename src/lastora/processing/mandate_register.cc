#include "processing/mandate_register.h"

namespace lastora::processing {

MandateRegister::MandateRegister(std::vector<std::string>& references, size_t rows)
    : references_(references) {
  references_.assign(rows, std::string());
  seen_.reserve(rows);
}

MandateFinding MandateRegister::Record(const std::string& trimmed_reference) {
  const size_t entry = recorded_++;
  if (trimmed_reference.empty()) return MandateFinding::kMissing;
  references_.at(entry) = trimmed_reference;
  return seen_.insert(trimmed_reference).second ? MandateFinding::kNone
                                                : MandateFinding::kDuplicate;
}

}  // namespace lastora::processing
