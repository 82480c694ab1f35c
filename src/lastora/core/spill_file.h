// Text that a run collects now and writes out later, kept out of memory meanwhile: a payment list
// of a million rows would otherwise sit in memory beside the run's tables until its file is
// written.
#ifndef LASTORA_CORE_SPILL_FILE_H_
#define LASTORA_CORE_SPILL_FILE_H_

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/files.h"

namespace lastora::files {

// An unnamed temporary file (gone with the process, however it ends) that texts are moved to and
// later read back from, in order. Where no such file can be made or written, the texts simply
// stay where the caller keeps them: the run needs more memory, but never fails for it.
class SpillFile {
 public:
  // Moves `text` to the file and empties it; leaves it as it is when the file cannot take it.
  void Take(std::string& text);
  // Hands everything taken to `sink`, in pieces, in order. VbError 75 when it cannot be read.
  void Replay(const std::function<void(std::string_view)>& sink) const;

 private:
  std::unique_ptr<std::FILE, detail::FileCloser> file_;
  uint64_t taken_ = 0;  // bytes the file holds for certain
  bool failed_ = false;
};

}  // namespace lastora::files

#endif  // LASTORA_CORE_SPILL_FILE_H_
