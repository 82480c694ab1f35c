// A run over a large club file makes millions of small allocations (every text longer than a cell
// holds is one), and where each fresh page of 4 KB costs a trap to a hypervisor, faulting in the
// heap page by page took a tenth of a 300,000-row check. The C library can back its heap with
// large pages, but takes that choice only from the environment the program starts in.
#ifndef LASTORA_CLI_HEAP_PAGES_H_
#define LASTORA_CLI_HEAP_PAGES_H_

#include <string>
#include <string_view>

namespace lastora::cli {

// Whether starting again with the large-page heap is worth it: `tunables` is GLIBC_TUNABLES (null
// when unset; a choice made there already stands), `large_pages` the system's setting for large
// pages as it reads them ("always [madvise] never": only where they are given on request does the
// heap go without), `libc_version` the C library's version (the choice exists from 2.35 on).
bool WantsLargePageHeap(const char* tunables, std::string_view large_pages,
                        std::string_view libc_version);

// GLIBC_TUNABLES with the large-page heap added to what it holds.
std::string TunablesWithLargePageHeap(const char* tunables);

// Starts the program again with the large-page heap where that is worth it (an argument names a
// file of some megabytes) and possible, before anything else has run; returns where not.
void StartWithLargePageHeap(char** argv);

}  // namespace lastora::cli

#endif  // LASTORA_CLI_HEAP_PAGES_H_
