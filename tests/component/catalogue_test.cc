#include "component/catalogue.h"

#include <gtest/gtest.h>

#include <string>

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
}

}  // namespace
}  // namespace lastora
