#include "platform/posix/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

namespace lastora::detail {

namespace {

// The child seals an answer when it is whole: the seals keep the bytes fixed while the parent
// reads them in place, and without them the parent takes nothing (a child that died half-way
// set none).
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

// The child's replies after an answer. Requests travel as one packet each: the request's bytes,
// with the answer's memory file attached.
constexpr char kFit = 'F';
constexpr char kRetiring = 'R';
// Far beyond the paths and sheet numbers that requests carry.
constexpr size_t kMaxRequest = 1 << 16;

bool SendRequest(int socket, std::string_view request, int answer_fd) {
  iovec bytes{const_cast<char*>(request.data()), request.size()};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  msghdr message{};
  message.msg_iov = &bytes;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  cmsghdr* attached = CMSG_FIRSTHDR(&message);
  attached->cmsg_level = SOL_SOCKET;
  attached->cmsg_type = SCM_RIGHTS;
  attached->cmsg_len = CMSG_LEN(sizeof(int));
  std::memcpy(CMSG_DATA(attached), &answer_fd, sizeof(int));
  for (;;) {
    // MSG_NOSIGNAL: a child that has gone is a failed send, not SIGPIPE.
    const ssize_t sent = ::sendmsg(socket, &message, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    return sent == static_cast<ssize_t>(request.size());
  }
}

// The next request and its answer file; false when the parent has gone or sent nonsense.
bool ReceiveRequest(int socket, std::string& request, int& answer_fd) {
  request.resize(kMaxRequest);
  iovec bytes{request.data(), request.size()};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  msghdr message{};
  message.msg_iov = &bytes;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  ssize_t got;
  while ((got = ::recvmsg(socket, &message, MSG_CMSG_CLOEXEC)) < 0 && errno == EINTR) {
  }
  const cmsghdr* attached = CMSG_FIRSTHDR(&message);
  // An empty request is a packet of no bytes, told from the parent's end by its attached file.
  if (got < 0 || (message.msg_flags & (MSG_TRUNC | MSG_CTRUNC)) != 0 || attached == nullptr ||
      attached->cmsg_type != SCM_RIGHTS || attached->cmsg_len != CMSG_LEN(sizeof(int))) {
    return false;
  }
  std::memcpy(&answer_fd, CMSG_DATA(attached), sizeof(int));
  request.resize(static_cast<size_t>(got));
  return true;
}

// One answer, sealed when whole; false when it could not be finished.
bool Answer(const ChildServer::Serve& serve, const std::string& request, int fd, bool& fit) {
  try {
    AnswerWriter writer(fd);
    fit = serve(request, writer);
    return writer.Flush() && ::fcntl(fd, F_ADD_SEALS, kFinishedSeals | F_SEAL_SEAL) == 0;
  } catch (...) {
    return false;
  }
}

// _exit throughout, as the atexit handlers and stream buffers belong to the parent.
[[noreturn]] void ServeForever(int socket, const ChildServer::Serve& serve) {
  // The child may live as long as the program: it must not keep the program's files, pipes and
  // sockets open behind its back.
  if (socket != 3) {
    ::dup2(socket, 3);
    socket = 3;
  }
  ::close_range(4, ~0u, 0);
  std::string request;
  for (;;) {
    int fd = -1;
    if (!ReceiveRequest(socket, request, fd)) ::_exit(0);
    bool fit = false;
    const bool finished = Answer(serve, request, fd, fit);
    ::close(fd);
    if (!finished) ::_exit(1);
    const char reply = fit ? kFit : kRetiring;
    if (::send(socket, &reply, 1, MSG_NOSIGNAL) != 1 || !fit) ::_exit(0);
  }
}

// The child's reply, waited for at most until `time_limit`; nullopt when it did not come.
std::optional<char> AwaitReply(int socket, std::chrono::milliseconds time_limit) {
  const auto deadline = std::chrono::steady_clock::now() + time_limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd readable{socket, POLLIN, 0};
    const int ready = ::poll(&readable, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return std::nullopt;
    char reply = 0;
    ssize_t got;
    while ((got = ::recv(socket, &reply, 1, 0)) < 0 && errno == EINTR) {
    }
    if (got != 1) return std::nullopt;
    return reply;
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

ChildServer::~ChildServer() {
  if (owner_ == ::getpid()) Stop();
}

bool ChildServer::Start() {
  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0) return false;
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return false;
  }
  if (child == 0) {
    ::close(fds[0]);
    ServeForever(fds[1], serve_);
  }
  ::close(fds[1]);
  socket_ = fds[0];
  child_ = child;
  owner_ = ::getpid();
  return true;
}

void ChildServer::Stop() {
  if (socket_ >= 0) ::close(socket_);
  socket_ = -1;
  if (child_ > 0) {
    // Nothing in the child is worth a graceful end, and a sibling forked later may hold this
    // end of the socket, so that the child would never see it close.
    ::kill(child_, SIGKILL);
    Reap(child_);
  }
  child_ = -1;
}

void ChildServer::ForgetInherited() {
  if (owner_ == ::getpid() || socket_ < 0) return;
  ::close(socket_);
  socket_ = -1;
  child_ = -1;
}

std::optional<ChildAnswer> ChildServer::Ask(std::string_view request,
                                            std::chrono::milliseconds time_limit) {
  const std::lock_guard<std::mutex> lock(mutex_);
  ForgetInherited();
  const OwnedFd answer(::memfd_create("lastora-child-answer", MFD_CLOEXEC | MFD_ALLOW_SEALING));
  if (answer.get() < 0) return std::nullopt;
  // A child that ended while idle (killed from outside, say) is replaced, once.
  bool sent = socket_ >= 0 && SendRequest(socket_, request, answer.get());
  if (!sent) {
    Stop();
    sent = Start() && SendRequest(socket_, request, answer.get());
  }
  const std::optional<char> reply = sent ? AwaitReply(socket_, time_limit) : std::nullopt;
  if (reply != kFit) Stop();
  if (reply != kFit && reply != kRetiring) return std::nullopt;
  return MapAnswer(answer.get());
}

}  // namespace lastora::detail
