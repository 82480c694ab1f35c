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

// Each thread has its own language and catalogue; that a later language leaves a loaded
// catalogue alone is asserted where objects of one thread share it.
TEST(MessageCatalogue, EachThreadLoadsItsOwnCatalogue) {
  std::string english_first;
  std::string german_first;
  std::thread english([&] {
    strSprache() = " english ";
    english_first = Message(1);
  });
  std::thread german([&] { german_first = Message(1); });
  english.join();
  german.join();
  EXPECT_EQ(english_first, "Advice");
  EXPECT_EQ(german_first, "Hinweis");
}

}  // namespace
}  // namespace lastora
