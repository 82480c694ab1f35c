// Reads a DTAUS transfer file back into the result table and verifies its trailer against the
// payments read.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checkers/file_checkers.h"
#include "checkers/result_table.h"
#include "component/catalogue.h"
#include "component/message_ids.h"
#include "core/files.h"
#include "core/text.h"
#include "formats/dtaus_record_layout.h"
#include "lastora/payment_table.h"
#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

namespace rt = result_table;

// The header and the trailer both begin with this record length.
constexpr std::string_view kShortRecordLength = "0128";
constexpr size_t kLengthFieldWidth = 4;

// The remittance line that the processing run puts second, read back from extension 1.
constexpr std::string_view kPaymentIdLine = "Payment-ID";
constexpr std::string_view kMandateLine = "Mandat-ID";

std::string_view FieldOf(std::string_view record, const dtaus::Field& field) {
  if (field.position > record.size()) return {};
  return record.substr(field.position - 1, field.width);
}

// Fields are Windows-1252 text, nearly always plain ASCII, which needs no conversion.
std::string TextOf(std::string_view bytes) {
  const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return ascii ? std::string(bytes) : text::FromWindows1252(bytes);
}

// The blank is one byte in Windows-1252, so the padding goes before the conversion.
std::string_view WithoutBlanks(std::string_view bytes) {
  while (!bytes.empty() && bytes.front() == ' ') bytes.remove_prefix(1);
  while (!bytes.empty() && bytes.back() == ' ') bytes.remove_suffix(1);
  return bytes;
}

std::string TrimmedField(std::string_view record, const dtaus::Field& field) {
  return TextOf(WithoutBlanks(FieldOf(record, field)));
}

// Digits, with blanks around them allowed; nothing else.
std::optional<int64_t> WholeNumber(std::string_view field) {
  field = WithoutBlanks(field);
  constexpr size_t kMostDigits = 18;  // stays inside int64_t
  if (field.empty() || field.size() > kMostDigits) return std::nullopt;
  int64_t value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// A field the trailer arithmetic needs: not a number is a type mismatch, as on the platform.
int64_t RequiredNumber(std::string_view field) {
  const std::optional<int64_t> value = WholeNumber(field);
  if (!value) throw VbError(13);
  return *value;
}

std::string Quoted(const std::string& line) { return "\"" + line + "\""; }

struct PaymentRecord {
  size_t offset;
  int extensions;
};

// The payment records between header and trailer, found by following their record lengths.
struct RecordChain {
  std::vector<PaymentRecord> payments;
  std::optional<size_t> trailer;  // absent when the chain broke before a whole trailer
};

RecordChain FollowRecords(std::string_view file) {
  RecordChain chain;
  size_t offset = dtaus::kBlockLength;
  while (offset < file.size()) {
    const std::string_view length = file.substr(offset, kLengthFieldWidth);
    if (length == kShortRecordLength) {
      if (file.size() - offset >= dtaus::kBlockLength) chain.trailer = offset;
      break;
    }
    const int extensions = dtaus::ExtensionsForLengthValue(length);
    if (extensions < 0) break;
    const size_t record_length = dtaus::CRecordFileLength(extensions);
    if (file.size() - offset < record_length) break;
    chain.payments.push_back({offset, extensions});
    offset += record_length;
  }
  return chain;
}

class DtausCheck {
 public:
  DtausCheck(Class1& self, RunContext& run, Table& values, Table& colours, bool external)
      : self_(self), run_(run), values_(values), colours_(colours), external_(external) {}

  RunEnd Run(const std::string& file_name) {
    for (SEPAVALUES* counter :
         {&settings().ProgChecDANZ, &settings().ProgChecDSUM, &settings().ProgChecFehl,
          &settings().ProgChecWarn, &settings().ProgChecZeic, &settings().ProgChecUmla}) {
      counter->Value = "0";
    }
    self_.lngAnz = 0;
    const std::string file = files::ReadWhole(file_name);
    if (!file.starts_with(kShortRecordLength)) return Stop(Message(msg::kDtausWrongFormat));
    const std::string_view bytes = file;
    ReadHeader(bytes.substr(0, dtaus::kBlockLength));

    const RecordChain chain = FollowRecords(bytes);
    const int64_t count = static_cast<int64_t>(chain.payments.size());
    if (count > INT32_MAX) throw VbError(6);
    settings().ProgChecDANZ.Value = std::to_string(count);
    if (count == 0)
      return Stop(chain.trailer ? std::string("Fehler") : Message(msg::kDtausNoPaymentRecord));
    rt::LayOut(static_cast<int32_t>(count), values_, colours_);
    for (const PaymentRecord& payment : chain.payments) {
      const size_t length = dtaus::CRecordFileLength(payment.extensions);
      ReadPayment(bytes.substr(payment.offset, length), payment.extensions);
    }
    if (!chain.trailer) return Stop(Message(msg::kDtausNoPaymentRecord));

    CheckTrailer(bytes.substr(*chain.trailer, dtaus::kBlockLength), count);
    settings().ProgChecDANZ.Value = std::to_string(self_.lngAnz);
    settings().ProgChecISUM.Value = std::to_string(account_sum_);
    settings().ProgChecBSUM.Value = std::to_string(bank_code_sum_);
    if (!trailer_failed_) settings().ProgChecPAOK.Value = "ok";
    return RunEnd::kFinished;
  }

 private:
  SEPAVARIABLEN& settings() { return run_.settings; }

  // The status field tells the caller the same as the result, so it never keeps the "ok" of
  // an earlier check.
  RunEnd Stop(const std::string& why) {
    run_.result = why;
    settings().ProgChecPAOK.Value = why;
    return RunEnd::kStopped;
  }

  void ReadHeader(std::string_view header) {
    const std::string code = TrimmedField(header, dtaus::kARecord[dtaus::kA3]);
    settings().SepaAART.Value =
        std::string(code.starts_with('G') ? "Gutschrift " : "Lastschrift ") +
        (code.ends_with('K') ? "Kundendiskette" : "Bankdiskette");
    settings().KreditorNAME.Value = TrimmedField(header, dtaus::kARecord[dtaus::kA6]);
    const std::string bank_code = TrimmedField(header, dtaus::kARecord[dtaus::kA4]);
    settings().KreditorBIC_.Value = bank_code;
    settings().KreditorIBAN.Value = bank_code;
    settings().SepaFMID.Value = TextOf(FieldOf(header, dtaus::kARecord[dtaus::kA10]));
    const std::string created = TextOf(FieldOf(header, dtaus::kARecord[dtaus::kA7]));
    settings().Import__MDAT.Value = text::Mid(created, 1, 2) + "." + text::Mid(created, 3, 2) +
                                    ".20" + text::Mid(created, 5, 2);
    const std::string execution = TextOf(FieldOf(header, dtaus::kARecord[dtaus::kA11b]));
    settings().SepaADAT.Value = text::Mid(execution, 1, 2) + "." + text::Mid(execution, 3, 2) +
                                "." + text::Mid(execution, 5, 4);
    euro_ = FieldOf(header, dtaus::kARecord[dtaus::kA12]) == "1";
  }

  void ReadPayment(std::string_view record, int extensions) {
    const int32_t row = ++self_.lngAnz;
    const auto c_field = [&](dtaus::CField field) { return dtaus::kCRecord[field]; };
    const std::string bank_code = TrimmedField(record, c_field(dtaus::kC4));
    const std::string account = TrimmedField(record, c_field(dtaus::kC5));
    values_(row, payment_table::kNumber) = Variant(row);
    values_(row, payment_table::kName) = TrimmedField(record, c_field(dtaus::kC14a));
    values_(row, payment_table::kAccountNumber) = account;
    values_(row, payment_table::kBankCode) = bank_code;
    values_(row, payment_table::kCountry) = "DE";
    std::string country = "DE";
    std::string iban_bank_code = bank_code;
    std::string iban_account = account;
    values_(row, payment_table::kIban) = self_.Get_IBAN("", country, iban_bank_code, iban_account);

    const std::string_view amount = FieldOf(record, c_field(euro_ ? dtaus::kC12 : dtaus::kC9));
    if (const std::optional<int64_t> cents = WholeNumber(amount)) {
      values_(row, payment_table::kAmount) = rt::AmountText(*cents);
      amount_cents_ += *cents;
    } else {
      // No bank books it; the row says so instead of reading as nothing paid.
      colours_(row, payment_table::kAmount) = Variant(payment_table::kErrorColour);
      values_(row, payment_table::kErrors) = "Betrag ungültig: '" + std::string(amount) + "'";
      ++row_errors_;
    }
    values_(row, payment_table::kRemittanceLines) = RemittanceLines(record, extensions);
    if (!external_) ReadReferences(row, record, extensions);
    account_sum_ += RequiredNumber(FieldOf(record, c_field(dtaus::kC5)));
    bank_code_sum_ += RequiredNumber(FieldOf(record, c_field(dtaus::kC4)));
  }

  static std::string_view ExtensionText(std::string_view record, int k) {
    const dtaus::Field text{"", dtaus::ExtensionPosition(k) + dtaus::kExtensionTypeWidth,
                            dtaus::kExtensionTextWidth, dtaus::Fill::kBlanksRight};
    return FieldOf(record, text);
  }

  // Every extension the record length announces is shown, whatever its type says, except the
  // blank ones at the end: writers fill the record's last block with them, and a line that was
  // never written must not come back as an empty one.
  static std::string RemittanceLines(std::string_view record, int extensions) {
    int last = extensions;
    while (last > 0 && WithoutBlanks(ExtensionText(record, last)).empty()) --last;
    std::string lines = Quoted(TrimmedField(record, dtaus::kCRecord[dtaus::kC16]));
    for (int k = 1; k <= last; ++k) {
      lines += ",";
      lines += Quoted(TextOf(WithoutBlanks(ExtensionText(record, k))));
    }
    return lines;
  }

  // Reads back the second remittance line of the processing run: the payment identifier or
  // the mandate reference behind their fixed words.
  void ReadReferences(int32_t row, std::string_view record, int extensions) {
    const std::string& choice = settings().SepaFuncVER2.Value;
    const std::string line = extensions >= 1 ? TextOf(ExtensionText(record, 1)) : std::string();
    const auto behind = [&](int word) {
      return text::Trim(text::Mid(line, text::Length(Message(word)) + 1));
    };
    if (choice == kPaymentIdLine)
      values_(row, payment_table::kPaymentId) = behind(msg::kPaymentIdLabel);
    if (choice == kMandateLine)
      values_(row, payment_table::kMandateId) = behind(msg::kMandateReferenceLabel);
  }

  // Each failing check replaces the result of an earlier one; reading has finished by then, so
  // the table is complete whatever the trailer says.
  void CheckTrailer(std::string_view trailer, int64_t count) {
    const auto e_field = [&](dtaus::EField field) {
      return FieldOf(trailer, dtaus::kERecord[field]);
    };
    const int64_t stated_count = RequiredNumber(e_field(dtaus::kE4));
    settings().ProgChecKANZ.Value = std::to_string(stated_count);
    Compare(138, settings().ProgChecKANZ.Value, std::to_string(count));

    const int64_t stated_cents = RequiredNumber(e_field(euro_ ? dtaus::kE8 : dtaus::kE5));
    settings().ProgChecKSUM.Value = rt::SumText(stated_cents);
    settings().ProgChecDSUM.Value = rt::SumText(amount_cents_);
    settings().ProgChecFehl.Value = std::to_string(row_errors_);
    Compare(139, settings().ProgChecKSUM.Value, settings().ProgChecDSUM.Value);

    Compare(140, std::to_string(RequiredNumber(e_field(dtaus::kE6))), std::to_string(account_sum_));
    Compare(141, std::to_string(RequiredNumber(e_field(dtaus::kE7))),
            std::to_string(bank_code_sum_));
  }

  void Compare(int message, const std::string& stated, const std::string& read) {
    if (stated == read) return;
    trailer_failed_ = true;
    run_.result = Message(message) + " (" + stated + " <> " + read + ")";
    settings().ProgChecPAOK.Value = run_.result;
  }

  Class1& self_;
  RunContext& run_;
  Table& values_;
  Table& colours_;
  int32_t row_errors_ = 0;
  const bool external_;
  bool euro_ = true;
  int64_t amount_cents_ = 0;
  int64_t account_sum_ = 0;
  int64_t bank_code_sum_ = 0;
  bool trailer_failed_ = false;
};

}  // namespace

RunEnd CheckDtausFile(Class1& self, RunContext& run, Table& aZielValues, Table& aZielColors,
                      const std::string& strDTAFile, bool boolExtern) {
  DtausCheck check(self, run, aZielValues, aZielColors, boolExtern);
  return check.Run(strDTAFile);
}

}  // namespace lastora
