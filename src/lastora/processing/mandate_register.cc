#include "processing/mandate_register.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <string_view>

namespace lastora::processing {

MandateRegister::MandateRegister(std::vector<std::string>& references, size_t rows)
    : references_(references) {
  references_.assign(rows, std::string());
  const size_t slot_count = std::bit_ceil(std::max<size_t>(2 * rows, 16));
  slots_.assign(slot_count, 0);
  slot_mask_ = slot_count - 1;
}

MandateFinding MandateRegister::Record(const std::string& trimmed_reference) {
  const size_t entry = recorded_++;
  if (trimmed_reference.empty()) return MandateFinding::kMissing;
  references_.at(entry) = trimmed_reference;
  for (size_t slot = std::hash<std::string_view>{}(trimmed_reference)&slot_mask_;;
       slot = (slot + 1) & slot_mask_) {
    if (slots_[slot] == 0) {
      slots_[slot] = static_cast<uint32_t>(entry + 1);
      return MandateFinding::kNone;
    }
    if (references_[slots_[slot] - 1] == trimmed_reference) return MandateFinding::kDuplicate;
  }
}

}  // namespace lastora::processing
