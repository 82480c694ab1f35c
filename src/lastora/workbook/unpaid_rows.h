// Why a payment table gave no payment at all, so that an empty run says what to mend.
#ifndef LASTORA_WORKBOOK_UNPAID_ROWS_H_
#define LASTORA_WORKBOOK_UNPAID_ROWS_H_

#include <string>

#include "lastora/table.h"

namespace lastora {

// The rows by the first thing that kept each out of the files, in the order the generation run
// asks: "Keine Zahlung geschrieben: von 3 Zeilen 2 ohne IBAN, 1 mit Betrag 0 oder ohne Betrag".
std::string WhyNothingPaid(const Table& payments, bool credit_transfer, bool dtaus);

}  // namespace lastora

#endif  // LASTORA_WORKBOOK_UNPAID_ROWS_H_
