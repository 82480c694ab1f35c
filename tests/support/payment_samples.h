// Payments for checker tests and benchmarks, and the fixed-width fields of DTAUS records.
#ifndef LASTORA_TESTS_SUPPORT_PAYMENT_SAMPLES_H_
#define LASTORA_TESTS_SUPPORT_PAYMENT_SAMPLES_H_

#include <algorithm>
#include <cstdint>
#include <string>

namespace lastora::testing {

struct SamplePayment {
  std::string name;
  std::string iban;
  std::string bic;
  std::string reference;  // end-to-end identification
  int64_t cents = 0;
  std::string remittance;
  std::string mandate;
  std::string mandate_date;  // "YYYY-MM-DD"
};

// The number-th of a run of distinct, valid German payments.
inline SamplePayment NumberedPayment(int number) {
  static const char* const kIbans[] = {"DE89370400440532013000", "DE50512305000018102010",
                                       "DE26501108006231602308", "DE30500210000010116606"};
  const std::string n = std::to_string(number);
  return {"Mitglied " + n,
          kIbans[number % 4],
          "COBADEFFXXX",
          "E2E-" + n,
          (10 + number % 90) * 100 + 10 + number % 89,
          "Beitrag 2013 Mitglied " + n,
          "M-" + n,
          "2013-0" + std::to_string(1 + number % 9) + "-15"};
}

// Fixed-width fields of DTAUS records: numbers with leading zeros, ASCII texts filled with blanks.
inline std::string DtausNumber(int64_t value, size_t width) {
  const std::string digits = std::to_string(value);
  return std::string(width - std::min(width, digits.size()), '0') + digits;
}
inline std::string DtausText(const std::string& text, size_t width) {
  return text.size() >= width ? text.substr(0, width)
                              : text + std::string(width - text.size(), ' ');
}

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_PAYMENT_SAMPLES_H_
