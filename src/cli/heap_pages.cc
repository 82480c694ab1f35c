#include "heap_pages.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#if defined(__GLIBC__) && defined(__linux__)
#include <gnu/libc-version.h>
#include <sys/auxv.h>
#include <unistd.h>
#endif

namespace lastora::cli {
namespace {

constexpr std::string_view kLargePageHeap = "glibc.malloc.hugetlb=1";

}  // namespace

bool WantsLargePageHeap(const char* tunables, std::string_view large_pages,
                        std::string_view libc_version) {
  if (tunables != nullptr &&
      std::string_view(tunables).find("glibc.malloc.hugetlb") != std::string_view::npos) {
    return false;
  }
  if (large_pages.find("[madvise]") == std::string_view::npos) return false;
  int major = 0;
  int minor = 0;
  const char* const end = libc_version.data() + libc_version.size();
  const auto [dot, major_error] = std::from_chars(libc_version.data(), end, major);
  if (major_error != std::errc() || dot == end || *dot != '.') return false;
  if (std::from_chars(dot + 1, end, minor).ec != std::errc()) return false;
  return major > 2 || (major == 2 && minor >= 35);
}

std::string TunablesWithLargePageHeap(const char* tunables) {
  if (tunables == nullptr || *tunables == '\0') return std::string(kLargePageHeap);
  return std::string(tunables) + ":" + std::string(kLargePageHeap);
}

#if defined(__GLIBC__) && defined(__linux__)
namespace {

// Starting again costs as much as a start; it pays off from inputs of this size on.
constexpr uintmax_t kLargeInput = uintmax_t{8} << 20;

bool NamesALargeFile(char** argv) {
  for (char** arg = argv + 1; *arg != nullptr; ++arg) {
    std::error_code error;
    if (std::filesystem::is_regular_file(*arg, error) &&
        std::filesystem::file_size(*arg, error) >= kLargeInput && !error) {
      return true;
    }
  }
  return false;
}

}  // namespace
#endif

void StartWithLargePageHeap(char** argv) {
#if defined(__GLIBC__) && defined(__linux__)
  // A program started with raised rights has its tunables dropped: it would start again forever.
  if (getauxval(AT_SECURE) != 0 || !NamesALargeFile(argv)) return;
  std::string large_pages;
  std::getline(std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled"), large_pages);
  const char* const tunables = std::getenv("GLIBC_TUNABLES");
  if (!WantsLargePageHeap(tunables, large_pages, gnu_get_libc_version())) return;
  const std::optional<std::string> before =
      tunables == nullptr ? std::nullopt : std::optional<std::string>(tunables);
  if (setenv("GLIBC_TUNABLES", TunablesWithLargePageHeap(tunables).c_str(), 1) != 0) return;
  execv("/proc/self/exe", argv);
  // Not started again: on as before, environment included.
  if (before) {
    setenv("GLIBC_TUNABLES", before->c_str(), 1);
  } else {
    unsetenv("GLIBC_TUNABLES");
  }
#else
  (void)argv;
#endif
}

}  // namespace lastora::cli
