#include "core/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/error_of.h"

namespace lastora::files {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;

// A fresh folder per test, removed afterwards.
class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              ("lastora_files_" + std::to_string(getpid()) + "_" + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder_);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder_;
};

TEST_F(FilesTest, WriteWholeCreatesAndReplaces) {
  const std::string path = PathOf("liste.txt");
  WriteWhole(path, "erste Fassung\r\n");
  EXPECT_EQ(ReadWhole(path), "erste Fassung\r\n");
  WriteWhole(path, "zweite");
  EXPECT_EQ(ReadWhole(path), "zweite");
  WriteWhole(path, "");
  EXPECT_EQ(ReadWhole(path), "");
  EXPECT_EQ(Names(), std::vector<std::string>{"liste.txt"});
}

TEST_F(FilesTest, BytesSurviveUnchanged) {
  std::string all;
  for (int round = 0; round < 300; ++round) {
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  }
  const std::string path = PathOf("binary.dta");
  WriteWhole(path, all);
  EXPECT_EQ(ReadWhole(path), all);
}

TEST_F(FilesTest, WindowsSeparatorsAreAccepted) {
  fs::create_directories(folder_ / "Logdateien");
  std::string windows_path = folder_.string() + "\\Logdateien\\log.txt";
  WriteWhole(windows_path, "x");
  EXPECT_EQ(ReadWhole((folder_ / "Logdateien" / "log.txt").string()), "x");
  EXPECT_EQ(NativePath("..\\Vorlagen\\a b.txt"), "../Vorlagen/a b.txt");
  EXPECT_EQ(NativePath("/schon/richtig"), "/schon/richtig");
}

TEST_F(FilesTest, TargetThatIsAFolderIsLeftAlone) {
  fs::create_directories(folder_ / "ordner" / "inhalt");
  EXPECT_EQ(ErrorOf([&] { WriteWhole(PathOf("ordner"), "x"); }), 75);
  EXPECT_TRUE(fs::is_directory(folder_ / "ordner" / "inhalt"));
  EXPECT_EQ(Names(), std::vector<std::string>{"ordner"});  // no temporary file left behind
}

TEST_F(FilesTest, MissingFolder) {
  EXPECT_EQ(ErrorOf([&] { WriteWhole(PathOf("fehlt/datei.txt"), "x"); }), 76);
  EXPECT_EQ(ErrorOf([&] { Append(PathOf("fehlt/log.txt"), "x"); }), 76);
  EXPECT_EQ(ErrorOf([&] { ReadWhole(PathOf("fehlt/datei.txt")); }), 53);
  EXPECT_TRUE(Names().empty());
}

TEST_F(FilesTest, ReadingFailures) {
  EXPECT_EQ(ErrorOf([&] { ReadWhole(PathOf("gibtsnicht.txt")); }), 53);
  EXPECT_EQ(ErrorOf([&] { ReadWhole(folder_.string()); }), 75);
}

TEST_F(FilesTest, UnwritableFolderKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  const std::string path = PathOf("liste.txt");
  WriteWhole(path, "gut");
  fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(ErrorOf([&] { WriteWhole(path, "neu"); }), 70);
  EXPECT_EQ(ErrorOf([&] { Append(path, "neu"); }), 70);
  EXPECT_EQ(ReadWhole(path), "gut");
}

TEST_F(FilesTest, AppendCreatesThenAppends) {
  const std::string path = PathOf("log_20131001.txt");
  Append(path, "eins\r\n");
  Append(path, "zwei\r\n");
  EXPECT_EQ(ReadWhole(path), "eins\r\nzwei\r\n");
}

}  // namespace
}  // namespace lastora::files
