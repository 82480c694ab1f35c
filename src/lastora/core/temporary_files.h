// The temporaries the file writer makes beside its targets: their names, a registry of the ones
// alive in this process (removed when SIGINT, SIGTERM or SIGHUP ends it), and the removal of the
// ones a killed run left behind.
#ifndef LASTORA_CORE_TEMPORARY_FILES_H_
#define LASTORA_CORE_TEMPORARY_FILES_H_

#include <filesystem>
#include <string>

namespace lastora::files::temporaries {

// "<target>.<process id>-<number>.lastora-tmp": unique within this process, and telling a
// later run whose temporary it was.
std::filesystem::path NameFor(const std::filesystem::path& target);

// Before each write: a file-size limit turns into a failed write instead of SIGXFSZ, and the
// termination signals remove the live temporaries before the process ends (only where the
// program left those signals at their default).
void PrepareProcess();

// Holds a temporary in the registry while it lives; a path too long for the registry is left to
// the next run's sweep.
class Registration {
 public:
  explicit Registration(const std::filesystem::path& temporary);
  Registration(const Registration&) = delete;
  Registration& operator=(const Registration&) = delete;
  ~Registration() { Release(); }
  void Release();

 private:
  int slot_ = -1;
};

// Removes, once per folder and process, the temporaries of our naming whose process has ended.
void SweepStale(const std::filesystem::path& folder);

}  // namespace lastora::files::temporaries

#endif  // LASTORA_CORE_TEMPORARY_FILES_H_
