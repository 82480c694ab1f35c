#include "platform/posix/child_process.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace lastora::detail {

#ifdef _WIN32

// Without fork the work runs in the caller's process; Windows callers have no better shelter.
std::optional<std::string> RunInChild(const std::function<void(std::string& output)>& work) {
  std::string output;
  work(output);
  return output;
}

#else

namespace {

// The child's answer ends with this mark, so that a child that died half-way through writing is
// told apart from one that finished.
constexpr char kDone[] = "\x00LASTORA-CHILD-DONE";
constexpr size_t kDoneSize = sizeof kDone - 1;

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

[[noreturn]] void ChildMain(int fd, const std::function<void(std::string& output)>& work) {
  // A parent that stopped listening ends the child through a failed write, not a signal report.
  ::signal(SIGPIPE, SIG_IGN);
  std::string output;
  work(output);
  output.append(kDone, kDoneSize);
  // _exit: the parent's atexit handlers and stream buffers belong to the parent.
  ::_exit(WriteAll(fd, output.data(), output.size()) ? 0 : 1);
}

struct Pipe {
  int read = -1;
  int write = -1;
  ~Pipe() {
    if (read >= 0) ::close(read);
    if (write >= 0) ::close(write);
  }
};

}  // namespace

std::optional<std::string> RunInChild(const std::function<void(std::string& output)>& work) {
  Pipe pipe;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
  pipe.read = fds[0];
  pipe.write = fds[1];

  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    ::close(pipe.read);
    ChildMain(pipe.write, work);
  }
  ::close(pipe.write);
  pipe.write = -1;

  std::string received;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(pipe.read, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    received.append(buffer, static_cast<size_t>(got));
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  if (received.size() < kDoneSize ||
      received.compare(received.size() - kDoneSize, kDoneSize, kDone, kDoneSize) != 0) {
    return std::nullopt;
  }
  received.resize(received.size() - kDoneSize);
  return received;
}

#endif

}  // namespace lastora::detail
