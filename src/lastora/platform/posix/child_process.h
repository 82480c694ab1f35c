// Running code that may crash, hang or scribble (a third-party parser on a hostile file) where
// none of that can reach the program: in a child process that serves one request at a time and
// writes each answer into shared memory, which the program then reads in place.
//
// The child is forked once and kept, since a fresh process per request pays a page fault for
// every page the parser touches, and the program pays one for every page it writes after each
// fork; with one child the parser's heap stays warm, as it would in the program itself. A child
// that crashed, hung or met damage is replaced by a fresh one at the next request.
#ifndef LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_
#define LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace lastora::detail {

// The child's side: its answer, written out in large pieces.
class AnswerWriter {
 public:
  explicit AnswerWriter(int fd) : fd_(fd) { buffer_.reserve(kChunk); }
  AnswerWriter(const AnswerWriter&) = delete;
  AnswerWriter& operator=(const AnswerWriter&) = delete;

  void Append(std::string_view bytes);
  // Writes what is buffered; false when the answer could not be stored.
  bool Flush();

 private:
  static constexpr size_t kChunk = 1 << 18;
  int fd_;
  std::string buffer_;
  bool written_ = true;  // false from the first write that failed
};

// The parent's side: a finished answer, mapped read-only. It cannot change or shrink under the
// reader any more.
class ChildAnswer {
 public:
  ChildAnswer(const void* data, size_t size) : data_(data), size_(size) {}
  ChildAnswer(ChildAnswer&& other) noexcept;
  ChildAnswer& operator=(ChildAnswer&& other) noexcept;
  ~ChildAnswer();

  std::string_view bytes() const {
    return std::string_view(static_cast<const char*>(data_), size_);
  }

 private:
  const void* data_;
  size_t size_;
};

class ChildServer {
 public:
  // Runs in the child, once per request: writes the answer and tells whether the child is still
  // fit to serve (false after damage that may have hurt its memory; the child ends then). What it
  // changes lives in the child's copy of the program's memory.
  using Serve = std::function<bool(std::string_view request, AnswerWriter& answer)>;

  explicit ChildServer(Serve serve) : serve_(std::move(serve)) {}
  ChildServer(const ChildServer&) = delete;
  ChildServer& operator=(const ChildServer&) = delete;
  // Ends the child (SIGKILL) and waits for it.
  ~ChildServer();

  // The answer to `request`; nullopt when the child died (a signal, an exit, an exception)
  // before it finished the answer, or was still working after `time_limit` (it is killed then).
  // One request at a time: callers on other threads wait.
  std::optional<ChildAnswer> Ask(std::string_view request, std::chrono::milliseconds time_limit);

 private:
  bool Start();
  void Stop();
  // A process forked from ours holds a copy of this object: the child is its parent's.
  void ForgetInherited();

  Serve serve_;
  std::mutex mutex_;
  int socket_ = -1;
  pid_t child_ = -1;
  pid_t owner_ = -1;  // the process that started the child
};

}  // namespace lastora::detail

#endif  // LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_
