// Reads SEPA payment documents back into the result table: header data into the settings, one
// row per transaction, stated and counted figures side by side, then the account checks.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "checkers/file_checkers.h"
#include "checkers/result_table.h"
#include "checkers/sepa_text.h"
#include "component/catalogue.h"
#include "component/message_ids.h"
#include "core/cents.h"
#include "core/text.h"
#include "lastora/payment_table.h"
#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

namespace rt = result_table;
using sepa_text::Between;
using sepa_text::XmlValue;

struct TagPair {
  std::string_view open;
  std::string_view close;
};

// The fields read from every transaction, in the order of this enumeration.
enum TransactionField {
  kFieldName,
  kFieldIban,
  kFieldBic,
  kFieldReference,
  kFieldAmount,
  kFieldRemittance,
  kFieldMandate,
  kFieldMandateDate,
  kFieldCount
};

constexpr std::array<TagPair, kFieldCount> TransactionFields(std::string_view counterparty_name) {
  return {{{counterparty_name, "</Nm>"},
           {"<IBAN>", "</IBAN>"},
           {"<BIC>", "</BIC>"},
           {"<EndToEndId>", "</EndToEndId>"},
           {"<InstdAmt Ccy=\"EUR\">", "</InstdAmt>"},
           {"<Ustrd>", "</Ustrd>"},
           {"<MndtId>", "</MndtId>"},
           {"<DtOfSgntr>", "</DtOfSgntr>"}}};
}

// Where the two kinds of document keep the ordering party, the date and the transactions.
struct DocumentKind {
  std::string_view party_name;
  std::string_view party_iban;
  std::string_view party_bic;
  std::string_view date_open;
  std::string_view date_close;
  std::string_view transaction_open;
  std::string_view transaction_close;
  std::array<TagPair, kFieldCount> fields;  // within one transaction
  bool has_mandate;
};

constexpr DocumentKind kDirectDebit{"<Cdtr><Nm>",
                                    "<CdtrAcct><Id><IBAN>",
                                    "<CdtrAgt><FinInstnId><BIC>",
                                    "<ReqdColltnDt>",
                                    "</ReqdColltnDt>",
                                    "<DrctDbtTxInf>",
                                    "</DrctDbtTxInf>",
                                    TransactionFields("<Dbtr><Nm>"),
                                    true};
constexpr DocumentKind kCreditTransfer{"<Dbtr><Nm>",
                                       "<DbtrAcct><Id><IBAN>",
                                       "<DbtrAgt><FinInstnId><BIC>",
                                       "<ReqdExctnDt>",
                                       "</ReqdExctnDt>",
                                       "<CdtTrfTxInf>",
                                       "</CdtTrfTxInf>",
                                       TransactionFields("<Cdtr><Nm>"),
                                       false};

// A transaction's text begins 14 characters after the start of its opening tag, for both kinds.
// Behind the one character shorter "<CdtTrfTxInf>" this drops the first character of the
// content, which in the joined text is always the "<" of a tag no field is read from.
constexpr size_t kTransactionTextOffset = 14;

// Every transaction names its debtor or creditor once and the payment block names the other
// party once, so the party tags count the transactions of a one-block document.
constexpr std::string_view kDebtorEnd = "</Dbtr>";
constexpr std::string_view kCreditorEnd = "</Cdtr>";

// The settings that belong to the first or the second file.
struct FileFields {
  SEPAVALUES SEPAVARIABLEN::*status;
  SEPAVALUES SEPAVARIABLEN::*message_id;
  SEPAVALUES SEPAVARIABLEN::*sequence_type;
  SEPAVALUES SEPAVARIABLEN::*payment_info_id;
  SEPAVALUES SEPAVARIABLEN::*date;
  SEPAVALUES SEPAVARIABLEN::*stated_count;
  SEPAVALUES SEPAVARIABLEN::*stated_sum;
  SEPAVALUES SEPAVARIABLEN::*read_count;
  SEPAVALUES SEPAVARIABLEN::*read_sum;
};

constexpr std::array<FileFields, 2> kFileFields = {{
    {&SEPAVARIABLEN::ProgChecPAO1, &SEPAVARIABLEN::SepaFMI1, &SEPAVARIABLEN::SepaLAR1,
     &SEPAVARIABLEN::SepaFPI1, &SEPAVARIABLEN::SepaADA1, &SEPAVARIABLEN::ProgChecKAN1,
     &SEPAVARIABLEN::ProgChecKSU1, &SEPAVARIABLEN::ProgChecDAN1, &SEPAVARIABLEN::ProgChecDSU1},
    {&SEPAVARIABLEN::ProgChecPAO2, &SEPAVARIABLEN::SepaFMI2, &SEPAVARIABLEN::SepaLAR2,
     &SEPAVARIABLEN::SepaFPI2, &SEPAVARIABLEN::SepaADA2, &SEPAVARIABLEN::ProgChecKAN2,
     &SEPAVARIABLEN::ProgChecKSU2, &SEPAVARIABLEN::ProgChecDAN2, &SEPAVARIABLEN::ProgChecDSU2},
}};

constexpr std::array<SEPAVALUES SEPAVARIABLEN::*, 14> kCountersStartingAtZero = {
    &SEPAVARIABLEN::ProgChecDANZ, &SEPAVARIABLEN::ProgChecDAN1, &SEPAVARIABLEN::ProgChecDAN2,
    &SEPAVARIABLEN::ProgChecDSUM, &SEPAVARIABLEN::ProgChecDSU1, &SEPAVARIABLEN::ProgChecDSU2,
    &SEPAVARIABLEN::ProgChecKSU1, &SEPAVARIABLEN::ProgChecKSU2, &SEPAVARIABLEN::ProgChecKAN1,
    &SEPAVARIABLEN::ProgChecKAN2, &SEPAVARIABLEN::ProgChecFehl, &SEPAVARIABLEN::ProgChecWarn,
    &SEPAVARIABLEN::ProgChecZeic, &SEPAVARIABLEN::ProgChecUmla};

// The figures of one file, kept as numbers so the totals never re-read their own texts.
struct FileFigures {
  std::string stated_count = "0";
  double stated_sum = 0;
  int32_t read_count = 0;
  int64_t read_cents = 0;
};

// Most fields hold no reference: their text goes into the cell without a string of its own, which
// for a payment file of a million debits is millions of allocations fewer.
Variant FieldCell(std::string_view raw) {
  if (raw.find('&') == std::string_view::npos) return Variant(raw);
  return Variant(XmlValue(raw));
}

bool TakesPart(const std::string& file) { return !file.empty() && file != "-"; }

// Whether `tag` (which begins with "<") stands at `pos`, where text has a "<". The second
// character settles almost every comparison without a call to memcmp.
bool TagAt(std::string_view text, size_t pos, std::string_view tag) {
  if (text.size() - pos < tag.size() || text[pos + 1] != tag[1]) return false;
  // By hand: a tag is a few characters long, shorter than a call to memcmp takes to set up.
  for (size_t i = 2; i < tag.size(); ++i) {
    if (text[pos + i] != tag[i]) return false;
  }
  return true;
}

// A tag to count, and the index of its letter that is rarest in a payment document: memchr runs
// fast over the long stretches between those letters, and each hit is compared whole.
struct CountedTag {
  std::string_view tag;
  size_t rare_letter;
};

// "b" stands in debtor tags only; "C" in creditor tags and the currency attribute.
constexpr std::array<CountedTag, 2> kPartyTags = {{{kDebtorEnd, 3}, {kCreditorEnd, 2}}};

size_t Occurrences(std::string_view text, const CountedTag& counted) {
  const std::string_view tag = counted.tag;
  const char letter = tag[counted.rare_letter];
  size_t count = 0;
  for (size_t at = text.find(letter, counted.rare_letter); at != std::string_view::npos;
       at = text.find(letter, at + 1)) {
    if (text.compare(at - counted.rare_letter, tag.size(), tag) == 0) ++count;
  }
  return count;
}

size_t CountPartyTags(std::string_view text) {
  return Occurrences(text, kPartyTags[0]) + Occurrences(text, kPartyTags[1]);
}

// Where one transaction ends and where its fields stand in it.
struct TransactionScan {
  size_t close = std::string_view::npos;
  std::array<size_t, kFieldCount> field_open;
};

// The fields whose opening tag has a given character after its "<", as a bit set: one look at
// that character rules out all fields but one or two.
using FieldSet = uint16_t;
using FieldIndex = std::array<FieldSet, 256>;
static_assert(kFieldCount <= 16);

FieldIndex IndexBySecondCharacter(const DocumentKind& kind) {
  FieldIndex index{};
  for (size_t i = 0; i < kFieldCount; ++i) {
    index[static_cast<unsigned char>(kind.fields[i].open[1])] |= FieldSet{1} << i;
  }
  return index;
}

// One pass over the tags from `start` to the closing tag, instead of one search per field.
TransactionScan ScanTransaction(std::string_view text, size_t start, const DocumentKind& kind,
                                const FieldIndex& index) {
  constexpr size_t npos = std::string_view::npos;
  TransactionScan scan;
  scan.field_open.fill(npos);
  FieldSet missing = (FieldSet{1} << kFieldCount) - 1;
  for (size_t pos = text.find('<', start); pos != npos && pos + 1 < text.size();
       pos = text.find('<', pos + 1)) {
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    if (TagAt(text, pos, kind.transaction_close)) {
      scan.close = pos;
      break;
    }
    for (FieldSet candidates = index[second] & missing; candidates != 0;
         candidates &= candidates - 1) {
      const int field = std::countr_zero(candidates);
      if (TagAt(text, pos, kind.fields[field].open)) {
        scan.field_open[field] = pos;
        missing &= ~(FieldSet{1} << field);
      }
    }
  }
  return scan;
}

// A decimal text of the document ("12.50") read the way the user's sheet reads it.
bool ReadDecimal(std::string_view xml_number, double* value) {
  const Variant number(text::Replace(xml_number, ".", ","));
  if (!IsNumeric(number)) return false;
  *value = CDbl(number);
  return std::isfinite(*value);
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// An amount as payment files write it ("12.50", "3", "0.5") in cents, read exactly; the same
// cents as the user's number format gives, without its cost for every row.
bool PlainAmountCents(std::string_view amount, int64_t* cents) {
  constexpr size_t kMostWholeDigits = 12;  // far inside the range of whole cents
  const size_t point = amount.find('.');
  const std::string_view whole = amount.substr(0, point);
  const std::string_view decimals =
      point == std::string_view::npos ? std::string_view() : amount.substr(point + 1);
  if (whole.empty() || whole.size() > kMostWholeDigits || !AllDigits(whole)) return false;
  if (point != std::string_view::npos && (decimals.empty() || decimals.size() > 2)) return false;
  if (!AllDigits(decimals)) return false;
  int64_t value = 0;
  for (char digit : whole) value = value * 10 + (digit - '0');
  const int64_t tens = decimals.empty() ? 0 : decimals[0] - '0';
  const int64_t ones = decimals.size() < 2 ? 0 : decimals[1] - '0';
  *cents = value * 100 + tens * 10 + ones;
  return true;
}

// A transaction's amount in cents; false when it is no number. Digits the plain form does not
// take ("1.235") are rounded as the text says, not as its binary value lies.
bool AmountCents(std::string_view amount, int64_t* cents) {
  if (PlainAmountCents(amount, cents)) return true;
  double value = 0;
  if (!ReadDecimal(amount, &value)) return false;
  *cents = money::ToCents(value);
  return true;
}

// A stated count for the totals; a count that is no whole number in range adds nothing.
int64_t StatedCount(const std::string& stated) {
  double value = 0;
  if (!ReadDecimal(stated, &value) || std::fabs(value) > 2147483647.0) return 0;
  return static_cast<int64_t>(std::nearbyint(value));
}

// "2013-08-10T13:07:06.000Z" as "10.08.2013 13:07:06"; a text that is no date stays as it is.
std::string CreationStamp(std::string stamp) {
  if (stamp.ends_with('Z')) stamp.pop_back();
  if (stamp.ends_with(".000")) stamp.resize(stamp.size() - 4);
  stamp = text::Replace(stamp, "T", " ");
  const Variant value(stamp);
  if (!IsDate(value)) return stamp;
  const Variant date = Variant::Date(CDate(value));
  return Format(date, "DD.MM.YYYY") + " " + Format(date, "hh:mm:ss");
}

std::string DayMonthYear(const std::string& date_text) {
  const Variant value(date_text);
  if (!IsDate(value)) return date_text;
  return Format(Variant::Date(CDate(value)), "DD.MM.YYYY");
}

class SepaCheck {
 public:
  SepaCheck(Class1& self, RunContext& run, Table& values, Table& colours, Table& blz_intern,
            Table& blz_new)
      : self_(self),
        run_(run),
        values_(values),
        colours_(colours),
        blz_intern_(blz_intern),
        blz_new_(blz_new) {}

  // The totals are formed however the work ends, a trapped failure included.
  RunEnd Run(const std::array<std::string, 2>& files) {
    try {
      const RunEnd end = Work(files);
      FormTotals();
      return end;
    } catch (...) {
      FormTotals();
      throw;
    }
  }

 private:
  SEPAVARIABLEN& settings() { return run_.settings; }
  SEPAVALUES& FileSetting(int k, SEPAVALUES SEPAVARIABLEN::*FileFields::*field) {
    return settings().*(kFileFields[k].*field);
  }

  RunEnd Work(const std::array<std::string, 2>& files) {
    for (SEPAVALUES SEPAVARIABLEN::*counter : kCountersStartingAtZero) {
      (settings().*counter).Value = "0";
    }
    for (int k = 0; k < 2; ++k) {
      if (TakesPart(files[k]) && !Load(k, files[k])) return RunEnd::kStopped;
    }
    rt::LayOut(figures_[0].read_count + figures_[1].read_count, values_, colours_);
    for (int k = 0; k < 2; ++k) {
      if (TakesPart(files[k]) && !ReadDocument(k)) return RunEnd::kStopped;
    }
    // Several payment blocks state more party tags than transactions: rows without a
    // transaction would only collect wrong-IBAN marks.
    if (rows_read_ >= 1 && rows_read_ != values_.RowCount()) {
      values_.ResizeRows(rows_read_);
      colours_.ResizeRows(rows_read_);
    }
    LookUpBics();
    CheckIbans();
    return RunEnd::kFinished;
  }

  bool Load(int k, const std::string& file) {
    FileSetting(k, &FileFields::status).Value = "ok";
    // The file is read twice, by the structure check and for the text, a window at a time: both
    // find it in the system's cache, and neither holds it whole. A file that cannot be read fails
    // the structure check, worded as for a broken document.
    const std::string complaint = self_.SEPA_Check_XMLStruktur(file);
    if (!complaint.empty()) {
      run_.result = Message(msg::kXmlParserError) + ": " + complaint;
      FileSetting(k, &FileFields::status).Value = run_.result;
      return false;
    }
    texts_[k] = sepa_text::ReadJoinedLines(file);
    const int64_t expected = static_cast<int64_t>(CountPartyTags(texts_[k])) - 1;
    if (expected > INT32_MAX) throw VbError(6);
    figures_[k].read_count = static_cast<int32_t>(expected);
    FileSetting(k, &FileFields::read_count).Value = CStr(Variant(figures_[k].read_count));
    return true;
  }

  bool ReadDocument(int k) {
    const std::string_view text = texts_[k];
    settings().Import__MDAT.Value =
        CreationStamp(XmlValue(Between(text, "<CreDtTm>", "</CreDtTm>")));
    const DocumentKind& kind = ReadKind(text);
    settings().KreditorNAME.Value = XmlValue(Between(text, kind.party_name, "</Nm>"));
    settings().KreditorIBAN.Value = XmlValue(Between(text, kind.party_iban, "</IBAN>"));
    settings().KreditorBIC_.Value = XmlValue(Between(text, kind.party_bic, "</BIC>"));
    if (kind.has_mandate) {
      settings().KreditorID__.Value = XmlValue(Between(text, "<PrvtId><Othr><Id>", "</Id>"));
    }
    FileSetting(k, &FileFields::date).Value =
        DayMonthYear(XmlValue(Between(text, kind.date_open, kind.date_close)));
    FileSetting(k, &FileFields::message_id).Value = XmlValue(Between(text, "<MsgId>", "</MsgId>"));
    FileSetting(k, &FileFields::sequence_type).Value =
        XmlValue(Between(text, "<SeqTp>", "</SeqTp>"));
    FileSetting(k, &FileFields::payment_info_id).Value =
        XmlValue(Between(text, "<PmtInfId>", "</PmtInfId>"));
    figures_[k].stated_count = XmlValue(Between(text, "<NbOfTxs>", "</NbOfTxs>"));
    FileSetting(k, &FileFields::stated_count).Value = figures_[k].stated_count;
    // The control sum is optional in both schemas; a document without one states nothing.
    if (ReadDecimal(Between(text, "<CtrlSum>", "</CtrlSum>"), &figures_[k].stated_sum)) {
      FileSetting(k, &FileFields::stated_sum).Value = CStr(Variant(figures_[k].stated_sum));
    }

    const int32_t rows_before = rows_read_;
    int64_t cents = 0;
    if (!ReadTransactions(kind, text, &cents)) return false;
    figures_[k].read_cents = cents;
    figures_[k].read_count = rows_read_ - rows_before;
    FileSetting(k, &FileFields::read_sum).Value = rt::SumText(cents);
    FileSetting(k, &FileFields::read_count).Value = CStr(Variant(figures_[k].read_count));
    std::string().swap(texts_[k]);
    return true;
  }

  // The payment method decides between the kinds; only a document without one falls back on
  // the local instrument, where a missing code means a credit transfer.
  const DocumentKind& ReadKind(std::string_view text) {
    const std::string_view method = Between(text, "<PmtMtd>", "</PmtMtd>");
    const std::string_view code = Between(text, "<LclInstrm><Cd>", "</Cd>");
    const bool transfer = method == "TRF" || (method != "DD" && code != "CORE" && code != "B2B");
    settings().SepaAART.Value = transfer        ? Message(msg::kCreditTransfer)
                                : code == "B2B" ? Message(msg::kB2bDebit)
                                                : Message(msg::kCoreDebit);
    return transfer ? kCreditTransfer : kDirectDebit;
  }

  bool ReadTransactions(const DocumentKind& kind, std::string_view text, int64_t* cents) {
    constexpr size_t npos = std::string_view::npos;
    const FieldIndex index = IndexBySecondCharacter(kind);
    for (size_t open = text.find(kind.transaction_open); open != npos;) {
      const size_t start = std::min(open + kTransactionTextOffset, text.size());
      const TransactionScan scan = ScanTransaction(text, start, kind, index);
      if (scan.close == npos) {
        run_.result = Message(msg::kNoTransactionsInXml);
        return false;
      }
      ++rows_read_;
      rt::EnsureRow(rows_read_, values_, colours_);
      *cents += WriteRow(rows_read_, kind, text.substr(0, scan.close), scan);
      // A transaction holds no other; an opening tag inside one (in a comment, say) starts
      // nothing, and every byte is scanned once however many of them there are.
      open = text.find(kind.transaction_open, scan.close);
    }
    return true;
  }

  // Returns the row's amount in cents (0 when the amount is not a number).
  int64_t WriteRow(int32_t row, const DocumentKind& kind, std::string_view up_to_close,
                   const TransactionScan& scan) {
    // A field's text as it stands in the document, references unresolved.
    const auto raw = [&](TransactionField f) {
      if (scan.field_open[f] == std::string_view::npos) return std::string_view();
      const size_t from = scan.field_open[f] + kind.fields[f].open.size();
      const size_t to = up_to_close.find(kind.fields[f].close, from);
      if (to == std::string_view::npos) return std::string_view();
      return up_to_close.substr(from, to - from);
    };
    const auto cell = [&](TransactionField f) { return FieldCell(raw(f)); };
    Variant iban = cell(kFieldIban);
    values_(row, payment_table::kNumber) = Variant(row);
    values_(row, payment_table::kName) = cell(kFieldName);
    values_(row, payment_table::kCountry) = text::Left(iban.AsString(), 2);
    values_(row, payment_table::kIban) = std::move(iban);
    values_(row, payment_table::kBic) = cell(kFieldBic);
    values_(row, payment_table::kPaymentId) = cell(kFieldReference);
    if (kind.has_mandate) {
      values_(row, payment_table::kMandateId) = cell(kFieldMandate);
      values_(row, payment_table::kMandateDate) = cell(kFieldMandateDate);
    }
    values_(row, payment_table::kRemittanceLines) = cell(kFieldRemittance);
    const std::string amount = XmlValue(raw(kFieldAmount));
    int64_t cents = 0;
    // A bank books no payment of nothing or less; such an amount adds nothing to the sum read.
    if (!AmountCents(amount, &cents) || cents < 1) {
      MarkError(row, payment_table::kAmount, "Betrag ungültig: '" + amount + "'");
      return 0;
    }
    values_(row, payment_table::kAmount) = rt::AmountText(cents);
    return cents;
  }

  void MarkError(int32_t row, int32_t column, const std::string& message) {
    colours_(row, column) = Variant(payment_table::kErrorColour);
    Variant& errors = values_(row, payment_table::kErrors);
    const std::string present = CStr(errors);
    errors = present.empty() ? message : present + ", " + message;
    ++row_errors_;
  }

  void LookUpBics() {
    const std::string& yes = Message(msg::kYes);
    if (settings().ProgChecBLZ_.Value.find(yes) == std::string::npos) return;
    if (settings().ProgBLZ_Inte.Value.find(yes) == std::string::npos) return;
    const auto look_up = [&](const std::string& source) {
      return self_.Check_BIC(8, 4, 6, 5, source, settings(), values_, colours_, blz_intern_,
                             blz_new_);
    };
    if (look_up("intern") != "ok") look_up("extern");
  }

  void CheckIbans() {
    for (int32_t row = 1; row <= rows_read_; ++row) {
      const std::string iban = CStr(values_(row, payment_table::kIban));
      const std::string checked = self_.Get_IBAN(iban);
      if (checked != iban) MarkError(row, payment_table::kIban, checked);
    }
    settings().ProgChecFehl.Value = CStr(Variant(row_errors_));
  }

  void FormTotals() {
    const FileFigures& first = figures_[0];
    const FileFigures& second = figures_[1];
    settings().ProgChecDSUM.Value = rt::SumText(first.read_cents + second.read_cents);
    settings().ProgChecKSUM.Value = CStr(Variant(first.stated_sum + second.stated_sum));
    settings().ProgChecDANZ.Value = CStr(Variant(first.read_count + second.read_count));
    settings().ProgChecKANZ.Value =
        std::to_string(StatedCount(first.stated_count) + StatedCount(second.stated_count));
  }

  Class1& self_;
  RunContext& run_;
  Table& values_;
  Table& colours_;
  Table& blz_intern_;
  Table& blz_new_;
  std::array<std::string, 2> texts_;  // the joined text of each file until it has been read
  std::array<FileFigures, 2> figures_;
  int32_t rows_read_ = 0;  // running number over both files
  int32_t row_errors_ = 0;
};

}  // namespace

RunEnd CheckSepaFiles(Class1& self, RunContext& run, Table& aZielValues, Table& aZielColors,
                      Table& aBLZintern, Table& aBLZnew, const std::string& strDTAFile1,
                      const std::string& strDTAFile2) {
  SepaCheck check(self, run, aZielValues, aZielColors, aBLZintern, aBLZnew);
  return check.Run({strDTAFile1, strDTAFile2});
}

}  // namespace lastora
