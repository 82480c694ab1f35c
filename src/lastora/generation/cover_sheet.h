// The cover sheet a club signs and hands to its bank with a payment file: one layout for SEPA
// files, one for DTAUS files.
#ifndef LASTORA_GENERATION_COVER_SHEET_H_
#define LASTORA_GENERATION_COVER_SHEET_H_

#include <cstdint>
#include <string>

namespace lastora::generation {

struct Sender {
  std::string name;
  std::string street;
  std::string postcode_place;  // "12345 Musterstadt"
  std::string phone;
};

struct CoverSheetData {
  std::string order_text;      // SepaAART
  std::string data_file_name;  // without folder
  std::string today;           // "DD.MM.YYYY"
  int64_t count = 0;
  int64_t sum_cents = 0;
  Sender sender;
};

struct SepaCoverSheetData {
  CoverSheetData common;
  std::string message_id;
  std::string payment_info_id;
  std::string run_stamp;  // "DD.MM.YYYY hh:mm:ss"
  std::string own_bic;
  std::string own_iban;
  std::string own_name;
  std::string execution_date;  // "YYYY-MM-DD"
};

struct DtausCoverSheetData {
  CoverSheetData common;
  std::string party_name;       // 27 characters
  std::string party_bank_code;  // 8 characters
  std::string party_account;    // 10 characters
  int64_t account_sum = 0;
  int64_t bank_code_sum = 0;
  std::string execution_date;  // "DD.MM.YYYY"
};

// Both texts in UTF-8 with CR LF line ends and the final extra line end.
std::string SepaCoverSheet(const SepaCoverSheetData& data);
std::string DtausCoverSheet(const DtausCoverSheetData& data);

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_COVER_SHEET_H_
