// Buffers of tens of megabytes (a payment file read whole, a table of millions of cells) are
// written once from start to end right after they are allocated. The system backs fresh memory
// page by page on first touch, and at 4 KB a page that costs more than the writing itself.
#ifndef LASTORA_CORE_LARGE_PAGES_H_
#define LASTORA_CORE_LARGE_PAGES_H_

#include <cstddef>

namespace lastora::memory {

// Asks the system to back the untouched memory [data, data + size) with large pages where it has
// them. Only a hint: nothing changes where the system has no large pages, or for small buffers.
void PreferLargePages(const void* data, size_t size);

}  // namespace lastora::memory

#endif  // LASTORA_CORE_LARGE_PAGES_H_
