#include "component/catalogue.h"

#include "component/catalogue_texts.h"
#include "core/text.h"
#include "lastora/vb_error.h"

namespace lastora {

MessageCatalogue& aMeldungen() {
  thread_local MessageCatalogue catalogue;
  return catalogue;
}

std::string& strSprache() {
  thread_local std::string language;
  return language;
}

void LoadMessageTexts(MessageCatalogue& catalogue, const std::string& language) {
  std::string chosen = text::Trim(language);
  if (chosen.empty()) chosen = "Deutsch";
  const bool english = text::UCase(chosen) == "ENGLISH";
  for (const detail::CatalogueText& entry : detail::kCatalogueTexts) {
    const char* value = english ? entry.english : entry.german;
    if (value != nullptr) catalogue[entry.number] = value;
  }
}

void EnsureMessageTexts() {
  MessageCatalogue& catalogue = aMeldungen();
  if (catalogue[1].empty()) LoadMessageTexts(catalogue, strSprache());
}

const std::string& Message(int number) {
  EnsureMessageTexts();
  if (number < 1 || number > 200) throw VbError(9);
  return aMeldungen()[number];
}

}  // namespace lastora
