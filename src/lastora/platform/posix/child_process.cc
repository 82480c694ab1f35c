#include "platform/posix/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>

namespace lastora::detail {

namespace {

// Every packet starts with its kind. The program sends requests; the child answers with data
// packets and ends each answer with one that says whether it stays fit to serve.
enum Packet : char {
  kRequest = 'Q',
  kData = 'D',
  kFit = 'F',
  kRetiring = 'R',
};

constexpr size_t kMaxPacket = AnswerWriter::kMaxPacket;

bool SendPacket(int socket, std::string_view packet) {
  for (;;) {
    // MSG_NOSIGNAL: a peer that has gone is a failed send, not SIGPIPE.
    const ssize_t sent = ::send(socket, packet.data(), packet.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    return sent == static_cast<ssize_t>(packet.size());
  }
}

// Room for the largest packet and one byte more, which tells an oversized packet. Left
// uninitialised, as a packet only ever reads what the socket wrote into it.
std::unique_ptr<char[]> PacketRoom() {
  return std::make_unique_for_overwrite<char[]>(kMaxPacket + 1);
}

// The next packet, held in `room`; nullopt when the peer has gone or sent more than a packet holds.
std::optional<std::string_view> ReceivePacket(int socket, char* room) {
  ssize_t got;
  while ((got = ::recv(socket, room, kMaxPacket + 1, 0)) < 0 && errno == EINTR) {
  }
  if (got <= 0 || static_cast<size_t>(got) > kMaxPacket) return std::nullopt;
  return std::string_view(room, static_cast<size_t>(got));
}

// Whether the child finished its answer; `fit` says whether it may serve again.
bool Answer(int socket, const ChildServer::Serve& serve, std::string_view request, bool& fit) {
  try {
    AnswerWriter writer(socket);
    fit = serve(request, writer);
    return writer.Flush();
  } catch (...) {
    return false;
  }
}

// The bytes of data and stack this process has mapped; 0 when the system does not say.
size_t DataBytes() {
  const int statm = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
  if (statm < 0) return 0;
  char text[128] = {};
  const ssize_t got = ::read(statm, text, sizeof text - 1);
  ::close(statm);
  // Pages: size, resident, shared, text, lib, data.
  unsigned long long data_pages = 0;
  if (got <= 0 || std::sscanf(text, "%*u %*u %*u %*u %*u %llu", &data_pages) != 1) return 0;
  return static_cast<size_t>(data_pages) * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

// The limit is on the writable memory a process maps, which the child inherits from the program:
// the allowance is added to what is mapped now. (A limit on address space would not hold under a
// sanitizer, whose allocator reserves its space at the start.) A lower limit the user set stays.
// Without a reading the child goes without, rather than failing every request.
void LimitMemory(size_t allowance) {
  const size_t mapped = DataBytes();
  rlimit limit{};
  if (mapped == 0 || ::getrlimit(RLIMIT_DATA, &limit) != 0) return;
  limit.rlim_cur = std::min<rlim_t>(limit.rlim_cur, mapped + allowance);
  ::setrlimit(RLIMIT_DATA, &limit);
}

// _exit throughout, as the atexit handlers and stream buffers belong to the program.
[[noreturn]] void ServeForever(int socket, const ChildServer::Serve& serve,
                               size_t memory_allowance) {
  LimitMemory(memory_allowance);
  // The child may live as long as the program: it must not keep the program's files, pipes and
  // sockets open behind its back.
  if (socket != 3) {
    ::dup2(socket, 3);
    socket = 3;
  }
  ::close_range(4, ~0u, 0);
  const std::unique_ptr<char[]> room = PacketRoom();
  for (;;) {
    const std::optional<std::string_view> request = ReceivePacket(socket, room.get());
    if (!request || request->front() != kRequest) ::_exit(0);
    bool fit = false;
    if (!Answer(socket, serve, request->substr(1), fit)) ::_exit(1);
    if (!SendPacket(socket, std::string(1, fit ? kFit : kRetiring)) || !fit) ::_exit(0);
  }
}

void Reap(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

AnswerWriter::AnswerWriter(int socket) : socket_(socket) {
  packet_.reserve(kMaxPacket);
  packet_ += kData;
}

void AnswerWriter::AppendAndSend(std::string_view bytes) {
  while (!bytes.empty()) {
    const size_t room = kMaxPacket - packet_.size();
    packet_.append(bytes.substr(0, room));
    bytes.remove_prefix(std::min(room, bytes.size()));
    if (packet_.size() == kMaxPacket) Flush();
  }
}

bool AnswerWriter::Flush() {
  if (packet_.size() > 1) sent_ = sent_ && SendPacket(socket_, packet_);
  packet_.resize(1);
  return sent_;
}

ChildServer::~ChildServer() {
  if (owner_ == ::getpid()) Stop();
}

bool ChildServer::Start() {
  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0) return false;
  // Room for a few packets whatever the system's default; the kernel caps what it grants.
  const int room = 4 * kMaxPacket;
  for (const int fd : fds) ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &room, sizeof room);
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return false;
  }
  if (child == 0) {
    ::close(fds[0]);
    ServeForever(fds[1], serve_, memory_allowance_);
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
    // Nothing in the child is worth a graceful end, and a process forked from ours may hold
    // this end of the socket, so that the child would never see it close.
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

bool ChildServer::Receive(std::chrono::milliseconds time_limit, const Take& take) {
  const auto deadline = std::chrono::steady_clock::now() + time_limit;
  if (!packet_room_) packet_room_ = PacketRoom();
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd readable{socket_, POLLIN, 0};
    const int ready = ::poll(&readable, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const std::optional<std::string_view> packet = ReceivePacket(socket_, packet_room_.get());
    if (!packet) return false;
    switch (packet->front()) {
      case kData:
        take(packet->substr(1));
        break;
      case kFit:
        return packet->size() == 1;
      case kRetiring:
        Stop();
        return packet->size() == 1;
      default:
        return false;
    }
  }
}

bool ChildServer::Ask(std::string_view request, std::chrono::milliseconds time_limit,
                      const Take& take) {
  const std::lock_guard<std::mutex> lock(mutex_);
  ForgetInherited();
  std::string packet(1, kRequest);
  packet.append(request);
  // A child that ended while idle (killed from outside, say) is replaced, once.
  bool sent = socket_ >= 0 && SendPacket(socket_, packet);
  if (!sent) {
    Stop();
    sent = Start() && SendPacket(socket_, packet);
  }
  bool whole = false;
  try {
    whole = sent && Receive(time_limit, take);
  } catch (...) {
    // The rest of this answer is still on its way: the child must not serve the next request.
    Stop();
    throw;
  }
  if (!whole) Stop();
  return whole;
}

}  // namespace lastora::detail
