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
  ScopedEnv unset("LASTORA_HOME", std::optional<std::string>(""));
  EXPECT_EQ(GetAppPath(), std::filesystem::read_symlink("/proc/self/exe").parent_path().string());
  ScopedEnv home("LASTORA_HOME", "/srv/verein/");
  EXPECT_EQ(GetAppPath(), "/srv/verein");
  EXPECT_EQ(detail::StripDllFolders("C:\\DLL\\Kasse\\DLL"), "C:\\Kasse");
  // A leading parent folder means the program folder.
  EXPECT_EQ(ResolveAppRelative("..\\Vorlagen\\a.txt"), "/srv/verein\\Vorlagen\\a.txt");
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

  std::string LogFile() const { return folder_.File("Logdateien/log_20131231.txt"); }

  ScopedTempDir folder_;
  ScopedEnv home_;
  testing::ScopedTestPlatform platform_;
};

// Found any way they are written; a missing file is false without a log line, a missing folder
// is logged.
TEST_F(FileSystemTest, FilesAreFoundAndReadAndOnlyAMissingFolderIsLogged) {
  std::filesystem::create_directory(folder_.path() / u8"Beiträge");
  EXPECT_TRUE(PathExists(Variant(folder_.path().string() + "\\Beiträge")));
  EXPECT_TRUE(FileExists("../Vorlagen/t.txt"));
  EXPECT_FALSE(FileExists(folder_.path().string() + "\\Vorlagen\\"));
  EXPECT_TRUE(CheckPathAndFile(folder_.path().string() + "\\Vorlagen\\t.txt", "11110", "nie"));
  EXPECT_FALSE(CheckPathAndFile("..\\Vorlagen\\fehlt.txt", "11110", "Datei fehlt"));
  EXPECT_FALSE(std::filesystem::exists(LogFile()));
  EXPECT_FALSE(CheckPathAndFile("..\\Weg\\fehlt.txt", "11110", "Ordner fehlt"));
  EXPECT_FALSE(CheckPathAndFile("..\\Weg\\", "", "nicht geloggt"));
  EXPECT_EQ(ReadBytes(LogFile()), "31.12.2013;08:00:00;Ordner fehlt\r\n");
  // Switches that ask for the dialog show it as an error.
  EXPECT_FALSE(CheckPathAndFile("..\\Weg\\a.txt", "----1", "Ordner fehlt"));
  ASSERT_EQ(platform_.dialogs().shown.size(), 1u);
  EXPECT_EQ(platform_.dialogs().shown[0].style, 16);

  // Reading lines keeps the last line and decodes 8-bit text.
  WriteBytes(folder_.File("Vorlagen/verw.txt"), "Beitrag \xE4\r\nGID <<GID>>\nletzte");
  VariantArray lines;
  ReadFileLines(lines, "..\\Vorlagen\\verw.txt", 10);
  ASSERT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines.At(1), Variant("Beitrag ä\r"));
  EXPECT_EQ(lines.At(3), Variant("letzte"));
  // A missing file is created empty; a missing folder is an error.
  ReadFileLines(lines, "..\\Vorlagen\\neu.txt", 10);
  EXPECT_TRUE(std::filesystem::is_regular_file(folder_.path() / "Vorlagen" / "neu.txt"));
  EXPECT_EQ(testing::ErrorOf([&] { ReadFileLines(lines, "..\\Weg\\neu.txt", 10); }), 76);
}

}  // namespace
}  // namespace lastora
