// IBAN and creditor-identifier check digits, IBAN building and splitting, against hand cases and
// the registry examples.
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "accounts/creditor_id.h"
#include "accounts/iban_countries.h"
#include "gtest/gtest.h"
#include "lastora/class1.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

std::vector<std::string> ReadLines(const std::string& name) {
  std::ifstream in(std::string(LASTORA_TESTDATA_DIR) + "/iban/" + name);
  EXPECT_TRUE(in.good()) << name;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

// Two-digit forms such as "02" and "98" are met by the registry examples below.
TEST(CheckDigits, IbanIgnoresThePresentOnesAndRejectsAnythingButDigitsAndCapitals) {
  Class1 c;
  EXPECT_EQ(c.getPruefziffer("DE00370400440532013000"), "89");
  EXPECT_EQ(c.getPruefziffer("DEXX370400440532013000"), "89");
  // An umlaut in the ignored positions 3 and 4 must not shift the rest of the text.
  EXPECT_EQ(c.getPruefziffer("DEÄ9370400440532013000"), "89");
  for (const char* bad :
       {"DE89370400440532013x00", "DE89 3704 0044 0532 0130 00", "DE8937040044053201300.",
        "DE8937040044053201300,", "de89370400440532013000"}) {
    EXPECT_EQ(testing::ErrorOf([&] { c.getPruefziffer(bad); }), 13) << bad;
  }

  // A creditor identifier's check digits leave its business code out: the Bundesbank's example,
  // with that code changed and in small letters.
  for (const char* sound :
       {"DE98ZZZ09999999999", "DE98ABC09999999999", "de98zzz09999999999", "AT61ZZZ01234567890"}) {
    EXPECT_TRUE(detail::CreditorIdCheckDigitsValid(sound)) << sound;
  }
  for (const char* wrong : {"DE97ZZZ09999999999", "DE98ZZZ09999999998", "DE98ZZZ0999999999-",
                            "DEXXZZZ09999999999", "DE98ZZZ", ""}) {
    EXPECT_FALSE(detail::CreditorIdCheckDigitsValid(wrong)) << wrong;
  }
}

// Valid ones come back unchanged; invalid ones never do, but as the checker's finding.
TEST(IbanRegistryExamples, ValidOnesComeBackUnchangedInvalidOnesAsAFinding) {
  Class1 c;
  int valid = 0, invalid = 0;
  for (const std::string& iban : ReadLines("valid-ibans.txt")) {
    const detail::IbanCountry* country = detail::FindIbanCountry(iban.substr(0, 2));
    if (country == nullptr || static_cast<int>(iban.size()) != country->IbanLength()) continue;
    EXPECT_EQ(c.Get_IBAN(iban), iban);
    ++valid;
  }
  for (const std::string& line : ReadLines("invalid-ibans.tsv")) {
    const std::string iban = line.substr(0, line.find('\t'));
    if (iban.size() < 2 || detail::FindIbanCountry(iban.substr(0, 2)) == nullptr) continue;
    const std::string result = c.Get_IBAN(iban);
    EXPECT_NE(result, iban) << line;
    EXPECT_EQ(result.rfind("SEPA-Checker: ", 0), 0u) << line << " -> " << result;
    ++invalid;
  }
  EXPECT_GT(valid, 700);
  EXPECT_GT(invalid, 3000);
}

TEST(IbanSplitAndBuild, BankCodeAndAccountOrTheFirstFindingInOrder) {
  Class1 c;
  std::string parts[3];
  EXPECT_EQ(c.Get_IBAN("DE89370400440532013000", parts[0], parts[1], parts[2]),
            "DE89370400440532013000");
  EXPECT_EQ(parts[0] + " " + parts[1] + " " + parts[2], "DE 37040044 532013000");
  EXPECT_EQ(c.Get_IBAN("de89370400440532013000"),
            "SEPA-Checker: IBAN Länderkennzeichen besteht nicht aus Großbuchstaben");
  EXPECT_EQ(c.Get_IBAN("XX89370400440532013000"), "SEPA-Checker: IBAN Länderkennzeichen unbekannt");
  EXPECT_EQ(c.Get_IBAN("DE893704004405320130001"), "SEPA-Checker: IBAN ist zu lang");
  EXPECT_EQ(c.Get_IBAN("DE8937040044053201300"), "SEPA-Checker: IBAN ist zu kurz");
  EXPECT_EQ(c.Get_IBAN("DEX9370400440532013000"),
            "SEPA-Checker: IBAN Prüfziffer ist nicht numerisch");
  EXPECT_EQ(c.Get_IBAN("DE88370400440532013000"),
            "SEPA-Checker: IBAN Prüfziffer ist falsch (88<>89)");
  // Too long wins over wrong characters: the length is looked at first.
  EXPECT_EQ(c.Get_IBAN("DE89 3704 0044 0532 0130 00"), "SEPA-Checker: IBAN ist zu lang");
  // Check digits that cannot be computed are trapped, not thrown.
  EXPECT_EQ(c.Get_IBAN("DE89370400440532013x00"), "SEPA-Checker: Fehler: Typen unverträglich (13)");

  // Built from bank code and account, or their error.
  const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
      {"DE", "37040044", "532013000", "DE89370400440532013000"},
      // Short values are padded with zeros on the left.
      {"AT", "19043", "234573201", "AT611904300234573201"},
      // An account that is no number is trapped.
      {"DE", "10070000", "12x", "SEPA-Checker: Fehler: Typen unverträglich (13)"},
  };
  for (auto [country, bank, account, expected] : cases) {
    EXPECT_EQ(c.Get_IBAN("", country, bank, account), expected) << bank << " " << account;
  }

  // A German short account gains two zeros at its bank only.
  std::string country = "DE", bank = "10070000", account = "1234567";
  const std::string iban = c.Get_IBAN("", country, bank, account);
  EXPECT_EQ(iban, "DE43100700000123456700");
  EXPECT_EQ(account, "123456700");
  EXPECT_EQ(c.Get_IBAN(iban), iban);

  // Splitting removes the suffix again only when the caller's account would have gained it.
  std::string split_country, split_bank = "10070000", split_account = "1234567";
  EXPECT_EQ(c.Get_IBAN(iban, split_country, split_bank, split_account), iban);
  EXPECT_EQ(split_account, "1234567");
  // Other banks keep the account as given.
  bank = "10010010";
  account = "1234567";
  EXPECT_EQ(c.Get_IBAN("", country, bank, account).substr(12), "0001234567");
  EXPECT_EQ(account, "1234567");
}

}  // namespace
}  // namespace lastora
