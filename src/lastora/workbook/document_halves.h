// Where a large payment document can be cut into two documents that the bank's schema accepts
// exactly when it accepts the whole, so that the two can be validated at the same time.
#ifndef LASTORA_WORKBOOK_DOCUMENT_HALVES_H_
#define LASTORA_WORKBOOK_DOCUMENT_HALVES_H_

#include <cstdint>
#include <optional>
#include <string>

namespace lastora::document_halves {

// A cut between two transactions of one payment block (DrctDbtTxInf or CdtTrfTxInf, which both
// schemas let repeat without bound, and which nothing else in them refers to):
//   first half:  bytes [0, resume_at) and then `closing`;
//   second half: bytes [0, run_start) and then bytes [resume_at, end).
// Every element of the document lies in one half, under the same ancestors as in the whole, and
// each half keeps at least one transaction in the block.
struct Cut {
  uint64_t run_start = 0;  // where the block's first transaction starts
  uint64_t resume_at = 0;  // where the transaction after the cut starts
  std::string closing;     // the end tags of the elements open at the cut, innermost first
};

// The cut at the first transaction from the middle of the file on; none for a file of fewer than
// `smallest` bytes, or when the scan meets what it does not follow (a DOCTYPE, a CDATA section,
// broken markup): the whole document is validated then.
std::optional<Cut> FindCut(const std::string& path, uint64_t smallest);

}  // namespace lastora::document_halves

#endif  // LASTORA_WORKBOOK_DOCUMENT_HALVES_H_
