#include "numbering.h"

#include <gtest/gtest.h>

namespace lastora::cli {
namespace {

SEPAVARIABLEN Settings(const std::string& frid, const std::string& date = "16.03.2026") {
  SEPAVARIABLEN settings;
  settings.SepaFRID.Value = frid;
  settings.SepaADAT.Value = date;
  return settings;
}

bool InSepaCharacterSet(const std::string& id) {
  return id.find_first_not_of(
             "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 +?/-:().,'") ==
         std::string::npos;
}

TEST(NumberingTest, PaymentIdentifiersForRowsWithAnAmountOnly) {
  Table values(4, 29);
  values(1, 8) = 120.0;
  values(2, 8) = "";   // absorbed into the next row: no payment
  values(3, 8) = 0.0;  // an amount of 0 is still an amount the generation reports
  values(4, 8) = 60.0;
  values(4, 7) = "EIGENE-ID";  // the caller's own identifier stays
  const IdentifierPrefix ids = MakeIdentifierPrefix(Settings(""));
  ASSERT_EQ(ids.result, "ok");
  EXPECT_EQ(ids.prefix, "LASTORA-20260316");
  EXPECT_EQ(NumberPayments(values, ids.prefix), 2);
  EXPECT_EQ(values(1, 7), Variant("LASTORA-20260316-00001"));
  EXPECT_TRUE(values(2, 7).IsEmpty());
  EXPECT_EQ(values(3, 7), Variant("LASTORA-20260316-00003"));
  EXPECT_EQ(values(4, 7), Variant("EIGENE-ID"));
}

TEST(NumberingTest, FileIdentifiersOnlyWhereTheSettingsLeaveThemEmpty) {
  SEPAVARIABLEN settings = Settings("TSVM");
  settings.SepaFMI2.Value = "-";
  settings.SepaFPI2.Value = "-";
  DeriveFileIdentifiers(settings, MakeIdentifierPrefix(settings).prefix);
  EXPECT_EQ(settings.SepaFMI1.Value, "TSVM-20260316-FRST-MSG");
  EXPECT_EQ(settings.SepaFPI1.Value, "TSVM-20260316-FRST");
  EXPECT_EQ(settings.SepaFMI2.Value, "-");  // "-" means: no second file
  EXPECT_EQ(settings.SepaFPI2.Value, "-");
}

TEST(NumberingTest, LongOrOddIdentifierSettingIsCleanedCutAndReported) {
  SEPAVARIABLEN settings = Settings("TSV Grün-Weiß 1898 e.V. & Co_KG");
  const IdentifierPrefix ids = MakeIdentifierPrefix(settings);
  ASSERT_EQ(ids.result, "ok");
  EXPECT_NE(ids.notice.find("TSV Grün-Weiß 1898 e.V. & Co_KG"), std::string::npos);
  DeriveFileIdentifiers(settings, ids.prefix);
  Table values(1, 29);
  values(1, 8) = 1.0;
  NumberPayments(values, ids.prefix);
  for (const std::string& id :
       {settings.SepaFMI1.Value, settings.SepaFMI2.Value, settings.SepaFPI1.Value,
        settings.SepaFPI2.Value, std::string(values(1, 7).AsString())}) {
    EXPECT_LE(id.size(), 35u) << id;
    EXPECT_TRUE(InSepaCharacterSet(id)) << id;
  }
  EXPECT_EQ(settings.SepaFMI1.Value, "TSV Gruen-Weiss 1-20260316-FRST-MSG");
  EXPECT_EQ(MakeIdentifierPrefix(Settings("TSVM")).notice, "");
}

TEST(NumberingTest, ExecutionDateThatIsNoDateStopsTheStep) {
  EXPECT_EQ(MakeIdentifierPrefix(Settings("TSVM", "16.13.2026")).result,
            "Fehler in Abbuchungsdatum: 16.13.2026");
  EXPECT_EQ(MakeIdentifierPrefix(Settings("TSVM", "")).result, "Fehler in Abbuchungsdatum: ");
}

}  // namespace
}  // namespace lastora::cli
