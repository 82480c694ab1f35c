// Running code that may crash, hang or scribble (a third-party parser on a hostile file) where
// none of that can reach the program: in a forked child that writes its answer into shared memory
// and ends. The parent touches nothing while the child works, so the fork costs it no
// copy-on-write faults, and the answer is read in place, never copied.
#ifndef LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_
#define LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_

#include <chrono>
#include <functional>
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

// The parent's side: the answer of a child that finished, mapped read-only. It cannot change
// or shrink under the reader any more.
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

// Runs in the child: whatever it changes is the child's copy of the program's memory, and goes
// with the child.
using ChildWork = std::function<void(AnswerWriter& answer)>;

// Runs `work` in a forked child and returns what it wrote; nullopt when the child died (a
// signal, an exit, an exception) before `work` returned, or was still running after
// `time_limit` (it is killed then).
std::optional<ChildAnswer> RunInChild(const ChildWork& work, std::chrono::milliseconds time_limit);

}  // namespace lastora::detail

#endif  // LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_
