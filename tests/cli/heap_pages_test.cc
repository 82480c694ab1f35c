#include "heap_pages.h"

#include <gtest/gtest.h>

namespace lastora::cli {
namespace {

TEST(HeapPagesTest, StartsAgainOnlyWhereTheChoiceIsOpenAndPaysOff) {
  const char* const on_request = "always [madvise] never";
  EXPECT_TRUE(WantsLargePageHeap(nullptr, on_request, "2.36"));
  EXPECT_TRUE(WantsLargePageHeap("glibc.malloc.arena_max=2", on_request, "2.35"));
  // Chosen already, by the user or by the start before this one.
  EXPECT_FALSE(WantsLargePageHeap("glibc.malloc.hugetlb=0", on_request, "2.36"));
  EXPECT_FALSE(WantsLargePageHeap("x=1:glibc.malloc.hugetlb=1", on_request, "2.36"));
  // Large pages for everything, or for nothing; a C library without the choice.
  EXPECT_FALSE(WantsLargePageHeap(nullptr, "[always] madvise never", "2.36"));
  EXPECT_FALSE(WantsLargePageHeap(nullptr, "always madvise [never]", "2.36"));
  EXPECT_FALSE(WantsLargePageHeap(nullptr, "", "2.36"));
  EXPECT_FALSE(WantsLargePageHeap(nullptr, on_request, "2.34"));
  EXPECT_FALSE(WantsLargePageHeap(nullptr, on_request, "?"));

  EXPECT_EQ(TunablesWithLargePageHeap(nullptr), "glibc.malloc.hugetlb=1");
  EXPECT_EQ(TunablesWithLargePageHeap(""), "glibc.malloc.hugetlb=1");
  EXPECT_EQ(TunablesWithLargePageHeap("glibc.malloc.arena_max=2"),
            "glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1");
}

}  // namespace
}  // namespace lastora::cli
