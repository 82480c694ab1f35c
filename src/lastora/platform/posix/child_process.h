// Running code that may crash (a third-party parser on a hostile file) where its crash cannot take
// the program down: in a child process that hands its result back as bytes.
#ifndef LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_
#define LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_

#include <functional>
#include <optional>
#include <string>

namespace lastora::detail {

// Runs `work` in a forked child; what it appends to its output comes back over a pipe. Returns
// nullopt when the child did not finish normally (killed by a signal, or exited without handing
// back its output). `work` must not throw: it reports failures in its output.
std::optional<std::string> RunInChild(const std::function<void(std::string& output)>& work);

}  // namespace lastora::detail

#endif  // LASTORA_PLATFORM_POSIX_CHILD_PROCESS_H_
