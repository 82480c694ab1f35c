#include "program_home.h"

#include <gtest/gtest.h>

namespace lastora::cli {
namespace {

// An installed program cannot write beside itself; a program folder or build tree can.
TEST(ProgramHomeTest, OnlyAnInstalledProgramMovesItsFilesToTheUsersDataFolder) {
  EXPECT_EQ(InstalledProgramHome("/usr/bin/lastora", nullptr, "/home/kasse"),
            "/home/kasse/.local/share/lastora");
  EXPECT_EQ(InstalledProgramHome("/usr/local/bin/lastora", "/daten", "/home/kasse"),
            "/daten/lastora");
  EXPECT_EQ(InstalledProgramHome("/home/kasse/Lastora/lastora", nullptr, "/home/kasse"), "");
  EXPECT_EQ(InstalledProgramHome("/work/build/src/cli/lastora", "/daten", "/home/kasse"), "");
}

}  // namespace
}  // namespace lastora::cli
