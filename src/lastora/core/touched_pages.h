// Memory fresh from the system has nothing behind it until it is first touched, and on some
// machines even reading it makes the system back it with zeroed pages of its own: letting go of
// a table of millions of cells, most of them never written, must not read what it never wrote.
#ifndef LASTORA_CORE_TOUCHED_PAGES_H_
#define LASTORA_CORE_TOUCHED_PAGES_H_

#include <cstddef>
#include <functional>

namespace lastora::memory {

// Calls `visit(from, to)`, in ascending order, for the byte offsets [from, to) of the memory
// [data, data + size) that lie on pages the process has touched (or the system has swapped out).
// All other bytes lie on pages never touched since the system handed them out, and so are zero.
// Where the system does not tell, the whole range is one stretch.
void ForEachTouchedStretch(const void* data, size_t size,
                           const std::function<void(size_t from, size_t to)>& visit);

}  // namespace lastora::memory

#endif  // LASTORA_CORE_TOUCHED_PAGES_H_
