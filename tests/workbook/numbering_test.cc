#include "lastora/numbering.h"

#include <gtest/gtest.h>

#include "lastora/variant.h"

namespace lastora {
namespace {

constexpr char kSepaCharacters[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 +?/-:().,'";

// File identifiers are derived only where the settings leave them empty ("-" means: no second
// file); an odd identifier setting is cleaned, cut to fit and reported. A file made again later
// the same day gets new identifiers: the bank refuses a message identifier it has seen.
TEST(NumberingTest, FileIdentifiersAreCleanedCutAndNeverRepeatWithinTheDay) {
  const double morning = CDate(Variant("02.03.2026 09:30:00"));
  const double later = CDate(Variant("02.03.2026 09:30:01"));
  SEPAVARIABLEN settings;
  settings.SepaFRID.Value = "TSV Grün-Weiß 1898 e.V. & Co_KG";
  settings.SepaADAT.Value = "16.03.2026";
  settings.SepaFMI2.Value = "-";
  const IdentifierPrefix ids = MakeIdentifierPrefix(settings);
  EXPECT_NE(ids.notice.find("TSV Grün-Weiß 1898 e.V. & Co_KG"), std::string::npos);
  SEPAVARIABLEN again = settings;
  DeriveFileIdentifiers(settings, ids, morning);
  DeriveFileIdentifiers(again, ids, later);
  EXPECT_EQ(settings.SepaFMI1.Value, "TSV Gruen-W-20260302093000-FRST-MSG");
  EXPECT_EQ(settings.SepaFMI2.Value, "-");
  for (const std::string& id : {settings.SepaFPI1.Value, settings.SepaFPI2.Value}) {
    EXPECT_LE(id.size(), 35u) << id;
    EXPECT_EQ(id.find_first_not_of(kSepaCharacters), std::string::npos) << id;
  }
  EXPECT_NE(again.SepaFMI1.Value, settings.SepaFMI1.Value);
  EXPECT_NE(again.SepaFPI2.Value, settings.SepaFPI2.Value);
}

}  // namespace
}  // namespace lastora
