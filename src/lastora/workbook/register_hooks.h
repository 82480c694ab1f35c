// Points inside the recording of a run where a test may stop the process, to prove that an
// interrupted recording leaves the register without the run or with all of it.
#ifndef LASTORA_WORKBOOK_REGISTER_HOOKS_H_
#define LASTORA_WORKBOOK_REGISTER_HOOKS_H_

#include <cstdint>

namespace lastora::mandate_register::detail {

enum class RecordStep { kCollectionWritten, kBeforeCommit, kCommitted };
using RecordHook = void (*)(RecordStep step, int64_t collections_written);

// nullptr (the default) for none.
void SetRecordHook(RecordHook hook);

}  // namespace lastora::mandate_register::detail

#endif  // LASTORA_WORKBOOK_REGISTER_HOOKS_H_
