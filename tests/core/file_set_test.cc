// The files of one run, committed together or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/files.h"
#include "support/temp_dir.h"
#include "support/vb_error_number.h"

namespace lastora::files {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;
using testing::ReadBytes;
using testing::WriteBytes;

class FileSetTest : public ::testing::Test {
 protected:
  FileSetTest() {
    // The previous run's complete set.
    WriteBytes(PathOf("FRST.xml"), "alt FRST");
    WriteBytes(PathOf("RCUR.xml"), "alt RCUR");
  }

  std::string PathOf(const std::string& name) const { return dir_.File(name); }

  std::vector<std::string> Names() const { return testing::FileNamesIn(dir_.path()); }

  // Adds each file to the set with its new bytes.
  void Stage(FileSet& set, std::initializer_list<std::pair<const char*, const char*>> files) const {
    for (const auto& [name, bytes] : files) set.Add(PathOf(name)).Write(bytes);
  }

  void ExpectPreviousSet() const {
    EXPECT_EQ(ReadBytes(PathOf("FRST.xml")), "alt FRST");
    EXPECT_EQ(ReadBytes(PathOf("RCUR.xml")), "alt RCUR");
  }

  testing::ScopedTempDir dir_;
};

TEST_F(FileSetTest, NothingChangesBeforeCommitOrWithoutIt) {
  {
    FileSet set;
    Stage(set, {{"FRST.xml", "neu FRST"}, {"RCUR.xml", "neu RCUR"}});
    ExpectPreviousSet();
    // Destroyed without Commit, as by a failed run.
  }
  ExpectPreviousSet();
  EXPECT_EQ(Names(), (std::vector<std::string>{"FRST.xml", "RCUR.xml"}));

  FileSet set;
  Stage(set, {{"FRST.xml", "neu FRST"}, {"RCUR.xml", "neu RCUR"}, {"Liste.csv", "neu Liste"}});
  set.Commit();
  EXPECT_EQ(ReadBytes(PathOf("FRST.xml")), "neu FRST");
  EXPECT_EQ(ReadBytes(PathOf("RCUR.xml")), "neu RCUR");
  EXPECT_EQ(Names(), (std::vector<std::string>{"FRST.xml", "Liste.csv", "RCUR.xml"}));
}

TEST_F(FileSetTest, ARenameThatFailsPutsBackTheRenamesBeforeIt) {
  FileSet set;
  Stage(set, {{"FRST.xml", "neu FRST"},
              {"RCUR.xml", "neu RCUR"},
              {"neu.xml", "ganz neu"},
              {"Ordner.xml", "kann nicht"}});
  // A folder where the last member goes: its rename fails after the others succeeded.
  fs::create_directory(PathOf("Ordner.xml"));
  EXPECT_EQ(ErrorOf([&] { set.Commit(); }), 75);
  ExpectPreviousSet();
  EXPECT_EQ(Names(), (std::vector<std::string>{"FRST.xml", "Ordner.xml", "RCUR.xml"}));
}

// Code that commits file by file (the generation run) becomes one set for its caller, which
// may read each file, whole, as soon as it joins.
TEST_F(FileSetTest, CommitsUnderACollectorWaitForTheSet) {
  FileSet set;
  std::vector<std::string> announced;
  set.WhenMemberFinished([&](const std::string& target, const std::string& pending) {
    announced.push_back(fs::path(target).filename().string() + ": " + ReadBytes(pending));
  });
  {
    const CollectCommits collect(set);
    WriteWhole(PathOf("FRST.xml"), "neu FRST");
    FileWriter writer(PathOf("RCUR.xml"));
    writer.Write("neu RCUR");
    writer.Commit();
    ExpectPreviousSet();
    EXPECT_EQ(ReadBytes(PendingPath(PathOf("RCUR.xml"))), "neu RCUR");
  }
  EXPECT_EQ(announced, (std::vector<std::string>{"FRST.xml: neu FRST", "RCUR.xml: neu RCUR"}));
  EXPECT_EQ(PendingPath(PathOf("RCUR.xml")), PathOf("RCUR.xml"));
  EXPECT_EQ(ReadBytes(set.PendingPath(PathOf("FRST.xml"))), "neu FRST");
  ExpectPreviousSet();
  set.Commit();
  EXPECT_EQ(set.placed(), (std::vector<std::string>{NativePath(PathOf("FRST.xml")),
                                                    NativePath(PathOf("RCUR.xml"))}));
  EXPECT_EQ(ReadBytes(PathOf("FRST.xml")), "neu FRST");
  EXPECT_EQ(ReadBytes(PathOf("RCUR.xml")), "neu RCUR");
  EXPECT_EQ(Names(), (std::vector<std::string>{"FRST.xml", "RCUR.xml"}));
}

}  // namespace
}  // namespace lastora::files
