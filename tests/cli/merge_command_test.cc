// The demo club through the program: its bank files and, by the merge command's own path, its
// letters.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/lastora_runner.h"
#include "support/temp_dir.h"

namespace lastora::cli {
namespace {

namespace fs = std::filesystem;
using ::lastora::testing::ScopedTempDir;
using testing::Contains;
using testing::Lastora;

// One demo run serves both halves: the bank files and the letters.
TEST(MergeCommandTest, DemoWritesCheckedBankFilesAndLetters) {
  ScopedTempDir dir;
  const std::string club = dir.File("verein");
  const testing::Ran ran = Lastora({"demo", club});
  ASSERT_EQ(ran.status, 0) << ran.out << ran.err;
  EXPECT_TRUE(Contains(ran.out, "Prüfung SEPA: ok"));
  // The first member's letter too, named after her by the definition's fields.
  EXPECT_TRUE(fs::exists(club + "/Briefe/Beitrag_1_Karin Albers.docx"));
  // The thirty notices and the label sheet saved, one mail per notice.
  EXPECT_TRUE(Contains(
      ran.out,
      "Seriendruck ok: Anzahl Dokumente: 0 gedruckt, 31 gespeichert, 30 Mailvorlagen angelegt"));
}

}  // namespace
}  // namespace lastora::cli
