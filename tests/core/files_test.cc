#include "core/files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"
#include "support/vb_error_number.h"

namespace lastora::files {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;
using testing::ErrorTextOf;
using testing::ReadBytes;
using testing::WriteBytes;

class FilesTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return dir_.File(name); }
  std::vector<std::string> Names() const { return testing::FileNamesIn(dir_.path()); }

  testing::ScopedTempDir dir_;
};

TEST_F(FilesTest, EveryByteAndAnEmptyFileAndAnyNameSurviveAndMissingOnesAreNamed) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string path = PathOf("binary.dta");
  WriteWhole(path, all);
  EXPECT_EQ(ReadWhole(path), all);
  WriteWhole(path, "");
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(fs::file_size(path), 0u);
  // Windows separators and umlauts in names are accepted.
  fs::create_directories(dir_.path() / "Beiträge");
  WriteWhole(dir_.path().string() + "\\Beiträge\\Begleitzettel_März_€.txt", "x");
  EXPECT_EQ(ReadWhole(dir_.path().string() + "\\Beiträge\\Begleitzettel_März_€.txt"), "x");
  EXPECT_EQ(NativePath("..\\Vorlagen\\a b.txt"), "../Vorlagen/a b.txt");
  EXPECT_EQ(ErrorOf([&] { WriteWhole(PathOf("fehlt/datei.txt"), "x"); }), 76);
  EXPECT_EQ(ErrorOf([&] { FileWriter writer(PathOf("fehlt/datei.txt")); }), 76);
  EXPECT_EQ(ErrorOf([&] { ReadWhole(PathOf("gibtsnicht.txt")); }), 53);
}

TEST_F(FilesTest, WriteFailingHalfwayKeepsTheOldFileAndGivesTheSystemsReason) {
  const std::string path = PathOf("gross.xml");
  WriteWhole(path, "gut");
  const pid_t child = fork();
  if (child == 0) {
    // As a shell's `ulimit -f` leaves it: the signal at its default, which would end the process.
    signal(SIGXFSZ, SIG_DFL);
    rlimit limit{8192, 8192};
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string error = ErrorTextOf([&] { WriteWhole(path, std::string(1 << 20, 'x')); });
    _exit(error.starts_with("75 ") && error.find(std::strerror(EFBIG)) != std::string::npos ? 0
                                                                                            : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadBytes(path), "gut");
  EXPECT_EQ(Names(), std::vector<std::string>{"gross.xml"});
}

TEST_F(FilesTest, TerminationSignalsRemoveTheTemporary) {
  for (const int signal_number : {SIGTERM, SIGINT}) {
    const std::string path = PathOf("abbruch.xml");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
      signal(signal_number, SIG_DFL);
      FileWriter writer(path);
      writer.Write(std::string(100000, 'x'));
      (void)!write(ready[1], "w", 1);
      for (;;) pause();
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    // Mid-write: the temporary is there.
    EXPECT_EQ(Names().size(), 1u);
    kill(child, signal_number);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << status;
    EXPECT_TRUE(Names().empty()) << Names().front();
  }
}

TEST_F(FilesTest, TemporaryNeverFollowsALinkPlantedAtItsName) {
  const std::string path = PathOf("Z.xlsx");
  const std::string victim = PathOf("fremd.txt");
  WriteBytes(victim, "nicht anfassen");
  std::string first;
  {
    FileWriter probe(path);
    first = probe.TemporaryPath();
  }
  // Names are "<target>.<pid>-<n>.lastora-tmp"; links wait at the next few.
  const std::string suffix = ".lastora-tmp";
  ASSERT_TRUE(first.ends_with(suffix)) << first;
  const std::string stem = first.substr(0, first.size() - suffix.size());
  const size_t dash = stem.rfind('-');
  const unsigned long next = std::stoul(stem.substr(dash + 1)) + 1;
  for (unsigned long n = next; n < next + 5; ++n) {
    fs::create_symlink(victim, stem.substr(0, dash + 1) + std::to_string(n) + suffix);
  }
  WriteWhole(path, "neu");
  EXPECT_EQ(ReadBytes(victim), "nicht anfassen");
  EXPECT_FALSE(fs::is_symlink(path));
  EXPECT_EQ(ReadBytes(path), "neu");
}

TEST_F(FilesTest, RacingWritersLeaveOneWholeFile) {
  const std::string path = PathOf("gleich.xlsx");
  const std::string a(3 << 20, 'a');
  const std::string b(2 << 20, 'b');
  for (int round = 0; round < 5; ++round) {
    std::thread other([&] { WriteWhole(path, a); });
    WriteWhole(path, b);
    other.join();
    const std::string result = ReadBytes(path);
    EXPECT_TRUE(result == a || result == b) << result.size();
    EXPECT_EQ(Names(), std::vector<std::string>{"gleich.xlsx"});
  }
}

TEST_F(FilesTest, TemporariesOfEndedRunsAreRemovedByTheNextWriter) {
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  waitpid(ended, nullptr, 0);
  const std::string stale = "liste.csv." + std::to_string(ended) + "-7.lastora-tmp";
  const std::string alive = "liste.csv." + std::to_string(getppid()) + "-7.lastora-tmp";
  const std::string foreign = "liste.csv.lastora-tmp";
  for (const std::string& name : {stale, alive, foreign}) WriteBytes(PathOf(name), "x");
  WriteWhole(PathOf("neu.csv"), "y");
  std::vector<std::string> expected = {alive, foreign, "neu.csv"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(), expected);
}

}  // namespace
}  // namespace lastora::files
