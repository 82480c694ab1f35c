#include "generation/cover_sheet.h"

#include "core/cents.h"
#include "core/text.h"
#include "generation/fixed_width.h"

namespace lastora::generation {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr size_t kLabelWidth = 26;  // with the leading blank and ": " every value starts in 30
constexpr size_t kRuleLength = 75;
constexpr size_t kPlaceStart = 7;  // after a five-digit postcode and a blank

class Sheet {
 public:
  Sheet& Line(std::string_view text = "") {
    out_.append(text).append(kCrLf);
    return *this;
  }
  Sheet& Labelled(std::string_view label, std::string_view value) {
    out_ += ' ';
    text::AppendPadRight(out_, label, kLabelWidth);
    out_.append(": ").append(value).append(kCrLf);
    return *this;
  }
  Sheet& Rule() { return Line(std::string(kRuleLength, '-')); }
  Sheet& Empty(int lines) {
    for (int i = 0; i < lines; ++i) Line();
    return *this;
  }
  std::string Finish() {
    out_ += kCrLf;
    return std::move(out_);
  }

 private:
  std::string out_;
};

// The place, the date and the signature block the bank wants to see under every order.
void AppendSignature(Sheet& sheet, const CoverSheetData& data) {
  const Sender& sender = data.sender;
  sheet.Line(" " + text::Mid(sender.postcode_place, kPlaceStart) + ", den " + data.today);
  sheet.Empty(3);
  sheet.Line(" " + std::string(34, '_'));
  sheet.Line(" Unterschrift(en) des Auftraggebers");
  sheet.Empty(1);
  sheet.Line(" " + sender.name).Line(" " + sender.street).Line(" " + sender.postcode_place);
  sheet.Line(" Tel. " + sender.phone);
}

std::string Sum(int64_t cents) { return money::CentsText(cents, ','); }

}  // namespace

std::string SepaCoverSheet(const SepaCoverSheetData& data) {
  const CoverSheetData& common = data.common;
  Sheet sheet;
  sheet.Line(" SEPA BEGLEITZETTEL").Empty(1);
  sheet.Labelled("Auftrag", "SEPA Sammel-" + common.order_text);
  sheet.Labelled("Dateiname", common.data_file_name).Rule();
  sheet.Line(" " + text::UCase(common.order_text + "en"));
  sheet.Labelled("Datei-ID", data.message_id);
  sheet.Labelled("Datum/Zeit", data.run_stamp).Rule();
  sheet.Labelled("Sammelreferenz", data.payment_info_id);
  sheet.Labelled("Bank-Code", data.own_bic);
  sheet.Labelled("Kontonummer", data.own_iban);
  sheet.Labelled("Auftraggeberdaten", data.own_name);
  sheet.Labelled("Anzahl der Zahlungssaetze", std::to_string(common.count));
  sheet.Labelled("Summe der Betraege (EUR)", Sum(common.sum_cents));
  sheet.Labelled("Ausfuehrungstermin", data.execution_date).Rule().Empty(2);
  AppendSignature(sheet, common);
  return sheet.Finish();
}

std::string DtausCoverSheet(const DtausCoverSheetData& data) {
  const CoverSheetData& common = data.common;
  Sheet sheet;
  sheet.Line(" Belegloser Datenträgeraustausch - Begleitschein").Empty(1);
  sheet.Line(" " + common.order_text + "en").Empty(1);
  sheet.Labelled("Erstellungsdatum", common.today);
  sheet.Labelled("Auftraggeber", data.party_name).Empty(1);
  sheet.Labelled("Auftrag an", data.party_bank_code);
  sheet.Labelled("gesichert als", common.data_file_name).Rule();
  sheet.Labelled("Anzahl Datensätze", std::to_string(common.count));
  sheet.Labelled("Summe der Zahlungen", Sum(common.sum_cents) + " EURO");
  sheet.Labelled("Summe der Kontonummern", std::to_string(data.account_sum));
  sheet.Labelled("Summe der Bankleitzahlen", std::to_string(data.bank_code_sum));
  sheet.Labelled("Auftraggeber Konto-Nr.", data.party_account);
  sheet.Labelled("Auftraggeber Bankleitzahl", data.party_bank_code).Empty(1);
  sheet.Labelled("Ausführung am", data.execution_date).Empty(2);
  AppendSignature(sheet, common);
  return sheet.Finish();
}

}  // namespace lastora::generation
