// Running code that may crash, hang or scribble (a third-party parser on a hostile file) where
// none of that can reach the program: in a child process that serves one request at a time and
// streams its answer back in large pieces, which the program takes while the child still works.
//
// The child is forked once and kept, since a fresh process per request pays a page fault for
// every page the parser touches, and the program pays one for every page it writes after each
// fork; with one child the parser's heap stays warm, as it would in the program itself. A child
// that crashed, hung or met damage is replaced by a fresh one at the next request. A child may
// map only a given amount of memory beyond what it inherits: a few kilobytes of hostile input can
// make a parser allocate for seconds on end, and the limit turns that into a failed allocation
// soon. While it lives it is one of the program's children: a program that waits for any child
// (wait(), waitpid(-1, ...)) instead of its own by pid would wait for it too.
#ifndef LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_
#define LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace lastora::detail {

// The child's side: its answer, sent in large pieces.
class AnswerWriter {
 public:
  explicit AnswerWriter(int socket);
  AnswerWriter(const AnswerWriter&) = delete;
  AnswerWriter& operator=(const AnswerWriter&) = delete;

  // Called for every cell: the common case stays inline.
  void Append(std::string_view bytes) {
    if (bytes.size() < kMaxPacket - packet_.size()) {
      packet_.append(bytes);
    } else {
      AppendAndSend(bytes);
    }
  }
  // Sends what is buffered; false once the parent could not be reached.
  bool Flush();

  // Large pieces keep the wake-ups few; a packet must fit the socket's default send buffer.
  static constexpr size_t kMaxPacket = 1 << 17;

 private:
  void AppendAndSend(std::string_view bytes);

  int socket_;
  std::string packet_;  // a kind byte, then the bytes to send
  bool sent_ = true;    // false from the first send that failed
};

class ChildServer {
 public:
  // Runs in the child, once per request: writes the answer and tells whether the child is still
  // fit to serve (false after damage that may have hurt its memory; the child ends then). What it
  // changes lives in the child's copy of the program's memory.
  using Serve = std::function<bool(std::string_view request, AnswerWriter& answer)>;
  // Runs in the program, once per piece of the answer, in order.
  using Take = std::function<void(std::string_view piece)>;

  // `memory_allowance`: the bytes the child may map beyond those it inherits.
  ChildServer(Serve serve, size_t memory_allowance)
      : serve_(std::move(serve)), memory_allowance_(memory_allowance) {}
  ChildServer(const ChildServer&) = delete;
  ChildServer& operator=(const ChildServer&) = delete;
  // Ends the child (SIGKILL) and waits for it.
  ~ChildServer();

  // Hands the answer to `request` to `take`; true when the answer is whole. False when the child
  // died (a signal, an exit, an exception) before it finished, or was still working after
  // `time_limit` (it is killed then): the pieces taken are then worth nothing. What `take`
  // throws ends the child and passes on. One request at a time: callers on other threads wait.
  bool Ask(std::string_view request, std::chrono::milliseconds time_limit, const Take& take);

 private:
  bool Start();
  void Stop();
  // A process forked from ours holds a copy of this object: the child is its parent's.
  void ForgetInherited();
  bool Receive(std::chrono::milliseconds time_limit, const Take& take);

  Serve serve_;
  size_t memory_allowance_;
  std::mutex mutex_;
  int socket_ = -1;
  pid_t child_ = -1;
  pid_t owner_ = -1;  // the process that started the child
  // Kept from answer to answer: a fresh one per answer costs its pages again.
  std::unique_ptr<char[]> packet_room_;
};

}  // namespace lastora::detail

#endif  // LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_
