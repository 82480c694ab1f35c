// Whether the bank can still honour the collection date the settings name.
#ifndef LASTORA_COLLECTION_DATE_H_
#define LASTORA_COLLECTION_DATE_H_

#include <cstdint>
#include <string>

#include "lastora/export.h"
#include "lastora/settings.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// A day on which the euro's settlement system runs: not a weekend, 1 January, Good Friday, Easter
// Monday, 1 May, 25 or 26 December. `day` is a whole date serial.
bool IsTarget2BusinessDay(int64_t day);

// The earliest date a file handed in on `today` may name: a direct debit must reach the bank one
// business day before it is due; a credit transfer may be executed on a business day from today.
int64_t EarliestCollectionDay(int64_t today, bool credit_transfer);

struct CollectionDateCheck {
  std::string stop;     // why no file may be written; empty when the date will do
  std::string warning;  // a date outside the billing window SepaDAT1-SepaDAT2
};
// SepaADAT against the clock's `now` (a date serial). A SepaADAT that is no date is left to the
// generation run, which names it.
CollectionDateCheck CheckCollectionDate(const SEPAVARIABLEN& settings, double now);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_COLLECTION_DATE_H_
