#include "core/temporary_files.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <pthread.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace lastora::files::temporaries {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSuffix = ".lastora-tmp";

long ProcessId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<long>(::getpid());
#endif
}

// A signal handler may only read plain memory: fixed slots, each with a path and a state that is
// changed atomically (free, being filled, live).
constexpr int kSlots = 64;
constexpr size_t kMaxPath = 4096;
enum SlotState : int { kFree = 0, kFilling = 1, kLive = 2 };
std::atomic<int> slot_states[kSlots];
char slot_paths[kSlots][kMaxPath];

#ifndef _WIN32
constexpr int kTerminations[] = {SIGINT, SIGTERM, SIGHUP};

void RemoveLiveAndDie(int signal_number) {
  for (int i = 0; i < kSlots; ++i) {
    if (slot_states[i].load() == kLive) ::unlink(slot_paths[i]);
  }
  // The signal is blocked while its handler runs, so it ends the process on return.
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

// A forked child (the shelter of a crashing reader) must not remove its parent's temporaries.
void ForgetAllInChild() {
  for (int i = 0; i < kSlots; ++i) slot_states[i].store(kFree);
}

void InstallHandlers() {
  static std::once_flag once;
  std::call_once(once, [] { ::pthread_atfork(nullptr, nullptr, ForgetAllInChild); });
  // A file-size limit then makes write() fail with EFBIG, which the writer reports.
  ::signal(SIGXFSZ, SIG_IGN);
  for (const int signal_number : kTerminations) {
    struct sigaction current {};
    if (::sigaction(signal_number, nullptr, &current) != 0) continue;
    if (current.sa_handler != SIG_DFL || (current.sa_flags & SA_SIGINFO) != 0) continue;
    struct sigaction removing {};
    removing.sa_handler = RemoveLiveAndDie;
    sigemptyset(&removing.sa_mask);
    for (const int other : kTerminations) sigaddset(&removing.sa_mask, other);
    ::sigaction(signal_number, &removing, nullptr);
  }
}

bool ProcessHasEnded(long pid) { return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }
#else
void InstallHandlers() {}
// Without a cheap test for another process, nothing is taken for stale.
bool ProcessHasEnded(long) { return false; }
#endif

// The process id in one of our temporary names; 0 when the name is not ours.
long OwnerOf(const std::string& name) {
  if (name.size() <= kSuffix.size() || !name.ends_with(kSuffix)) return 0;
  const std::string_view stem(name.data(), name.size() - kSuffix.size());
  const size_t dot = stem.rfind('.');
  const size_t dash = stem.rfind('-');
  if (dot == std::string_view::npos || dash == std::string_view::npos || dash < dot) return 0;
  long pid = 0;
  unsigned long number = 0;
  const char* pid_end = stem.data() + dash;
  const auto [p, pid_error] = std::from_chars(stem.data() + dot + 1, pid_end, pid);
  const auto [n, number_error] = std::from_chars(pid_end + 1, stem.data() + stem.size(), number);
  if (pid_error != std::errc() || p != pid_end || number_error != std::errc() ||
      n != stem.data() + stem.size() || pid <= 0) {
    return 0;
  }
  return pid;
}

}  // namespace

fs::path NameFor(const fs::path& target) {
  static std::atomic<unsigned long> counter{0};
  fs::path name = target;
  name +=
      "." + std::to_string(ProcessId()) + "-" + std::to_string(counter++) + std::string(kSuffix);
  return name;
}

// Checked for every writer, not once: a program may have reset a disposition since (a forked
// child, a library that restores its own), and the check is a few system calls.
void PrepareProcess() { InstallHandlers(); }

Registration::Registration(const fs::path& temporary) {
  const std::string path = temporary.string();
  if (path.size() >= kMaxPath) return;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (!slot_states[i].compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(slot_paths[i], path.c_str(), path.size() + 1);
    slot_states[i].store(kLive);
    slot_ = i;
    return;
  }
}

void Registration::Release() {
  if (slot_ >= 0) slot_states[slot_].store(kFree);
  slot_ = -1;
}

void SweepStale(const fs::path& folder) {
  static std::mutex mutex;
  static std::set<fs::path> swept;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!swept.insert(folder).second) return;
  }
  std::error_code error;
  const fs::path where = folder.empty() ? fs::path(".") : folder;
  for (fs::directory_iterator it(where, error), end; !error && it != end; it.increment(error)) {
    const long owner = OwnerOf(it->path().filename().string());
    if (owner == 0 || owner == ProcessId() || !ProcessHasEnded(owner)) continue;
    std::error_code ignored;
    if (fs::is_regular_file(it->symlink_status(ignored))) fs::remove(it->path(), ignored);
  }
}

}  // namespace lastora::files::temporaries
