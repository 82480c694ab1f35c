#include "core/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "core/large_pages.h"
#include "core/temporary_files.h"
#include "lastora/vb_error.h"

#ifndef _WIN32
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace lastora::files {

namespace {

namespace fs = std::filesystem;

constexpr fs::perms kAnyWrite =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

using File = std::unique_ptr<std::FILE, detail::FileCloser>;

fs::path ToPath(const std::string& native) {
  // Paths are UTF-8; going through char8_t keeps them so on Windows as well.
  return fs::path(std::u8string(native.begin(), native.end()));
}

std::string PathText(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

File Open(const fs::path& path, const char* mode) {
#ifdef _WIN32
  std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return File(_wfopen(path.c_str(), wide_mode.c_str()));
#else
  return File(std::fopen(path.c_str(), mode));
#endif
}

// The platform's error for a failed open or write, from the system's reason.
int32_t ErrorForWrite(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return 76;
    case EACCES:
    case EPERM:
    case EROFS:
      return 70;
    default:
      return 75;
  }
}

// A write that ran out of room says so in the system's words: the platform's number alone does
// not tell a full disk from a broken one.
VbError WriteFailure(int error) {
  const int32_t number = ErrorForWrite(error);
  switch (error) {
    case EFBIG:
    case ENOSPC:
    case EIO:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return VbError(number, VbErrorDescription(number) + ": " + std::strerror(error));
    default:
      return VbError(number);
  }
}

bool WriteAll(std::FILE* f, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

// Made only if nothing by that name exists, and never through a link planted there.
File CreateExclusive(const fs::path& name) {
#ifdef _WIN32
  return Open(name, "wbx");
#else
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  File f(::fdopen(fd, "wb"));
  if (!f) {
    const int error = errno;
    ::close(fd);
    ::unlink(name.c_str());
    errno = error;
  }
  return f;
#endif
}

// The temporary file lives beside the target so that the final rename stays on one file system.
File CreateTemporary(const fs::path& target, fs::path* name) {
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    *name = temporaries::NameFor(target);
    File f = CreateExclusive(*name);
    if (f) return f;
    if (errno != EEXIST) throw WriteFailure(errno);
  }
  throw VbError(75);
}

void RemoveQuietly(const fs::path& path) {
  std::error_code ignored;
  fs::remove(path, ignored);
}

// A link is followed, so that the file it names is replaced and the link itself stays.
fs::path ResolveLink(fs::path path) {
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
  fs::path real = fs::canonical(path, error);
  return error ? path : real;
}

// Only the file name changes: the folder stays written as the caller wrote it.
fs::path FailedPath(const fs::path& path) {
  fs::path name = path.stem();
  name += "_FEHLERHAFT";
  name += path.extension();
  fs::path marked = path;
  marked.replace_filename(name);
  return marked;
}

// Holds back the termination signals in this thread while a file set is renamed into place; one
// that arrives meanwhile ends the process once the set is complete.
class TerminationsHeld {
 public:
  TerminationsHeld() {
#ifndef _WIN32
    sigset_t held;
    sigemptyset(&held);
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&held, signal_number);
    pthread_sigmask(SIG_BLOCK, &held, &previous_);
#endif
  }
  TerminationsHeld(const TerminationsHeld&) = delete;
  TerminationsHeld& operator=(const TerminationsHeld&) = delete;
  ~TerminationsHeld() {
#ifndef _WIN32
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
#endif
  }

 private:
#ifndef _WIN32
  sigset_t previous_;
#endif
};

thread_local FileSet* collecting = nullptr;

}  // namespace

std::string NativePath(std::string_view path) {
  std::string native(path);
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

FileReader::FileReader(const std::string& path) {
  const fs::path native = ToPath(NativePath(path));
  file_ = Open(native, "rb");
  if (!file_) throw VbError(errno == ENOENT || errno == ENOTDIR ? 53 : 75);
  // Parsers ask for a few kilobytes at a time, and the system's default buffer would make a
  // read of each: a payment file of 270 MB took 66,000 of them for its schema validation.
  buffer_ = std::make_unique_for_overwrite<char[]>(kReadBuffer);
  std::setvbuf(file_.get(), buffer_.get(), _IOFBF, kReadBuffer);
  std::error_code size_error;
  const uintmax_t size = fs::file_size(native, size_error);
  if (!size_error) size_ = size;
}

size_t FileReader::Read(char* into, size_t room) {
  size_t got = 0;
  while (got < room) {
    const size_t read = std::fread(into + got, 1, room - got, file_.get());
    if (read == 0) break;
    got += read;
  }
  // A directory opens on POSIX but cannot be read.
  if (std::ferror(file_.get())) throw VbError(75);
  return got;
}

void FileReader::Seek(uintmax_t offset) {
#ifdef _WIN32
  const int failed = _fseeki64(file_.get(), static_cast<__int64>(offset), SEEK_SET);
#else
  const int failed = fseeko(file_.get(), static_cast<off_t>(offset), SEEK_SET);
#endif
  if (failed != 0) throw VbError(75);
}

std::string ReadWhole(const std::string& path) {
  FileReader reader(path);
  // Sized once from the file's length, so a 100 MB payment file is read without regrowing; the
  // loop still takes whatever the file really holds if it changes meanwhile.
  std::string bytes;
  bytes.reserve(static_cast<size_t>(reader.size()));
  memory::PreferLargePages(bytes.data(), bytes.capacity());
  char buffer[1 << 16];
  while (const size_t got = reader.Read(buffer, sizeof buffer)) bytes.append(buffer, got);
  return bytes;
}

void WriteWhole(const std::string& path, std::string_view bytes) {
  FileWriter writer(path);
  writer.Write(bytes);
  writer.Commit();
}

FileWriter::FileWriter(const std::string& path) : target_(ResolveLink(ToPath(NativePath(path)))) {
  const fs::path folder = target_.parent_path();
  std::error_code ignored;
  if (!folder.empty() && !fs::is_directory(folder, ignored)) throw VbError(76);

  // A file the user marked read-only is not replaced, as the platform refuses to open it for
  // writing; a writable one keeps its permissions.
  existing_ = fs::status(target_, ignored);
  if (fs::is_regular_file(existing_) && (existing_.permissions() & kAnyWrite) == fs::perms::none) {
    throw VbError(75);
  }
  temporaries::PrepareProcess();
  temporaries::SweepStale(folder);
  file_ = CreateTemporary(target_, &temporary_);
  registration_ = std::make_unique<temporaries::Registration>(temporary_);
}

FileWriter::~FileWriter() { Discard(); }

void FileWriter::Discard() {
  file_.reset();
  if (!temporary_.empty()) RemoveQuietly(temporary_);
  temporary_.clear();
  if (registration_) registration_->Release();
}

void FileWriter::Write(std::string_view bytes) {
  if (!file_) throw VbError(75);
  if (!WriteAll(file_.get(), bytes)) throw WriteFailure(errno);
}

void FileWriter::Finish() {
  if (finished_) return;
  if (!file_) throw VbError(75);
  if (std::fclose(file_.release()) != 0) throw WriteFailure(errno);
  std::error_code error;
  if (fs::is_regular_file(existing_)) fs::permissions(temporary_, existing_.permissions(), error);
  if (error) throw VbError(75);
  finished_ = true;
}

std::error_code FileWriter::RenameTo(const fs::path& destination) {
  std::error_code error;
  fs::rename(temporary_, destination, error);
  if (error) return error;
  temporary_.clear();
  registration_->Release();
  return error;
}

void FileWriter::Commit() {
  if (collecting != nullptr) {
    collecting->Adopt(*this);
    return;
  }
  Finish();
  const std::error_code error = RenameTo(target_);
  if (error) throw VbError(error == std::errc::permission_denied ? 70 : 75);
}

std::string FailedName(const std::string& path) {
  return PathText(FailedPath(ToPath(NativePath(path))));
}

FileSet::~FileSet() = default;

FileWriter& FileSet::Add(const std::string& path) {
  members_.push_back({std::make_unique<FileWriter>(path), false});
  return *members_.back().writer;
}

void FileSet::Adopt(FileWriter& writer) {
  writer.Finish();
  std::unique_ptr<FileWriter> adopted(new FileWriter());
  adopted->target_ = writer.target_;
  adopted->temporary_ = std::exchange(writer.temporary_, fs::path());
  adopted->existing_ = writer.existing_;
  adopted->registration_ = std::move(writer.registration_);
  adopted->finished_ = true;
  members_.push_back({std::move(adopted), false});
  if (member_finished_) {
    const FileWriter& member = *members_.back().writer;
    member_finished_(PathText(member.target_), PathText(member.temporary_));
  }
}

const FileSet::Member* FileSet::Find(const std::string& path) const {
  const fs::path target = ResolveLink(ToPath(NativePath(path)));
  for (const Member& member : members_) {
    if (member.writer->target_ == target) return &member;
  }
  return nullptr;
}

std::string FileSet::PendingPath(const std::string& path) const {
  const Member* member = Find(path);
  if (member == nullptr || member->writer->temporary_.empty()) return path;
  return PathText(member->writer->temporary_);
}

void FileSet::MarkFailed(const std::string& path) {
  const fs::path target = ResolveLink(ToPath(NativePath(path)));
  for (Member& member : members_) {
    if (member.writer->target_ == target) member.failed = true;
  }
}

void FileSet::Commit() { Publish(false); }

void FileSet::KeepOnlyFailed() { Publish(true); }

void FileSet::Publish(bool failed_only) {
  placed_.clear();
  try {
    PublishOrThrow(failed_only);
  } catch (...) {
    // A set that failed leaves nothing of itself behind, not even until it is destroyed.
    for (Member& member : members_) member.writer->Discard();
    throw;
  }
}

void FileSet::PublishOrThrow(bool failed_only) {
  struct Placed {
    fs::path destination;
    fs::path backup;  // the file it replaced, linked aside; empty when there was none
  };
  for (Member& member : members_) {
    if (failed_only && !member.failed) {
      member.writer->Discard();
    } else {
      member.writer->Finish();
    }
  }
  std::vector<Placed> placed;
  const TerminationsHeld held;
  // Puts back what the renames so far replaced, so that a failure leaves the previous set.
  auto undo = [&placed] {
    for (auto it = placed.rbegin(); it != placed.rend(); ++it) {
      std::error_code ignored;
      if (it->backup.empty()) {
        fs::remove(it->destination, ignored);
      } else {
        fs::rename(it->backup, it->destination, ignored);
      }
    }
  };
  for (Member& member : members_) {
    FileWriter& writer = *member.writer;
    if (writer.temporary_.empty()) continue;
    Placed step;
    step.destination = member.failed ? FailedPath(writer.target_) : writer.target_;
    std::error_code error;
    if (fs::is_regular_file(fs::symlink_status(step.destination, error))) {
      step.backup = temporaries::NameFor(step.destination);
      fs::create_hard_link(step.destination, step.backup, error);
      // Without hard links (some network shares) the file replaced cannot be put back.
      if (error) step.backup.clear();
    }
    error = writer.RenameTo(step.destination);
    if (error) {
      if (!step.backup.empty()) RemoveQuietly(step.backup);
      undo();
      throw VbError(error == std::errc::permission_denied ? 70 : 75);
    }
    placed.push_back(std::move(step));
  }
  for (const Placed& step : placed) {
    if (!step.backup.empty()) RemoveQuietly(step.backup);
    placed_.push_back(PathText(step.destination));
  }
}

CollectCommits::CollectCommits(FileSet& set) : previous_(std::exchange(collecting, &set)) {}

CollectCommits::~CollectCommits() { collecting = previous_; }

std::string PendingPath(const std::string& path) {
  return collecting == nullptr ? path : collecting->PendingPath(path);
}

void Append(const std::string& path, std::string_view bytes) {
  File f = Open(ToPath(NativePath(path)), "ab");
  if (!f) throw VbError(ErrorForWrite(errno));
  if (!WriteAll(f.get(), bytes)) throw WriteFailure(errno);
  if (std::fclose(f.release()) != 0) throw WriteFailure(errno);
}

}  // namespace lastora::files
