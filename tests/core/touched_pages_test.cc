#include "core/touched_pages.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace lastora::memory {
namespace {

using Stretches = std::vector<std::pair<size_t, size_t>>;

Stretches TouchedStretches(const void* data, size_t size) {
  Stretches found;
  ForEachTouchedStretch(data, size, [&](size_t from, size_t to) { found.emplace_back(from, to); });
  return found;
}

#ifdef __linux__
// Pages written or read count as touched; the stretches start and end mid-page where the range
// does.
TEST(TouchedPagesTest, OnlyPagesTouchedSinceTheSystemHandedThemOut) {
  const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t pages = 512;
  void* mapped =
      mmap(nullptr, pages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  // No large pages, so that touching one page backs no other.
  madvise(mapped, pages * page, MADV_NOHUGEPAGE);
  volatile char* bytes = static_cast<char*>(mapped);
  bytes[5 * page] = 1;
  bytes[6 * page + 7] = 1;
  EXPECT_EQ(bytes[40 * page], 0);
  bytes[pages * page - 1] = 1;
  const size_t start = 100;  // the range starts within the first page
  EXPECT_EQ(TouchedStretches(static_cast<char*>(mapped) + start, pages * page - start),
            (Stretches{{5 * page - start, 7 * page - start},
                       {40 * page - start, 41 * page - start},
                       {(pages - 1) * page - start, pages * page - start}}));
  munmap(mapped, pages * page);
}
#endif

TEST(TouchedPagesTest, SmallRangesAreOneStretch) {
  const std::vector<char> bytes(1000);
  EXPECT_EQ(TouchedStretches(bytes.data(), bytes.size()), (Stretches{{0, 1000}}));
  EXPECT_TRUE(TouchedStretches(bytes.data(), 0).empty());
}

}  // namespace
}  // namespace lastora::memory
