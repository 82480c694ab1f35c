#include "platform/posix/child_process.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#ifndef _WIN32
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace lastora::detail {

#ifdef _WIN32

// Without fork the work runs in the caller's process; Windows callers have no better shelter.
ChildWorker::ChildWorker(Serve serve) : serve_(std::move(serve)) {}
ChildWorker::~ChildWorker() = default;
std::optional<std::string> ChildWorker::Ask(std::string_view request) {
  std::string answer;
  serve_(request, answer);
  return answer;
}
void ChildWorker::Reap() {}

#else

namespace {

// Both directions carry messages as an 8-byte length and the bytes.
bool SendAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    // MSG_NOSIGNAL: a peer that has gone is a failed send, not SIGPIPE.
    const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

bool ReceiveAll(int fd, char* data, size_t size) {
  while (size > 0) {
    const ssize_t got = ::recv(fd, data, size, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    data += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

bool SendMessage(int fd, std::string_view message) {
  const uint64_t size = message.size();
  char header[sizeof size];
  std::memcpy(header, &size, sizeof size);
  return SendAll(fd, header, sizeof header) && SendAll(fd, message.data(), message.size());
}

std::optional<std::string> ReceiveMessage(int fd) {
  uint64_t size = 0;
  char header[sizeof size];
  if (!ReceiveAll(fd, header, sizeof header)) return std::nullopt;
  std::memcpy(&size, header, sizeof size);
  std::string message;
  // Grown as bytes arrive, so that a garbled length cannot ask for memory that never comes.
  char buffer[1 << 16];
  while (message.size() < size) {
    const size_t want = std::min<uint64_t>(sizeof buffer, size - message.size());
    if (!ReceiveAll(fd, buffer, want)) return std::nullopt;
    message.append(buffer, want);
  }
  return message;
}

[[noreturn]] void ChildMain(int fd, const ChildWorker::Serve& serve) {
  for (;;) {
    const std::optional<std::string> request = ReceiveMessage(fd);
    // The parent has gone. _exit, as the parent's atexit handlers and stream buffers belong to
    // the parent.
    if (!request) ::_exit(0);
    std::string answer;
    serve(*request, answer);
    if (!SendMessage(fd, answer)) ::_exit(1);
  }
}

}  // namespace

ChildWorker::ChildWorker(Serve serve) : serve_(std::move(serve)) {
  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return;
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return;
  }
  if (child == 0) {
    ::close(fds[0]);
    ChildMain(fds[1], serve_);
  }
  ::close(fds[1]);
  socket_ = fds[0];
  child_ = child;
}

ChildWorker::~ChildWorker() { Reap(); }

void ChildWorker::Reap() {
  if (socket_ >= 0) ::close(socket_);
  socket_ = -1;
  if (child_ > 0) {
    // The child holds nothing worth a graceful end, and it may not notice the closed socket:
    // a sibling worker forked later holds a copy of this end.
    ::kill(static_cast<pid_t>(child_), SIGKILL);
    int status = 0;
    while (::waitpid(static_cast<pid_t>(child_), &status, 0) < 0 && errno == EINTR) {
    }
  }
  child_ = -1;
}

std::optional<std::string> ChildWorker::Ask(std::string_view request) {
  if (socket_ < 0) return std::nullopt;
  std::optional<std::string> answer;
  if (SendMessage(socket_, request)) answer = ReceiveMessage(socket_);
  if (!answer) Reap();
  return answer;
}

#endif

}  // namespace lastora::detail
