#include "platform/posix/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <utility>

namespace lastora::detail {

namespace {

// The child seals its answer when `work` has returned and every byte is written: the seals are
// the parent's proof that the answer is whole (a child that died half-way set none), and they
// keep the bytes fixed while the parent reads them in place.
constexpr int kFinishedSeals = F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE;

class OwnedFd {
 public:
  explicit OwnedFd(int fd) : fd_(fd) {}
  OwnedFd(const OwnedFd&) = delete;
  OwnedFd& operator=(const OwnedFd&) = delete;
  ~OwnedFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

[[noreturn]] void ChildMain(int fd, const ChildWork& work) {
  bool finished = false;
  try {
    AnswerWriter writer(fd);
    work(writer);
    finished = writer.Flush() && ::fcntl(fd, F_ADD_SEALS, kFinishedSeals | F_SEAL_SEAL) == 0;
  } catch (...) {
  }
  // _exit, as the atexit handlers and stream buffers belong to the parent.
  ::_exit(finished ? 0 : 1);
}

// Whether the child ended within `time_limit`. Kernels before 5.3 have no pidfd, and no other
// way to wait with a limit leaves the program's own SIGCHLD handling alone: there the wait has
// no limit.
bool EndsWithin(pid_t child, std::chrono::milliseconds time_limit) {
  // The system call itself: glibc 2.36 declares its wrapper without C linkage.
  const OwnedFd pidfd(static_cast<int>(::syscall(SYS_pidfd_open, child, 0)));
  if (pidfd.get() < 0) return true;
  const auto deadline = std::chrono::steady_clock::now() + time_limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd ended{pidfd.get(), POLLIN, 0};
    const int ready = ::poll(&ended, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
    if (ready < 0 && errno == EINTR) continue;
    return ready > 0;
  }
}

void Reap(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

std::optional<ChildAnswer> MapAnswer(int fd) {
  const int seals = ::fcntl(fd, F_GET_SEALS);
  if (seals < 0 || (seals & kFinishedSeals) != kFinishedSeals) return std::nullopt;
  struct stat status;
  if (::fstat(fd, &status) != 0) return std::nullopt;
  const auto size = static_cast<size_t>(status.st_size);
  if (size == 0) return ChildAnswer(nullptr, 0);
  // Populated at once: one pass through the kernel instead of a fault per page.
  void* data = ::mmap(nullptr, size, PROT_READ, MAP_SHARED | MAP_POPULATE, fd, 0);
  if (data == MAP_FAILED) return std::nullopt;
  return ChildAnswer(data, size);
}

}  // namespace

void AnswerWriter::Append(std::string_view bytes) {
  buffer_.append(bytes);
  if (buffer_.size() >= kChunk) Flush();
}

bool AnswerWriter::Flush() {
  written_ = written_ && WriteAll(fd_, buffer_);
  buffer_.clear();
  return written_;
}

ChildAnswer::ChildAnswer(ChildAnswer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

ChildAnswer& ChildAnswer::operator=(ChildAnswer&& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
  return *this;
}

ChildAnswer::~ChildAnswer() {
  if (size_ > 0) ::munmap(const_cast<void*>(data_), size_);
}

std::optional<ChildAnswer> RunInChild(const ChildWork& work, std::chrono::milliseconds time_limit) {
  const OwnedFd answer(::memfd_create("lastora-child-answer", MFD_CLOEXEC | MFD_ALLOW_SEALING));
  if (answer.get() < 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) ChildMain(answer.get(), work);
  const bool ended = EndsWithin(child, time_limit);
  if (!ended) ::kill(child, SIGKILL);
  Reap(child);
  if (!ended) return std::nullopt;
  return MapAnswer(answer.get());
}

}  // namespace lastora::detail
