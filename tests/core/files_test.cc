#include "core/files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/spill_file.h"
#include "support/temp_dir.h"
#include "support/vb_error_number.h"

namespace lastora::files {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;
using testing::ErrorTextOf;
using testing::ReadBytes;

class FilesTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return dir_.File(name); }
  std::vector<std::string> Names() const { return testing::FileNamesIn(dir_.path()); }

  testing::ScopedTempDir dir_;
};

TEST_F(FilesTest, EveryByteSurvivesAndAnEmptyFileIsKept) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string path = PathOf("binary.dta");
  WriteWhole(path, all);
  EXPECT_EQ(ReadWhole(path), all);
  WriteWhole(path, "");
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(fs::file_size(path), 0u);
}

TEST_F(FilesTest, WindowsSeparatorsAndUmlautsInNamesAreAccepted) {
  fs::create_directories(dir_.path() / "Beiträge");
  WriteWhole(dir_.path().string() + "\\Beiträge\\Begleitzettel_März_€.txt", "x");
  EXPECT_EQ(ReadWhole(dir_.path().string() + "\\Beiträge\\Begleitzettel_März_€.txt"), "x");
  EXPECT_EQ(NativePath("..\\Vorlagen\\a b.txt"), "../Vorlagen/a b.txt");
}

TEST_F(FilesTest, MissingFolderOrFile) {
  EXPECT_EQ(ErrorOf([&] { WriteWhole(PathOf("fehlt/datei.txt"), "x"); }), 76);
  EXPECT_EQ(ErrorOf([&] { FileWriter writer(PathOf("fehlt/datei.txt")); }), 76);
  EXPECT_EQ(ErrorOf([&] { ReadWhole(PathOf("gibtsnicht.txt")); }), 53);
}

// The wait status of a forked child that runs `body` and exits with what it returns.
int StatusOfChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  int status = -1;
  waitpid(child, &status, 0);
  return status;
}

TEST_F(FilesTest, WriteFailingHalfwayKeepsTheOldFileAndGivesTheSystemsReason) {
  const std::string path = PathOf("gross.xml");
  WriteWhole(path, "gut");
  const int status = StatusOfChild([&] {
    // As a shell's `ulimit -f` leaves it: the signal at its default, which would end the process.
    signal(SIGXFSZ, SIG_DFL);
    rlimit limit{8192, 8192};
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string error = ErrorTextOf([&] { WriteWhole(path, std::string(1 << 20, 'x')); });
    const bool says_why = error.find(std::strerror(EFBIG)) != std::string::npos;
    return error.starts_with("75 ") && says_why ? 0 : 1;
  });
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadBytes(path), "gut");
  EXPECT_EQ(Names(), std::vector<std::string>{"gross.xml"});
}

// Texts moved out of memory come back whole and in order, across the pieces they are read in;
// where the spill file cannot take a text (here a file-size limit, with the signal at the
// default a shell leaves), the text stays with the caller and nothing taken before is lost.
TEST(SpillFileTest, TakenTextsComeBackInOrderAndAFailedSpillKeepsTheText) {
  const auto replayed = [](const SpillFile& spill) {
    std::string all;
    spill.Replay([&all](std::string_view piece) { all.append(piece); });
    return all;
  };
  SpillFile spill;
  std::string first(1536 * 1024, 'a'), second = "bc", empty;
  first.back() = 'z';
  spill.Take(first);
  spill.Take(empty);
  spill.Take(second);
  EXPECT_TRUE(first.empty() && second.empty());
  EXPECT_EQ(replayed(spill), std::string(1536 * 1024 - 1, 'a') + "zbc");

  const int status = StatusOfChild([&] {
    signal(SIGXFSZ, SIG_DFL);
    rlimit limit{8192, 8192};
    setrlimit(RLIMIT_FSIZE, &limit);
    SpillFile limited;
    std::string small = "kurz", large(100000, 'x'), later = "danach";
    limited.Take(small);
    limited.Take(large);
    limited.Take(later);
    return small.empty() && large.size() == 100000 && later == "danach" &&
                   replayed(limited) == "kurz"
               ? 0
               : 1;
  });
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace lastora::files
