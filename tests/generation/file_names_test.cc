#include "generation/file_names.h"

#include <gtest/gtest.h>

namespace lastora::generation {
namespace {

TEST(FileNames, CompanionsDropAThreeOrFourLetterExtension) {
  EXPECT_EQ(CompanionBase("SEPA_2013-10-01_FRST.xml"), "SEPA_2013-10-01_FRST");
  EXPECT_EQ(CompanionBase("ZAHLUNG.html"), "ZAHLUNG");
  EXPECT_EQ(CompanionBase("ZAHLUNG"), "ZAHLUNG");
  EXPECT_EQ(CompanionBase("ZAHLUNG.x"), "ZAHLUNG.x");
  EXPECT_EQ(CompanionBase("Übertrag.xml"), "Übertrag");
}

TEST(FileNames, DtausFilesWithAndWithoutLineBreaks) {
  EXPECT_EQ(ReadableDtausName("DTAUS_2013-10-01_FRST.txt"),
            "DTAUS_2013-10-01_FRST (mit Umbruch).txt");
  EXPECT_EQ(TransferDtausName("DTAUS_2013-10-01_FRST.txt"), "DTAUS_2013-10-01_FRST.txt");
  EXPECT_EQ(ReadableDtausName("ZAHLUNG"), "ZAHLUNG (mit Umbruch).txt");
  EXPECT_EQ(TransferDtausName("ZAHLUNG"), "ZAHLUNG.txt");
  EXPECT_EQ(ReadableDtausName("dta.dat"), "dta (mit Umbruch).dat");
}

TEST(FileNames, FolderPartsAreDropped) {
  EXPECT_EQ(WithoutFolder("C:\\Verein\\Lastschrift.xml"), "Lastschrift.xml");
  EXPECT_EQ(WithoutFolder("/home/verein/a.xml"), "a.xml");
  EXPECT_EQ(WithoutFolder("a.xml"), "a.xml");
  EXPECT_EQ(WithoutFolder("C:\\Verein\\"), "");
}

}  // namespace
}  // namespace lastora::generation
