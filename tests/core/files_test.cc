#include "core/files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/vb_error_number.h"

namespace lastora::files {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;
using testing::ReadBytes;
using testing::WriteBytes;

class FilesTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return dir_.File(name); }

  // What the folder holds: a failed write must not leave a temporary file behind.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

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

TEST_F(FilesTest, WriterReplacesOnlyOnCommit) {
  const std::string path = PathOf("SEPA_2013-10-01_FRST.xml");
  WriteBytes(path, "alte Datei");
  {
    FileWriter writer(path);
    writer.Write(std::string(100000, 'x'));
    // Until the commit the old file is what a reader sees.
    EXPECT_EQ(ReadBytes(path), "alte Datei");
    writer.Commit();
  }
  EXPECT_EQ(ReadBytes(path), std::string(100000, 'x'));
  EXPECT_EQ(Names(), std::vector<std::string>{"SEPA_2013-10-01_FRST.xml"});
}

TEST_F(FilesTest, WindowsSeparatorsAndUmlautsInNamesAreAccepted) {
  fs::create_directories(dir_.path() / "Beiträge");
  WriteWhole(dir_.path().string() + "\\Beiträge\\Begleitzettel_März_€.txt", "x");
  EXPECT_EQ(ReadWhole(dir_.path().string() + "\\Beiträge\\Begleitzettel_März_€.txt"), "x");
  EXPECT_EQ(NativePath("..\\Vorlagen\\a b.txt"), "../Vorlagen/a b.txt");
}

TEST_F(FilesTest, ReplacingKeepsPermissionsAndLinks) {
  fs::create_directories(dir_.path() / "echt");
  const std::string real = (dir_.path() / "echt" / "liste.txt").string();
  WriteBytes(real, "alt");
  const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_write;
  fs::permissions(real, shared);
  fs::create_symlink(real, dir_.path() / "verweis.txt");
  WriteWhole(PathOf("verweis.txt"), "neu");
  EXPECT_TRUE(fs::is_symlink(dir_.path() / "verweis.txt"));
  EXPECT_EQ(ReadBytes(real), "neu");
  EXPECT_EQ(fs::status(real).permissions(), shared);
}

TEST_F(FilesTest, MissingFolderOrFile) {
  EXPECT_EQ(ErrorOf([&] { WriteWhole(PathOf("fehlt/datei.txt"), "x"); }), 76);
  EXPECT_EQ(ErrorOf([&] { FileWriter writer(PathOf("fehlt/datei.txt")); }), 76);
  EXPECT_EQ(ErrorOf([&] { ReadWhole(PathOf("gibtsnicht.txt")); }), 53);
}

// Files may grow to `bytes` only while this lives: a write beyond fails as on a full disk, and
// unlike folder permissions this binds the superuser too.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~ScopedFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_handler_);
  }

 private:
  rlimit saved_{};
  void (*previous_handler_)(int) = nullptr;
};

TEST_F(FilesTest, WriteFailingHalfwayKeepsTheOldFile) {
  const std::string path = PathOf("zahlungen.xml");
  WriteWhole(path, "gut");
  const std::string big(1 << 20, 'x');
  {
    ScopedFileSizeLimit limit(4096);
    EXPECT_EQ(ErrorOf([&] { WriteWhole(path, big); }), 75);
  }
  EXPECT_EQ(ReadBytes(path), "gut");
  EXPECT_EQ(Names(), std::vector<std::string>{"zahlungen.xml"});
}

}  // namespace
}  // namespace lastora::files
