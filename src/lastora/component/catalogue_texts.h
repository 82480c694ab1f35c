// The catalogue's texts in both languages, as one data table.
#ifndef LASTORA_COMPONENT_CATALOGUE_TEXTS_H_
#define LASTORA_COMPONENT_CATALOGUE_TEXTS_H_

#include <array>

namespace lastora::detail {

struct CatalogueText {
  int number;
  const char* german;   // nullptr: the German catalogue never sets this entry
  const char* english;  // nullptr: the English catalogue never sets this entry
};

extern const std::array<CatalogueText, 174> kCatalogueTexts;

}  // namespace lastora::detail

#endif  // LASTORA_COMPONENT_CATALOGUE_TEXTS_H_
