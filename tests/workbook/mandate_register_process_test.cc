// Several processes on one register: they queue instead of failing, and a process killed while
// recording leaves the run out entirely or in entirely.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "lastora/mandate_register.h"
#include "support/temp_dir.h"
#include "workbook/register_hooks.h"
#include "workbook/register_samples.h"

namespace lastora::mandate_register {
namespace {

using ::lastora::testing::ManyCollections;
using ::lastora::testing::SampleRun;
using ::lastora::testing::ScopedTempDir;

constexpr int kRunSize = 3000;

// Records run `index` (mandates index * kRunSize ...) in a child process; returns its pid.
pid_t RecordInChild(const std::string& path, int index) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  int status = 0;
  try {
    Register reg = Register::Open(path);
    const std::string id = std::to_string(index);
    reg.RecordRun(SampleRun("MSG-" + id, "PMT-" + id),
                  ManyCollections(index * kRunSize, kRunSize, "2026-12-0" + id));
  } catch (...) {
    status = 1;
  }
  _exit(status);
}

int WaitFor(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

TEST(MandateRegisterProcessTest, TwoProcessesRecordingAtOnceBothSucceed) {
  ScopedTempDir dir;
  const std::string path = dir.File("lastora.db");
  // Both children are started before either is waited for.
  for (const pid_t child : {RecordInChild(path, 1), RecordInChild(path, 2)}) {
    const int status = WaitFor(child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  Register reg = Register::Open(path);
  const auto runs = reg.ListRuns();
  ASSERT_EQ(runs.size(), 2u);
  for (const mandate_register::Run& run : runs) EXPECT_EQ(run.count, kRunSize);
  EXPECT_EQ(reg.FindMandate("M" + std::to_string(kRunSize))->first_collection, "2026-12-01");
  EXPECT_EQ(reg.FindMandate("M" + std::to_string(3 * kRunSize - 1))->first_collection,
            "2026-12-02");
}

detail::RecordStep kill_step;
int64_t kill_after = 0;

void KillHere(detail::RecordStep step, int64_t written) {
  if (step == kill_step &&
      (step != detail::RecordStep::kCollectionWritten || written == kill_after)) {
    kill(getpid(), SIGKILL);
  }
}

TEST(MandateRegisterProcessTest, KilledRecordingLeavesNoneOrAllOfTheRun) {
  struct KillPoint {
    detail::RecordStep step;
    int64_t after;
    bool run_kept;
  };
  const KillPoint points[] = {{detail::RecordStep::kCollectionWritten, 1, false},
                              {detail::RecordStep::kCollectionWritten, kRunSize / 2, false},
                              {detail::RecordStep::kBeforeCommit, 0, false},
                              {detail::RecordStep::kCommitted, 0, true}};
  for (const KillPoint& point : points) {
    ScopedTempDir dir;
    const std::string path = dir.File("lastora.db");
    Register::Open(path);
    kill_step = point.step;
    kill_after = point.after;
    detail::SetRecordHook(KillHere);
    const pid_t child = RecordInChild(path, 1);
    detail::SetRecordHook(nullptr);
    const int status = WaitFor(child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    Register reg = Register::Open(path);
    const auto runs = reg.ListRuns();
    const bool kept = !runs.empty();
    EXPECT_EQ(kept, point.run_kept) << "kill point " << point.after;
    if (kept) {
      EXPECT_EQ(runs[0].count, kRunSize);
    }
    EXPECT_EQ(reg.FindMandate("M" + std::to_string(kRunSize)).has_value(), point.run_kept);
    EXPECT_EQ(reg.FindMandate("M" + std::to_string(2 * kRunSize - 1)).has_value(), point.run_kept);
    // A run that never got in leaves its ids free for the repeated attempt.
    if (!kept) {
      EXPECT_NO_THROW(
          reg.RecordRun(SampleRun("MSG-1", "PMT-1"), ManyCollections(0, 1, "2026-12-01")));
    }
  }
}

}  // namespace
}  // namespace lastora::mandate_register
