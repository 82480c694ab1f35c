#include "core/large_pages.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace lastora::memory {

void PreferLargePages(const void* data, size_t size) {
#ifdef __linux__
  // Only whole large pages inside the buffer can be backed so; below a few of them it is not
  // worth the call.
  constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
  constexpr size_t kWorthIt = 4 * kLargePage;
  if (size < kWorthIt) return;
  const auto begin = reinterpret_cast<uintptr_t>(data);
  const uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t last = (begin + size) & ~(kLargePage - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

}  // namespace lastora::memory
