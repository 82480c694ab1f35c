// Whole-file reads and writes. Every write goes to a temporary name in the target folder and is
// renamed over the target, so a failure never leaves a truncated file where a good one was.
#ifndef LASTORA_CORE_FILES_H_
#define LASTORA_CORE_FILES_H_

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/temporary_files.h"

namespace lastora::files {

namespace detail {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace detail

// A path as the system speaks it ("\" or "/" separators) made usable on this platform.
std::string NativePath(std::string_view path);

// Reads the file's bytes; VbError 53 when it does not exist, 75 when it cannot be read.
std::string ReadWhole(const std::string& path);

// A file read piece by piece, for files too large to hold whole (a payment file of a million
// debits) or of which only the start matters. Errors as ReadWhole's.
class FileReader {
 public:
  explicit FileReader(const std::string& path);

  // Up to `room` bytes into `into`; fewer only at the end of the file, 0 there.
  size_t Read(char* into, size_t room);
  // Reading goes on at `offset` bytes from the file's start.
  void Seek(uintmax_t offset);
  // The size the file had when opened, 0 when the system cannot tell.
  uintmax_t size() const { return size_; }

 private:
  static constexpr size_t kReadBuffer = size_t{1} << 18;

  std::unique_ptr<char[]> buffer_;  // the stream's, so it must outlive the stream
  std::unique_ptr<std::FILE, detail::FileCloser> file_;
  uintmax_t size_ = 0;
};
// Replaces the file atomically with the bytes; VbError 76 when the folder does not exist,
// 75 (or 70) when it cannot be written.
void WriteWhole(const std::string& path, std::string_view bytes);

// WriteWhole for a file that is produced piece by piece, so that a 100 MB payment file never
// has to exist as one text in memory. The pieces go to a temporary file beside the target, made
// afresh and exclusively (never through a link planted at its name); Commit renames it over the
// target, so that the run that reports success is the run whose bytes are in the file. A writer
// that is destroyed without Commit (a failed run) removes its temporary file and leaves the target
// as it was; so does SIGINT, SIGTERM or SIGHUP, and a later run removes what a killed one left.
// A file-size limit or a full disk is a failed write. Errors as WriteWhole's; a failed write
// carries the system's reason in its description. While a CollectCommits lives on the thread,
// Commit hands the finished file to that set instead of renaming it.
class FileWriter {
 public:
  explicit FileWriter(const std::string& path);
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;
  ~FileWriter();

  void Write(std::string_view bytes);
  void Commit();

  // For a library that insists on opening the file by name: the temporary, which it may fill
  // instead of Write.
  std::string TemporaryPath() const { return temporary_.string(); }

 private:
  friend class FileSet;
  FileWriter() = default;
  // Closes the temporary and gives it the replaced file's permissions; once.
  void Finish();
  // Renames the finished temporary to `destination`.
  std::error_code RenameTo(const std::filesystem::path& destination);
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::filesystem::file_status existing_;
  std::unique_ptr<std::FILE, detail::FileCloser> file_;
  std::unique_ptr<temporaries::Registration> registration_;
  bool finished_ = false;
};

// The name a document that failed its check is kept under, so that nothing that looks for the
// real name (a bank upload) picks it up: "Datei.xml" becomes "Datei_FEHLERHAFT.xml".
std::string FailedName(const std::string& path);

// The files of one run, committed together: every member is written to its temporary, and
// Commit first closes every temporary (a full disk shows here, before anything is replaced), then
// renames them in the order they were added, each replaced file first hard-linked aside; when one
// rename fails, the earlier ones are undone in reverse order from those links. Until
// Commit (and after a failed one) the folder holds the previous files; a failed run, a full disk,
// SIGINT, SIGTERM or SIGHUP leave it so. The renames run with those signals held back. What
// remains open: a SIGKILL or a power cut in the middle of the renames (microseconds) leaves some
// members new and some old, and the files are not synced to the disk before being renamed.
class FileSet {
 public:
  FileSet() = default;
  FileSet(const FileSet&) = delete;
  FileSet& operator=(const FileSet&) = delete;
  ~FileSet();

  // A writer for one member; the set owns it.
  FileWriter& Add(const std::string& path);
  // Called with a member's target and its finished temporary as the member joins the set, so
  // that a slow reading of it can start while the run writes on.
  using MemberFinished = std::function<void(const std::string& target, const std::string& pending)>;
  void WhenMemberFinished(MemberFinished observer) { member_finished_ = std::move(observer); }
  // The member at `path` failed its check: it is committed under FailedName(path) only.
  void MarkFailed(const std::string& path);
  // All members into place (failed ones under their marked names), or none.
  void Commit();
  // Only the failed members, under their marked names; the others are dropped and the previous
  // files stay.
  void KeepOnlyFailed();

  // Where the member for `path` can be read before Commit (its temporary); `path` itself when
  // the set holds no such member.
  std::string PendingPath(const std::string& path) const;
  // The paths the last Commit or KeepOnlyFailed put into place, in order.
  const std::vector<std::string>& placed() const { return placed_; }

 private:
  friend class FileWriter;
  struct Member {
    std::unique_ptr<FileWriter> writer;
    bool failed = false;
  };
  // Takes over a writer's finished temporary, which then outlives the writer.
  void Adopt(FileWriter& writer);
  const Member* Find(const std::string& path) const;
  void Publish(bool failed_only);
  void PublishOrThrow(bool failed_only);

  std::vector<Member> members_;
  std::vector<std::string> placed_;
  MemberFinished member_finished_;
};

// For its lifetime, every FileWriter committed on this thread (WriteWhole included) joins `set`
// instead of replacing its target, so that code writing file after file becomes one all-or-none
// set for its caller. Collectors nest; the innermost one collects.
class CollectCommits {
 public:
  explicit CollectCommits(FileSet& set);
  CollectCommits(const CollectCommits&) = delete;
  CollectCommits& operator=(const CollectCommits&) = delete;
  ~CollectCommits();

 private:
  FileSet* previous_;
};

// The readable place of a file committed under the innermost CollectCommits: its temporary
// until the set is committed, else the path itself.
std::string PendingPath(const std::string& path);

// Appends the bytes (creating the file); used by the run log.
void Append(const std::string& path, std::string_view bytes);

}  // namespace lastora::files

#endif  // LASTORA_CORE_FILES_H_
