// The forms a run with default names or a plain name from the settings meets are held by the
// generation run's tests; these are the ones it does not meet.
#include "generation/file_names.h"

#include <gtest/gtest.h>

namespace lastora::generation {
namespace {

TEST(FileNames, EdgesOfExtensionsAndFolders) {
  EXPECT_EQ(CompanionBase("ZAHLUNG.x"), "ZAHLUNG.x");
  EXPECT_EQ(CompanionBase("Übertrag.xml"), "Übertrag");
  EXPECT_EQ(ReadableDtausName("dta.dat"), "dta (mit Umbruch).dat");
  EXPECT_EQ(WithoutFolder("/home/verein/a.xml"), "a.xml");
  EXPECT_EQ(WithoutFolder("C:\\Verein\\"), "");
}

}  // namespace
}  // namespace lastora::generation
