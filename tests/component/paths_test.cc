#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "component/helpers.h"
#include "component/write_log.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ReadBytes;
using testing::ScopedEnv;
using testing::ScopedTempDir;
using testing::WriteBytes;

TEST(GetAppPath, IsTheComponentsFolderUnlessLastoraHomeIsSet) {
  // The tests link the library statically, so the component lies in the test program.
  const std::string program_folder =
      std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
  for (const std::optional<std::string>& unset : {std::optional<std::string>(), {""}}) {
    ScopedEnv home("LASTORA_HOME", unset);
    EXPECT_EQ(GetAppPath(), program_folder);
  }
  ScopedEnv home("LASTORA_HOME", "/srv/verein/");
  EXPECT_EQ(GetAppPath(), "/srv/verein");
}

TEST(GetAppPath, EveryDllFolderIsRemoved) {
  EXPECT_EQ(detail::StripDllFolders("C:\\Verein\\DLL"), "C:\\Verein");
  EXPECT_EQ(detail::StripDllFolders("/opt/verein/DLL"), "/opt/verein");
  EXPECT_EQ(detail::StripDllFolders("C:\\DLL\\Kasse\\DLL"), "C:\\Kasse");
  EXPECT_EQ(detail::StripDllFolders("C:\\Verein\\dll"), "C:\\Verein\\dll");
}

TEST(PathParts, SplitAtTheLastSeparatorOfEitherKind) {
  EXPECT_EQ(FolderPart("C:\\a\\b.txt"), "C:\\a\\");
  EXPECT_EQ(FileNamePart("C:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(FolderPart("/a/b\\c.txt"), "/a/b\\");
  EXPECT_EQ(FileNamePart("/a/b\\c.txt"), "c.txt");
  EXPECT_EQ(FolderPart("b.txt"), "b.txt");
  EXPECT_EQ(FileNamePart("b.txt"), "b.txt");
  EXPECT_EQ(FileNamePart("C:\\a\\"), "");

  EXPECT_EQ(TextBeforeLast("SEPA.2013.xml", ""), "SEPA.2013");
  EXPECT_EQ(TextAfterLast("SEPA.2013.xml", ""), "xml");
  EXPECT_EQ(TextBeforeLast("Lastschrift_FRST_1", "_"), "Lastschrift_FRST");
  EXPECT_EQ(TextAfterLast("Lastschrift_FRST_1", "_"), "1");
  EXPECT_EQ(TextBeforeLast("ohne", "_"), "ohne");
  EXPECT_EQ(TextAfterLast("ohne", "_"), "ohne");
}

TEST(PathParts, LeadingParentMeansTheProgramFolder) {
  ScopedEnv home("LASTORA_HOME", "/srv/verein");
  EXPECT_EQ(ResolveAppRelative("..\\Vorlagen\\a.txt"), "/srv/verein\\Vorlagen\\a.txt");
  EXPECT_EQ(ResolveAppRelative("../Vorlagen/a.txt"), "/srv/verein/Vorlagen/a.txt");
  EXPECT_EQ(ResolveAppRelative("..Vorlagen"), "..Vorlagen");
  EXPECT_EQ(ResolveAppRelative("C:\\..\\a.txt"), "C:\\..\\a.txt");
}

class FileSystemTest : public ::testing::Test {
 protected:
  FileSystemTest()
      : home_("LASTORA_HOME", folder_.path().string()),
        platform_(MakeDate(2013, 12, 31) + MakeTime(8, 0, 0)) {
    std::filesystem::create_directories(folder_.path() / "Vorlagen");
    std::filesystem::create_directories(folder_.path() / "Logdateien");
    WriteBytes(folder_.File("Vorlagen/t.txt"), "x");
    strLogName().clear();
  }
  ~FileSystemTest() override { strLogName().clear(); }

  // The path as the system writes it, with backslashes.
  std::string Windows(const std::string& relative) const {
    std::string path = folder_.path().string() + "\\" + relative;
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    return path;
  }
  std::string Log() const { return ReadBytes(folder_.File("Logdateien/log_20131231.txt")); }

  ScopedTempDir folder_;
  ScopedEnv home_;
  testing::ScopedTestPlatform platform_;
};

TEST_F(FileSystemTest, ExistenceOfFilesAndFolders) {
  EXPECT_TRUE(PathExists(Variant(Windows("Vorlagen"))));
  EXPECT_TRUE(PathExists(Variant(Windows("Vorlagen\\t.txt"))));
  EXPECT_TRUE(PathExists(Variant("..\\Vorlagen\\")));
  EXPECT_FALSE(PathExists(Variant(Windows("Fehlt"))));
  EXPECT_FALSE(PathExists(Variant("")));
  EXPECT_FALSE(PathExists(Variant::Null()));
  std::filesystem::create_directory(folder_.path() / "Beiträge");
  EXPECT_TRUE(PathExists(Variant(Windows("Beiträge"))));

  EXPECT_TRUE(FileExists(Windows("Vorlagen\\t.txt")));
  EXPECT_TRUE(FileExists("../Vorlagen/t.txt"));
  EXPECT_FALSE(FileExists(Windows("Vorlagen")));
  EXPECT_FALSE(FileExists(Windows("Vorlagen\\")));
  EXPECT_FALSE(FileExists(Windows("Vorlagen\\u.txt")));
  EXPECT_FALSE(FileExists(""));
}

TEST_F(FileSystemTest, CheckPathAndFileFindsFilesAndFoldersAnyWayTheyAreWritten) {
  EXPECT_TRUE(CheckPathAndFile(Windows("Vorlagen\\t.txt"), "11110", "nie"));
  EXPECT_TRUE(CheckPathAndFile("..\\Vorlagen\\t.txt", "11110", "nie"));
  EXPECT_TRUE(CheckPathAndFile("../Vorlagen/t.txt", "11110", "nie"));
  EXPECT_TRUE(CheckPathAndFile("..\\Vorlagen\\", "11110", "nie"));
  EXPECT_FALSE(std::filesystem::exists(folder_.File("Logdateien/log_20131231.txt")));
}

TEST_F(FileSystemTest, MissingFileIsFalseWithoutLogButMissingFolderIsLogged) {
  EXPECT_FALSE(CheckPathAndFile("..\\Vorlagen\\fehlt.txt", "11110", "Datei fehlt"));
  EXPECT_FALSE(std::filesystem::exists(folder_.File("Logdateien/log_20131231.txt")));

  EXPECT_FALSE(CheckPathAndFile("..\\Weg\\fehlt.txt", "11110", "Ordner fehlt"));
  EXPECT_FALSE(CheckPathAndFile("..\\Weg\\", "11110", "Ordner auch"));
  EXPECT_FALSE(CheckPathAndFile("..\\Weg\\", "", "nicht geloggt"));
  EXPECT_EQ(Log(), "31.12.2013;08:00:00;Ordner fehlt\r\n31.12.2013;08:00:00;Ordner auch\r\n");
  EXPECT_TRUE(platform_.dialogs().shown.empty());

  // Switches that ask for the dialog show it as an error.
  EXPECT_FALSE(CheckPathAndFile("..\\Weg\\a.txt", "----1", "Ordner fehlt"));
  ASSERT_EQ(platform_.dialogs().shown.size(), 1u);
  EXPECT_EQ(platform_.dialogs().shown[0].style, 16);
}

TEST_F(FileSystemTest, ReadFileLinesSplitsAtLineFeedsAndDecodes8BitText) {
  WriteBytes(folder_.File("Vorlagen/verw.txt"), "Beitrag \xE4\r\nGID <<GID>>\nletzte");
  VariantArray lines;
  ReadFileLines(lines, "..\\Vorlagen\\verw.txt", 10);
  ASSERT_EQ(lines.Lower(), 1);
  ASSERT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines.At(1), Variant("Beitrag ä\r"));
  EXPECT_EQ(lines.At(2), Variant("GID <<GID>>"));
  EXPECT_EQ(lines.At(3), Variant("letzte"));

  ReadFileLines(lines, Windows("Vorlagen\\verw.txt"), 2);
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.At(2), Variant("GID <<GID>>"));
}

TEST_F(FileSystemTest, ReadFileLinesOfAMissingFileCreatesItEmpty) {
  VariantArray lines;
  ReadFileLines(lines, "..\\Vorlagen\\neu.txt", 10);
  ASSERT_EQ(lines.Count(), 1);
  EXPECT_EQ(lines.At(1), Variant(""));
  EXPECT_TRUE(std::filesystem::is_regular_file(folder_.path() / "Vorlagen" / "neu.txt"));
  EXPECT_EQ(testing::ErrorOf([&] { ReadFileLines(lines, "..\\Weg\\neu.txt", 10); }), 76);
}

}  // namespace
}  // namespace lastora
