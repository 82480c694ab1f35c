#include "component/write_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "lastora/platform.h"
#include "lastora/variant.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ErrorOf;
using testing::ReadBytes;

const double kNewYearsEve = MakeDate(2013, 12, 31) + MakeTime(10, 20, 30);
constexpr char kTitleSuffix[] = " - Lastora V2.13.09.01";

// A program folder with its log folder, a fixed clock and scripted dialogs.
class WriteLogTest : public ::testing::Test {
 protected:
  WriteLogTest() : home_("LASTORA_HOME", program_folder_.path().string()), platform_(kNewYearsEve) {
    std::filesystem::create_directory(program_folder_.path() / "Logdateien");
    strLogName().clear();
  }
  ~WriteLogTest() override { strLogName().clear(); }

  // Writes one stamped line to the file only.
  void Log(const std::string& message, const std::string& extra_fields = "") {
    EXPECT_EQ(WriteLog("1111-", 1, "", message, "", "", extra_fields), Variant(true));
  }
  const std::vector<testing::ScriptedDialogs::Shown>& Shown() { return platform_.dialogs().shown; }

  testing::ScopedTempDir program_folder_;
  testing::ScopedEnv home_;
  testing::ScopedTestPlatform platform_;
};

// Catalogue numbers stand for their texts; line breaks become blanks and doubled blanks are
// halved, so each message stays one line, with the suffix and extra fields after it.
TEST_F(WriteLogTest, OneStampedWindows1252LinePerMessageAndDialogsWithoutTheFolder) {
  Log("Übertrag; 63");
  Log("63");
  Log("a\r\nb\rc\nd    e");
  EXPECT_EQ(WriteLog("1111-", 1, "", "Datei: ", "", "x.txt", "a;b"), Variant(true));
  EXPECT_EQ(ReadBytes(program_folder_.File("Logdateien/log_20131231.txt")),
            "31.12.2013;10:20:30;\334bertrag; 63\r\n"
            "31.12.2013;10:20:30;BIC konnte nicht ermittelt werden\r\n"
            "31.12.2013;10:20:30;a b c d  e\r\n"
            "31.12.2013;10:20:30;Datei: x.txt;a;b\r\n");
  EXPECT_EQ(ErrorOf([] { WriteLog("1111-", 1, "", "201", "", "", ""); }), 9);

  // A missing log folder suppresses only the line, not the dialogs and their answers.
  std::filesystem::remove_all(program_folder_.path() / "Logdateien");
  EXPECT_EQ(WriteLog("11111", 1, "", "149", "Fehler", " (1)", ""), Variant(true));
  EXPECT_FALSE(std::filesystem::exists(program_folder_.path() / "Logdateien"));
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].style, 16);
  EXPECT_EQ(Shown()[0].title, std::string("Fehler") + kTitleSuffix);
  // The dialog keeps the line breaks that the log line folds.
  EXPECT_EQ(Shown()[0].prompt,
            "Der aktuelle Datensatz wurde geändert!\r\n\r\nWeiter OHNE Anspeichern? (1)");

  // Questions and the input box return the answer.
  platform_.dialogs().button_answers = {kVbNo};
  platform_.dialogs().text_answers = {"Meier"};
  EXPECT_EQ(CLng(WriteLog("----1", 1, "", "Weiter?", "vbYesNo", "", "")), 7);
  EXPECT_EQ(WriteLog("----1", 1, "", "Name: ", "InputBox", "x", ""), Variant("Meier"));
  ASSERT_EQ(Shown().size(), 3u);
  EXPECT_EQ(Shown()[1].style, 36);
  EXPECT_EQ(Shown()[1].title, std::string("Frage") + kTitleSuffix);
  EXPECT_EQ(Shown()[2].prompt, "Name: x");
}

}  // namespace
}  // namespace lastora
