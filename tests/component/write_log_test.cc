#include "component/write_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

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

  std::string LogFile(const std::string& name) const {
    return (program_folder_.path() / "Logdateien" / name).string();
  }
  std::string TodaysLog() const { return ReadBytes(LogFile("log_20131231.txt")); }
  // Writes one stamped line to the file only.
  void Log(const std::string& message, const std::string& extra_fields = "") {
    EXPECT_EQ(WriteLog("1111-", 1, "", message, "", "", extra_fields), Variant(true));
  }
  const std::vector<testing::ScriptedDialogs::Shown>& Shown() { return platform_.dialogs().shown; }

  testing::ScopedTempDir program_folder_;
  testing::ScopedEnv home_;
  testing::ScopedTestPlatform platform_;
};

TEST_F(WriteLogTest, LineIsStampedWindows1252WithCrLf) {
  Log("Übertrag; fertig");
  EXPECT_EQ(TodaysLog(),
            "31.12.2013;10:20:30;\xDC"
            "bertrag; fertig\r\n");
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(LogFilePath(), LogFile("log_20131231.txt"));
}

TEST_F(WriteLogTest, CatalogueNumbersStandForTheirTexts) {
  Log("63");
  Log("149");
  EXPECT_EQ(TodaysLog(),
            "31.12.2013;10:20:30;BIC konnte nicht ermittelt werden\r\n"
            "31.12.2013;10:20:30;Der aktuelle Datensatz wurde ge\xE4ndert! Weiter OHNE "
            "Anspeichern?\r\n");
  for (const char* outside : {"0", "201", "-3"}) {
    EXPECT_EQ(ErrorOf([&] { WriteLog("1111-", 1, "", outside, "", "", ""); }), 9) << outside;
  }
}

// Line breaks become blanks and doubled blanks are halved, so each message stays one line.
TEST_F(WriteLogTest, OneLinePerMessageWithSuffixAndExtraFieldsAfterIt) {
  Log("a\r\nb\rc\nd    e");
  EXPECT_EQ(WriteLog("1111-", 1, "", "Datei: ", "", "x.txt", "a;b"), Variant(true));
  Log("leer", ";");
  Log("eins", "nur");
  EXPECT_EQ(TodaysLog(),
            "31.12.2013;10:20:30;a b c d  e\r\n"
            "31.12.2013;10:20:30;Datei: x.txt;a;b\r\n"
            "31.12.2013;10:20:30;leer;;\r\n"
            "31.12.2013;10:20:30;eins;nur\r\n");
}

TEST_F(WriteLogTest, StampModes) {
  for (int16_t mode : {1, 2, 3, 0, 7}) WriteLog("0001", mode, "", "m", "", "", "");
  EXPECT_EQ(TodaysLog(),
            "31.12.2013;10:20:30;m\r\n"
            "31.12.13;10:20:30;m\r\n"
            "10:20:30;m\r\n"
            ";m\r\n"
            ";m\r\n");
  EXPECT_TRUE(Shown().empty());
}

TEST_F(WriteLogTest, ThreadKeepsTheFileOfItsFirstWritePastMidnight) {
  platform_.clock().Set(MakeDate(2013, 12, 31) + MakeTime(23, 59, 59));
  Log("vorher");
  platform_.clock().Set(MakeDate(2014, 1, 1) + MakeTime(0, 0, 1));
  Log("nachher");
  EXPECT_EQ(TodaysLog(),
            "31.12.2013;23:59:59;vorher\r\n"
            "01.01.2014;00:00:01;nachher\r\n");

  std::thread fresh_thread([&] { Log("neuer Tag"); });
  fresh_thread.join();
  EXPECT_EQ(ReadBytes(LogFile("log_20140101.txt")), "01.01.2014;00:00:01;neuer Tag\r\n");
}

TEST_F(WriteLogTest, MissingLogFolderSuppressesOnlyTheLine) {
  std::filesystem::remove(program_folder_.path() / "Logdateien");
  EXPECT_EQ(WriteLog("11111", 1, "", "Hinweistext", "Hinweis", "", ""), Variant(true));
  EXPECT_FALSE(std::filesystem::exists(program_folder_.path() / "Logdateien"));
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].prompt, "Hinweistext");
}

TEST_F(WriteLogTest, SwitchesOffOnlyLoadTheCatalogue) {
  EXPECT_EQ(WriteLog("11000", 1, "", "51", "", "", ""), Variant(true));
  EXPECT_EQ(WriteLog("", 1, "", "Schritt", "Hinweis", "", ""), Variant(true));
  EXPECT_FALSE(std::filesystem::exists(LogFile("log_20131231.txt")));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(WriteLogTest, MessageBoxesByKind) {
  struct Case {
    std::string kind;
    int style;
    std::string title;
  };
  const Case cases[] = {
      {"Hinweis", 64, std::string("Hinweis") + kTitleSuffix},
      {"Fehler", 16, std::string("Fehler") + kTitleSuffix},
      {"Warnung", 48, std::string("Warnung") + kTitleSuffix},
      {"irgendwas", 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WriteLog("----1", 1, "", "149", c.kind, " (1)", ""), Variant(true)) << c.kind;
    ASSERT_FALSE(Shown().empty());
    EXPECT_EQ(Shown().back().style, c.style) << c.kind;
    EXPECT_EQ(Shown().back().title, c.title) << c.kind;
    // The dialog keeps the line breaks that the log line folds.
    EXPECT_EQ(Shown().back().prompt,
              "Der aktuelle Datensatz wurde geändert!\r\n\r\nWeiter OHNE Anspeichern? (1)");
  }
  EXPECT_FALSE(std::filesystem::exists(LogFile("log_20131231.txt")));
}

TEST_F(WriteLogTest, QuestionsReturnTheButtonPressed) {
  platform_.dialogs().button_answers = {kVbYes, kVbNo, kVbNo};
  EXPECT_EQ(CLng(WriteLog("----1", 1, "", "Weiter?", "vbYesNo", "", "")), 6);
  EXPECT_EQ(CLng(WriteLog("----1", 1, "", "Weiter?", "vbYesNo", "", "")), 7);
  EXPECT_EQ(CLng(WriteLog("----1", 1, "", "Hilfe?", "HilfeButton", "", "")), 7);
  ASSERT_EQ(Shown().size(), 3u);
  EXPECT_EQ(Shown()[0].style, 36);
  EXPECT_EQ(Shown()[0].title, std::string("Frage") + kTitleSuffix);
  EXPECT_EQ(Shown()[2].style, 16388);
  EXPECT_EQ(Shown()[2].title, std::string("Frage") + kTitleSuffix);
}

TEST_F(WriteLogTest, InputBoxOffersTheSuffixAndReturnsTheAnswer) {
  platform_.dialogs().text_answers = {"Meier", ""};
  EXPECT_EQ(WriteLog("----1", 1, "", "Name: ", "InputBox", "x", ""), Variant("Meier"));
  EXPECT_EQ(WriteLog("----1", 1, "", "Name: ", "InputBox", "x", ""), Variant(""));
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_TRUE(Shown()[0].input_box);
  EXPECT_EQ(Shown()[0].prompt, "Name: x");
  EXPECT_EQ(Shown()[0].default_text, "x");
  EXPECT_EQ(Shown()[0].title, "Lastora V2.13.09.01");
}

}  // namespace
}  // namespace lastora
