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
  EXPECT_EQ(Loaded("  English ")[1], "Advice");
  for (const char* language : {"", "Englisch", "english."}) {
    EXPECT_EQ(Loaded(language)[1], "Hinweis") << language;
  }
  // Each language sets only its own entries.
  MessageCatalogue prefilled;
  prefilled.fill("old");
  LoadMessageTexts(prefilled, "english");
  EXPECT_EQ(prefilled[6], "old");
}

// Loaded once per thread: a later language text does not replace the texts in force.
TEST(MessageCatalogue, EachThreadLoadsItsOwnCatalogueOnce) {
  std::string english_after_language_change;
  std::string german_first;
  std::thread english([&] {
    strSprache() = " english ";
    EXPECT_EQ(Message(1), "Advice");
    strSprache() = "Deutsch";
    EnsureMessageTexts();
    english_after_language_change = Message(1);
  });
  std::thread german([&] { german_first = Message(1); });
  english.join();
  german.join();
  EXPECT_EQ(english_after_language_change, "Advice");
  EXPECT_EQ(german_first, "Hinweis");
}

}  // namespace
}  // namespace lastora
