// The numbered message catalogue, held once per thread.
#ifndef LASTORA_COMPONENT_CATALOGUE_H_
#define LASTORA_COMPONENT_CATALOGUE_H_

#include <array>
#include <string>

namespace lastora {

// Entries 1..200; entry 0 is unused so that a message number is its index.
using MessageCatalogue = std::array<std::string, 201>;

// The calling thread's catalogue and language text.
MessageCatalogue& aMeldungen();
std::string& strSprache();

// Fills the catalogue: English when the trimmed, upper-cased language is "ENGLISH", else German.
void LoadMessageTexts(MessageCatalogue& catalogue, const std::string& language);
// Loads the thread's catalogue unless entry 1 already holds a text.
void EnsureMessageTexts();
// Catalogue entry n of the calling thread, loading the catalogue first; VbError 9 outside 1..200.
const std::string& Message(int number);

}  // namespace lastora

#endif  // LASTORA_COMPONENT_CATALOGUE_H_
