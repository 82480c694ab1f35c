// Running code that may crash (a third-party parser on a hostile file) where its crash cannot take
// the program down: in a child process that answers the program's requests over a socket.
#ifndef LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_
#define LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lastora::detail {

class ChildWorker {
 public:
  // `serve` runs in a forked child, once per request, and appends its answer; whatever it
  // keeps between requests lives in the child only. It must not throw.
  using Serve = std::function<void(std::string_view request, std::string& answer)>;
  explicit ChildWorker(Serve serve);
  ChildWorker(const ChildWorker&) = delete;
  ChildWorker& operator=(const ChildWorker&) = delete;
  // Ends the child (SIGKILL) and waits for it.
  ~ChildWorker();

  // The child's answer; nullopt once the child has died (a signal, an exit) before answering.
  std::optional<std::string> Ask(std::string_view request);

 private:
  void Reap();

  Serve serve_;
  int socket_ = -1;
  long child_ = -1;
};

}  // namespace lastora::detail

#endif  // LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_
