// DTAUS files: German accounts only, each pass written twice (for transfer and for reading),
// even without payments, since the trailer's figures are the bank's confirmation of nothing.
#include <optional>

#include "core/text.h"
#include "generation/cell_text.h"
#include "generation/dtaus_writer.h"
#include "generation/file_names.h"
#include "generation/fixed_width.h"
#include "generation/payment_file_format.h"
#include "generation/remittance_text.h"
#include "lastora/payment_table.h"
#include "lastora/platform.h"

namespace lastora::generation {
namespace {

// DTAUS speaks bank code and account number; both come out of the club's IBAN. Banks whose
// code has a 4, 7 or 8 in its fourth digit keep two sub-account digits at the end of a German
// IBAN's account part that DTAUS does not know.
DtausOrderingParty OrderingPartyOf(const SEPAVARIABLEN& s) {
  const std::string& iban = s.KreditorIBAN.Value;
  std::string account = text::Right(iban, 10);
  const std::string bank_code = text::Mid(iban, 5, 8);
  const std::string fourth = text::Mid(bank_code, 4, 1);
  if ((fourth == "4" || fourth == "7" || fourth == "8") && text::Right(account, 2) == "00" &&
      text::Left(account, 1) == "0") {
    account = RightAligned(text::Left(account, 8), 10, '0');
  }
  DtausOrderingParty party;
  party.name = text::PadRight(s.KreditorNAME.Value, 27);
  party.bank_code = text::PadRight(bank_code, 8);
  party.account = text::PadRight(account, 10, "0");
  return party;
}

class DtausFormat : public PaymentFileFormat {
 public:
  explicit DtausFormat(GenerationContext& context)
      : c_(context),
        keep_closing_line_(!context.settings.SepaFuncVER2.Value.empty() &&
                           !context.settings.SepaFuncVER4.Value.empty()) {}

  std::optional<std::string> SettingsProblem() const override { return std::nullopt; }
  // The file carries only the last ten characters of the message id, as digits.
  std::optional<std::string> IdentifierProblem(std::string_view,
                                               const std::string&) const override {
    return std::nullopt;
  }
  bool WritesOwnBic() const override { return false; }
  bool AccountUsable(std::string_view iban, std::string_view) const override {
    return iban.starts_with("DE");
  }
  bool ListWithoutOuterQuotes() const override { return true; }
  std::string DefaultFileName(const std::string& sepa_name) const override {
    return text::Replace(text::Replace(text::Replace(sepa_name, "SEPA", "DTAUS"), ".xml", ".txt"),
                         "_RCUR", "");
  }

  // The settings are checked by now, so the club's IBAN is sound.
  void StartPass(size_t rows) override {
    party_ = OrderingPartyOf(c_.settings);
    writer_.emplace(c_.kind, party_, rows);
  }

  bool Append(const PaymentRowView& row, RowMarks& marks) override {
    marks.Accept(row);
    const CellText bank_code(c_.payments(row.index, payment_table::kBankCode));
    const CellText account(c_.payments(row.index, payment_table::kAccountNumber));
    DtausPayment payment;
    payment.bank_code = text::TrimmedView(bank_code.view());
    payment.account = text::TrimmedView(account.view());
    payment.cents = row.cents;
    payment.name = row.name;
    payment.purpose_lines = DtausPurposeLines(row.remittance, keep_closing_line_);
    c_.object.strBetrag = writer_->Append(payment);
    return true;
  }

  bool WritesEmptyPass() const override { return true; }

  std::string WriteDataFile(const PassNames&, const std::string& name) override {
    std::string& reference = c_.object.strMID;
    reference = RightAligned(text::Right(reference, 10), 10, '0');
    const std::string transfer_name = TransferDtausName(name);
    files::FileWriter readable(c_.folder + ReadableDtausName(name));
    files::FileWriter transfer(c_.folder + transfer_name);
    writer_->Write(reference, DateText(GetClock()->Now(), "ddmmyy"),
                   DateText(c_.execution_date, "ddmmyyyy"), WriterSink(readable),
                   WriterSink(transfer));
    readable.Commit();
    transfer.Commit();
    return transfer_name;
  }

  std::string CoverSheet(const CoverSheetData& common, const PassNames&) const override {
    return DtausCoverSheet(DtausCoverSheetData{
        common, party_.name, party_.bank_code, party_.account, writer_->account_sum(),
        writer_->bank_code_sum(), DateText(c_.execution_date, "DD.MM.YYYY")});
  }

  std::string Outcome(const std::string&) const override { return "ok"; }

 private:
  GenerationContext& c_;
  const bool keep_closing_line_;
  DtausOrderingParty party_;
  std::optional<DtausWriter> writer_;
};

}  // namespace

std::unique_ptr<PaymentFileFormat> DtausFileFormat(GenerationContext& context) {
  return std::make_unique<DtausFormat>(context);
}

}  // namespace lastora::generation
