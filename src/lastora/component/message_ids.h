// Numbers of the catalogue entries the library uses, by what the entry says. A caller's catalogue
// file keeps these numbers, so they never change; new texts take free numbers.
#ifndef LASTORA_COMPONENT_MESSAGE_IDS_H_
#define LASTORA_COMPONENT_MESSAGE_IDS_H_

namespace lastora::msg {

// Words that settings are compared with.
inline constexpr int kNot = 6;  // an option containing it is switched off
inline constexpr int kYes = 9;
inline constexpr int kCreditTransfer = 170;
inline constexpr int kWholeWindow = 171;
inline constexpr int kBillNothing = 172;
inline constexpr int kBillChangeMonth = 173;
inline constexpr int kCoreDebit = 176;
inline constexpr int kB2bDebit = 177;

// Files and folders.
inline constexpr int kFileMissing = 11;
inline constexpr int kBankCodeFileMissing = 61;
inline constexpr int kNoData = 62;

// Row findings of the processing and generation runs.
inline constexpr int kAmountLimit = 59;
inline constexpr int kBicNotFound = 63;
inline constexpr int kNoBicAmountZeroed = 66;
inline constexpr int kNotGermanAmountZeroed = 67;
inline constexpr int kBankCodeInvalid = 105;
inline constexpr int kSeveralBics = 108;
inline constexpr int kRemittanceCut = 130;
inline constexpr int kRemittanceTooLong = 131;
inline constexpr int kMandateMissing = 132;
inline constexpr int kMandateDuplicate = 133;
inline constexpr int kAmountBelowZero = 135;
inline constexpr int kUpperAmountLimit = 136;
inline constexpr int kLowerAmountLimit = 137;
inline constexpr int kPaymentIdLabel = 143;
inline constexpr int kMandateReferenceLabel = 144;

// The generation run's stops.
inline constexpr int kXmlParserError = 79;
inline constexpr int kCreditorIdWrong = 92;
inline constexpr int kNoOrderingParty = 93;
inline constexpr int kCollectionDateWrong = 96;
inline constexpr int kNoPayments = 97;
inline constexpr int kDtausHeaderLength = 109;
inline constexpr int kDtausTrailerLength = 110;
inline constexpr int kDtausRecordLength = 113;

// The checkers.
inline constexpr int kNoTransactionsInXml = 98;
inline constexpr int kIbanCountryNotUpper = 117;
inline constexpr int kIbanCountryUnknown = 118;
inline constexpr int kIbanTooLong = 119;
inline constexpr int kIbanTooShort = 120;
inline constexpr int kIbanInvalidCharacter = 121;
inline constexpr int kIbanNotNumeric = 122;
inline constexpr int kIbanCheckDigitsNotNumeric = 123;
inline constexpr int kIbanCheckDigitsWrong = 124;
inline constexpr int kIbanCheckerError = 125;
inline constexpr int kDtausNoPaymentRecord = 142;
inline constexpr int kDtausWrongFormat = 180;

}  // namespace lastora::msg

#endif  // LASTORA_COMPONENT_MESSAGE_IDS_H_
