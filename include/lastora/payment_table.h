// The payment table: the member rows that the processing run fills, the generation run writes
// files from and the checkers lay out again from a file read back. One row per member or payment,
// 1-based, at least 29 columns; a caller's sheet shows it as it is. Its colour table has the same
// shape and holds colour numbers of the caller's spreadsheet palette.
#ifndef LASTORA_PAYMENT_TABLE_H_
#define LASTORA_PAYMENT_TABLE_H_

#include <cstdint>

#include "lastora/export.h"

namespace lastora::payment_table {
LASTORA_PUBLIC_BEGIN

inline constexpr int32_t kColumnCount = 29;

// Columns 1 to this one (except the ones holding numbers, dates and the sequence type) are
// cleaned of umlauts and other characters.
inline constexpr int32_t kLastCleanedColumn = 21;

inline constexpr int32_t kNumber = 2;  // running number of a payment read back from a file
inline constexpr int32_t kName = 3;    // account holder
// The account; key of the collective merge; begins with the country.
inline constexpr int32_t kIban = 4;
inline constexpr int32_t kBic = 5;
inline constexpr int32_t kBankName = 6;   // written by the BIC lookup
inline constexpr int32_t kPaymentId = 7;  // end-to-end identification
inline constexpr int32_t kAmount = 8;
inline constexpr int32_t kRemittanceLines = 9;  // quoted lines separated by commas
inline constexpr int32_t kMandateId = 10;
inline constexpr int32_t kMandateDate = 11;
inline constexpr int32_t kSequenceType = 12;  // FRST, RCUR, FNAL, OOFF or empty
inline constexpr int32_t kOneOff = 13;
inline constexpr int32_t kBackPayment = 14;
inline constexpr int32_t kCredit = 15;  // for credit transfers the amount itself
inline constexpr int32_t kContribution = 16;
inline constexpr int32_t kPeriodContribution = 17;
inline constexpr int32_t kEntryDate = 18;
inline constexpr int32_t kExitDate = 19;
inline constexpr int32_t kFirstCollection = 20;
inline constexpr int32_t kMemberName = 21;
inline constexpr int32_t kAccountNumber = 22;  // domestic account number (DTAUS)
inline constexpr int32_t kBankCode = 23;
inline constexpr int32_t kCountry = 24;
inline constexpr int32_t kMemberText = 25;      // the member's remittance text
inline constexpr int32_t kErrors = 26;          // messages joined by ", "
inline constexpr int32_t kWarnings = 27;        // messages joined by ", "
inline constexpr int32_t kCharactersMark = 28;  // "X" when characters were replaced in the row
inline constexpr int32_t kUmlautsMark = 29;     // "X" when umlauts were replaced in the row

// Colours of the caller's spreadsheet palette, by what they say about a cell.
inline constexpr int32_t kErrorColour = 3;
inline constexpr int32_t kWarningColour = 6;
inline constexpr int32_t kUmlautsReplacedColour = 16;
inline constexpr int32_t kCharactersReplacedColour = 45;

LASTORA_PUBLIC_END
}  // namespace lastora::payment_table

#endif  // LASTORA_PAYMENT_TABLE_H_
