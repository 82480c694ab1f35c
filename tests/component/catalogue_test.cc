#include "component/catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace lastora {
namespace {

MessageCatalogue Loaded(const std::string& language) {
  MessageCatalogue catalogue;
  LoadMessageTexts(catalogue, language);
  return catalogue;
}

TEST(MessageCatalogue, EnglishOnlyForTheWordEnglishInAnyCase) {
  for (const char* language : {"english", " english ", "ENGLISH", "  English"}) {
    const MessageCatalogue catalogue = Loaded(language);
    EXPECT_EQ(catalogue[200], "English") << language;
    EXPECT_EQ(catalogue[1], "Advice") << language;
  }
  for (const char* language : {"", "   ", "Deutsch", "Englisch", "EN", "english."}) {
    const MessageCatalogue catalogue = Loaded(language);
    EXPECT_EQ(catalogue[200], "Deutsch") << language;
    EXPECT_EQ(catalogue[1], "Hinweis") << language;
  }
}

TEST(MessageCatalogue, TextsKeepTheirExactBlanksAndLineBreaks) {
  const MessageCatalogue german = Loaded("");
  EXPECT_EQ(german[22], "Ende  SEPA-Datenimport");
  EXPECT_EQ(german[149], "Der aktuelle Datensatz wurde geändert!\r\n\r\nWeiter OHNE Anspeichern?");
  EXPECT_EQ(Loaded("english")[22], "End   SEPA-Import of dates");
}

TEST(MessageCatalogue, EachLanguageSetsOnlyItsOwnEntries) {
  EXPECT_EQ(Loaded("english")[6], "");
  EXPECT_EQ(Loaded("english")[170], "");

  MessageCatalogue prefilled;
  prefilled.fill("old");
  LoadMessageTexts(prefilled, "english");
  EXPECT_EQ(prefilled[6], "old");
  EXPECT_EQ(prefilled[9], "yes");

  // German leaves gaps in its numbering too, and sets some entries to the empty text.
  prefilled.fill("old");
  LoadMessageTexts(prefilled, "Deutsch");
  EXPECT_EQ(prefilled[15], "old");
  EXPECT_EQ(prefilled[89], "");
}

TEST(MessageCatalogue, EachThreadLoadsItsOwnCatalogueOnce) {
  std::string english_first;
  std::string english_after_language_change;
  std::string german_first;
  bool english_started_empty = false;
  std::thread english([&] {
    english_started_empty = aMeldungen()[1].empty();
    strSprache() = " english ";
    english_first = Message(1);
    // Loaded once per thread: a later language text does not replace the texts in force.
    strSprache() = "Deutsch";
    EnsureMessageTexts();
    english_after_language_change = Message(1);
  });
  std::thread german([&] { german_first = Message(1); });
  english.join();
  german.join();
  EXPECT_TRUE(english_started_empty);
  EXPECT_EQ(english_first, "Advice");
  EXPECT_EQ(english_after_language_change, "Advice");
  EXPECT_EQ(german_first, "Hinweis");
}

}  // namespace
}  // namespace lastora
