// The .xls reader runs in a forked child, and a child inherits the fuzzer's crash handling: its
// death would be saved as a finding although the program lived on, which is what the target
// checks. Children therefore die without that handling; their sanitizer report still shows in
// the log, and a crash of the fuzzing process itself is a finding as before.
#ifndef LASTORA_FUZZ_CONTAINED_CHILDREN_H_
#define LASTORA_FUZZ_CONTAINED_CHILDREN_H_

#include <pthread.h>
#include <sanitizer/common_interface_defs.h>

namespace lastora::fuzz {

inline void LeaveChildDeathsToTheProgram() {
  static const bool installed = [] {
    return pthread_atfork(nullptr, nullptr, [] { __sanitizer_set_death_callback(nullptr); }) == 0;
  }();
  (void)installed;
}

}  // namespace lastora::fuzz

#endif  // LASTORA_FUZZ_CONTAINED_CHILDREN_H_
