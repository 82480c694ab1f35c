// The mandate references of one processing run, and the findings about them.
#ifndef LASTORA_PROCESSING_MANDATE_REGISTER_H_
#define LASTORA_PROCESSING_MANDATE_REGISTER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lastora::processing {

enum class MandateFinding { kNone, kMissing, kDuplicate };

// Entry n of `references` belongs to the n-th paying row; the list is made empty with room for
// every row. The duplicate check is one look-up per row in an open-addressing table of entry
// numbers, kept at most half full.
class MandateRegister {
 public:
  MandateRegister(std::vector<std::string>& references, size_t rows);

  // Records the trimmed reference of the next paying row. Only the later row of a pair is a
  // duplicate; references are compared exactly, case included.
  MandateFinding Record(const std::string& trimmed_reference);

 private:
  std::vector<std::string>& references_;
  std::vector<uint32_t> slots_;  // 0 for a free slot, else the entry's index + 1
  size_t slot_mask_;
  size_t recorded_ = 0;
};

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_MANDATE_REGISTER_H_
