// The workbook's step "Nummerieren und ID'S anlegen": payment identifiers for the rows that the
// processing run gave an amount, and message and payment-information identifiers for the files
// the settings leave unnamed.
#ifndef LASTORA_NUMBERING_H_
#define LASTORA_NUMBERING_H_

#include <string>

#include "lastora/export.h"
#include "lastora/settings.h"
#include "lastora/table.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// The part every payment identifier of a run begins with: SepaFRID (or "LASTORA") and SepaADAT
// as YYYYMMDD, joined by "-". SepaFRID is cleaned to the SEPA character set and cut so that the
// longest identifier stays within 35 characters.
struct IdentifierPrefix {
  std::string result;  // "ok", or the catalogue's message for an execution date that is no date
  std::string prefix;
  std::string stem;    // the cleaned SepaFRID
  std::string notice;  // why SepaFRID was changed; empty when it was taken as given
};
IdentifierPrefix MakeIdentifierPrefix(const SEPAVARIABLEN& settings);

// Fills SepaFMI1, SepaFMI2, SepaFPI1 and SepaFPI2 where the settings leave them empty: the stem,
// the moment `now` (a date serial) as YYYYMMDDhhmmss and the pass. The bank refuses a message
// identifier it has seen, so a file corrected and made again the same day needs a new one.
void DeriveFileIdentifiers(SEPAVARIABLEN& settings, const IdentifierPrefix& ids, double now);

// Gives every row with an amount (column 8) and no payment identifier (column 7) the identifier
// prefix-NNNNN, NNNNN being its row number. Returns how many rows were numbered.
int32_t NumberPayments(Table& values, const std::string& prefix);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_NUMBERING_H_
