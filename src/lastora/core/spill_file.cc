#include "core/spill_file.h"

#include <algorithm>

#include "core/temporary_files.h"
#include "lastora/vb_error.h"

namespace lastora::files {
namespace {

constexpr size_t kPiece = size_t{1} << 20;

}  // namespace

void SpillFile::Take(std::string& text) {
  if (failed_ || text.empty()) return;
  if (!file_) {
    temporaries::PrepareProcess();  // a file-size limit must fail the write, not end the run
    file_.reset(std::tmpfile());
  }
  // A short write (a full disk, a file-size limit) may leave part of the text behind `taken_`;
  // that part is never read back, and the text stays with the caller.
  if (!file_ || std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size()) {
    failed_ = true;
    return;
  }
  taken_ += text.size();
  text.clear();
}

void SpillFile::Replay(const std::function<void(std::string_view)>& sink) const {
  if (taken_ == 0) return;
  std::FILE* file = file_.get();
  if (std::fflush(file) != 0 || std::fseek(file, 0, SEEK_SET) != 0) throw VbError(75);
  std::string piece(kPiece, '\0');
  for (uint64_t left = taken_; left > 0;) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(left, kPiece));
    if (std::fread(piece.data(), 1, want, file) != want) throw VbError(75);
    sink(std::string_view(piece.data(), want));
    left -= want;
  }
}

}  // namespace lastora::files
