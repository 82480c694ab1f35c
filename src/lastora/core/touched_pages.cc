#include "core/touched_pages.h"

#include <algorithm>
#include <cstdint>

#ifdef __linux__
#include <fcntl.h>
#include <unistd.h>
#endif

namespace lastora::memory {

#ifdef __linux__
namespace {

// Below this, reading every byte costs less than asking.
constexpr size_t kWorthAsking = size_t{1} << 20;
// The system's page map has one entry of 64 bits per page.
constexpr uint64_t kPresent = uint64_t{1} << 63;
constexpr uint64_t kSwapped = uint64_t{1} << 62;
constexpr size_t kEntriesPerRead = 4096;

class PageMap {
 public:
  PageMap() : fd_(::open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC)) {}
  ~PageMap() {
    if (fd_ >= 0) ::close(fd_);
  }
  PageMap(const PageMap&) = delete;
  PageMap& operator=(const PageMap&) = delete;

  bool open() const { return fd_ >= 0; }

  // The entries of `count` pages from page number `first`; false when the system does not say.
  bool Read(uintptr_t first, size_t count, uint64_t* entries) const {
    const auto bytes = static_cast<ssize_t>(count * sizeof(uint64_t));
    return ::pread(fd_, entries, static_cast<size_t>(bytes),
                   static_cast<off_t>(first * sizeof(uint64_t))) == bytes;
  }

 private:
  int fd_;
};

}  // namespace

void ForEachTouchedStretch(const void* data, size_t size,
                           const std::function<void(size_t, size_t)>& visit) {
  if (size == 0) return;
  const PageMap map;
  if (size < kWorthAsking || !map.open()) {
    visit(0, size);
    return;
  }
  const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<uintptr_t>(data);
  const uintptr_t end = begin + size;
  // The offset where the stretch being gathered began, while it lasts.
  bool gathering = false;
  size_t stretch_from = 0;
  const auto page_offset = [&](uintptr_t number) {
    return static_cast<size_t>(std::clamp(number * page, begin, end) - begin);
  };
  uint64_t entries[kEntriesPerRead];
  for (uintptr_t number = begin / page; number * page < end;) {
    const size_t count = std::min<uintptr_t>(kEntriesPerRead, (end - 1) / page - number + 1);
    if (!map.Read(number, count, entries)) {
      // What the system will not say about is taken as touched.
      visit(gathering ? stretch_from : page_offset(number), size);
      return;
    }
    for (size_t i = 0; i < count; ++i, ++number) {
      const bool touched = (entries[i] & (kPresent | kSwapped)) != 0;
      if (touched && !gathering) stretch_from = page_offset(number);
      if (!touched && gathering) visit(stretch_from, page_offset(number));
      gathering = touched;
    }
  }
  if (gathering) visit(stretch_from, size);
}

#else

void ForEachTouchedStretch(const void* /*data*/, size_t size,
                           const std::function<void(size_t, size_t)>& visit) {
  if (size > 0) visit(0, size);
}

#endif

}  // namespace lastora::memory
