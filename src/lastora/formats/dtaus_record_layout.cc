#include "formats/dtaus_record_layout.h"

namespace lastora::dtaus {
namespace {

constexpr Fill kNum = Fill::kZerosLeft;
constexpr Fill kText = Fill::kBlanksRight;

// Extensions 1 and 2 sit in the second block after the constant part; every later block holds
// four of them and ends in 12 blanks.
constexpr int kExtensionsInSecondBlock = 2;
constexpr int kExtensionsPerLaterBlock = 4;

}  // namespace

const std::array<Field, 14> kARecord = {{
    {"A1", 1, 4, kNum},       // record length "0128"
    {"A2", 5, 1, kText},      // "A"
    {"A3", 6, 2, kText},      // "GK", "LK" (bank files "GB", "LB")
    {"A4", 8, 8, kNum},       // receiving bank's code
    {"A5", 16, 8, kNum},      // sending bank's code, zeros in customer files
    {"A6", 24, 27, kText},    // customer's name
    {"A7", 51, 6, kNum},      // creation date ddmmyy
    {"A8", 57, 4, kText},     // blanks
    {"A9", 61, 10, kNum},     // customer's account number
    {"A10", 71, 10, kNum},    // reference
    {"A11a", 81, 15, kText},  // blanks
    {"A11b", 96, 8, kText},   // execution date ddmmyyyy, may be blank
    {"A11c", 104, 24, kText},
    {"A12", 128, 1, kNum},  // currency, "1" for euro
}};

const std::array<Field, 21> kCRecord = {{
    {"C1", 1, 4, kNum},       // record length 187 + 29 per extension
    {"C2", 5, 1, kText},      // "C"
    {"C3", 6, 8, kNum},       // first bank involved
    {"C4", 14, 8, kNum},      // payee's or payer's bank code
    {"C5", 22, 10, kNum},     // payee's or payer's account number
    {"C6", 32, 13, kNum},     // internal customer number
    {"C7a", 45, 2, kNum},     // text key: "05" direct debit, "51" credit transfer
    {"C7b", 47, 3, kNum},     // text key extension
    {"C8", 50, 1, kText},     // bank-internal
    {"C9", 51, 11, kNum},     // amount in the former currency, zeros in euro files
    {"C10", 62, 8, kNum},     // customer's bank code
    {"C11", 70, 10, kNum},    // customer's account number
    {"C12", 80, 11, kNum},    // amount in euro cents
    {"C13", 91, 3, kText},    // blanks
    {"C14a", 94, 27, kText},  // payee's or payer's name
    {"C14b", 121, 8, kText},  // blanks
    {"C15", 129, 27, kText},  // customer's name
    {"C16", 156, 27, kText},  // first remittance line
    {"C17a", 183, 1, kNum},   // currency, "1" for euro
    {"C17b", 184, 2, kText},  // blanks
    {"C18", 186, 2, kNum},    // number of extensions
}};

const std::array<Field, 9> kERecord = {{
    {"E1", 1, 4, kNum},     // record length "0128"
    {"E2", 5, 1, kText},    // "E"
    {"E3", 6, 5, kText},    // blanks
    {"E4", 11, 7, kNum},    // number of C records
    {"E5", 18, 13, kNum},   // sum of C9
    {"E6", 31, 17, kNum},   // sum of the account numbers C5
    {"E7", 48, 17, kNum},   // sum of the bank codes C4
    {"E8", 65, 13, kNum},   // sum of C12 in cents
    {"E9", 78, 51, kText},  // blanks
}};

size_t ExtensionPosition(int k) {
  if (k <= kExtensionsInSecondBlock) {
    return kCRecordConstantLength + 1 + static_cast<size_t>(k - 1) * kExtensionLength;
  }
  const int later = k - kExtensionsInSecondBlock - 1;
  const size_t block = 2 + static_cast<size_t>(later / kExtensionsPerLaterBlock);
  return block * kBlockLength + 1 +
         static_cast<size_t>(later % kExtensionsPerLaterBlock) * kExtensionLength;
}

size_t CRecordLengthValue(int extensions) {
  return kCRecordConstantLength + static_cast<size_t>(extensions) * kExtensionLength;
}

size_t CRecordFileLength(int extensions) {
  if (extensions <= kExtensionsInSecondBlock) return 2 * kBlockLength;
  const int later = extensions - kExtensionsInSecondBlock;
  const int later_blocks = (later + kExtensionsPerLaterBlock - 1) / kExtensionsPerLaterBlock;
  return static_cast<size_t>(2 + later_blocks) * kBlockLength;
}

int ExtensionsForLengthValue(std::string_view c1) {
  for (int extensions = 0; extensions <= kMaxExtensions; ++extensions) {
    const size_t value = CRecordLengthValue(extensions);
    const char digits[4] = {
        static_cast<char>('0' + value / 1000 % 10), static_cast<char>('0' + value / 100 % 10),
        static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
    if (c1 == std::string_view(digits, 4)) return extensions;
  }
  return -1;
}

}  // namespace lastora::dtaus
