// Class1's IBAN methods.
#include <cctype>
#include <string>

#include "accounts/iban_check_digits.h"
#include "accounts/iban_countries.h"
#include "component/catalogue.h"
#include "component/message_ids.h"
#include "component/run_frame.h"
#include "core/text.h"
#include "lastora/class1.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

// German accounts of banks whose code has 4, 7 or 8 in fourth place carry two more digits in the
// IBAN than the customer writes; short account numbers get them appended.
bool GermanAccountNeedsSuffix(const std::string& bank_code, const std::string& account) {
  if (text::Length(bank_code) < 4) return false;
  const std::string fourth = text::Mid(bank_code, 4, 1);
  if (fourth.size() != 1 || fourth[0] < '0' || fourth[0] > '9') throw VbError(13);
  const char digit = fourth[0];
  return (digit == '4' || digit == '7' || digit == '8') && text::Length(account) <= 7;
}

// The reverse of the suffix when an IBAN is split; never fails, a non-digit simply does not match.
bool GermanAccountCarriesSuffix(const std::string& bank_code, const std::string& account) {
  if (text::Length(bank_code) < 4) return false;
  const std::string fourth = text::Mid(bank_code, 4, 1);
  const bool marked = fourth == "4" || fourth == "7" || fourth == "8";
  return marked && text::Length(account) <= 9 && account.ends_with("00");
}

std::string CheckDigitText(int digits) {
  return std::string{static_cast<char>('0' + digits / 10), static_cast<char>('0' + digits % 10)};
}

std::string ZeroPaddedRight(const std::string& value, int width) {
  return text::Right(std::string(20, '0') + value, static_cast<size_t>(width));
}

}  // namespace

std::string Class1::getPruefziffer(const std::string& strIBAN) {
  return CheckDigitText(detail::IbanCheckDigits(strIBAN));
}

bool Class1::IsCharacter(const std::string& strText, bool boolUCase) {
  // Bytes suffice: every byte of a multi-byte character is outside the ASCII letters.
  for (const char c : strText) {
    const bool upper = c >= 'A' && c <= 'Z';
    const bool lower = c >= 'a' && c <= 'z';
    if (!upper && !(lower && !boolUCase)) return false;
  }
  return true;
}

std::string Class1::RubLeadingZero(const std::string& strText) {
  const size_t first = strText.find_first_not_of('0');
  return first == std::string::npos ? std::string() : strText.substr(first);
}

std::string Class1::Get_IBAN(const std::string& strIBAN) {
  std::string country;
  std::string bank_code;
  std::string account;
  return Get_IBAN(strIBAN, country, bank_code, account);
}

std::string Class1::Get_IBAN(const std::string& strIBAN, std::string& strLandKurz,
                             std::string& strBLZ_, std::string& strKONT) {
  std::string result;
  int32_t number = 0;
  std::string description;
  const bool completed = TrapFailure(
      [&] {
        const bool build = strIBAN.empty();
        strLandKurz = text::Left(build ? strLandKurz : strIBAN, 2);
        if (!IsCharacter(strLandKurz, true)) {
          result = Message(msg::kIbanCountryNotUpper);
          return;
        }
        const detail::IbanCountry* country = detail::FindIbanCountry(strLandKurz);
        if (country == nullptr) {
          result = Message(msg::kIbanCountryUnknown);
          return;
        }
        bool account_extended = false;
        if (strLandKurz == "DE" && GermanAccountNeedsSuffix(strBLZ_, strKONT)) {
          strKONT += "00";
          account_extended = true;
        }

        std::string iban;
        if (build) {
          const std::string bank = ZeroPaddedRight(strBLZ_, country->bank_length);
          const std::string account = ZeroPaddedRight(strKONT, country->account_length);
          iban = strLandKurz + getPruefziffer(strLandKurz + "00" + bank + account) + bank + account;
        } else {
          const size_t length = text::Length(strIBAN);
          const size_t expected = static_cast<size_t>(country->IbanLength());
          if (length > expected) {
            result = Message(msg::kIbanTooLong);
            return;
          }
          if (length < expected) {
            result = Message(msg::kIbanTooShort);
            return;
          }
          const std::string given = text::Mid(strIBAN, 3, 2);
          // Two digits, as nearly every IBAN has them, need no reading as a number.
          const bool two_digits = given.size() == 2 &&
                                  std::isdigit(static_cast<unsigned char>(given[0])) &&
                                  std::isdigit(static_cast<unsigned char>(given[1]));
          if (!two_digits && !IsNumeric(Variant(given))) {
            result = Message(msg::kIbanCheckDigitsNotNumeric);
            return;
          }
          const std::string computed = getPruefziffer(strIBAN);
          if (given != computed) {
            result = Message(msg::kIbanCheckDigitsWrong) + " (" + given + "<>" + computed + ")";
            return;
          }
          const size_t bank_length = static_cast<size_t>(country->bank_length);
          strBLZ_ = RubLeadingZero(text::Mid(strIBAN, 5, bank_length));
          strKONT = RubLeadingZero(text::Mid(strIBAN, 5 + bank_length));
          if (account_extended && GermanAccountCarriesSuffix(strBLZ_, strKONT)) {
            strKONT.resize(strKONT.size() - 2);
          }
          iban = strIBAN;
        }

        // With the check digits computed from letters and digits only, a point or a comma has
        // already failed above; the test stays so that the messages keep their order should the
        // computation ever accept more.
        const size_t misfit = detail::FirstBbanMismatch(*country, std::string_view(iban).substr(4));
        if (iban.find('.') != std::string::npos) {
          result = Message(msg::kIbanInvalidCharacter) + "\".\"'";
        } else if (iban.find(',') != std::string::npos) {
          result = Message(msg::kIbanInvalidCharacter) + "\",\"'";
        } else if (misfit != std::string_view::npos && country->numeric_only) {
          // Digits only, not the platform's number test: that one would let an exponent letter
          // ("E", "D") through as part of a number.
          result = Message(msg::kIbanNotNumeric);
        } else if (misfit != std::string_view::npos) {
          // A letter where the registry has a digit (or the reverse): the bank would refuse it.
          result = Message(msg::kIbanInvalidCharacter) + "\"" + iban.substr(4 + misfit, 1) + "\"'";
        } else {
          result = iban;
        }
      },
      &number, &description);
  if (!completed) {
    result = text::Replace(
        Message(msg::kIbanCheckerError) + description + " (" + std::to_string(number) + ")", "\r\n",
        " / ");
  }
  return result;
}

}  // namespace lastora
