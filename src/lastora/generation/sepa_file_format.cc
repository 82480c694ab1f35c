// SEPA documents: one per pass, checked for well-formedness once written.
#include <optional>

#include "component/catalogue.h"
#include "component/message_ids.h"
#include "core/calendar.h"
#include "core/date_text.h"
#include "core/text.h"
#include "generation/cell_text.h"
#include "generation/payment_file_format.h"
#include "generation/remittance_text.h"
#include "generation/sepa_document.h"
#include "generation/sepa_row_check.h"
#include "lastora/payment_table.h"

namespace lastora::generation {
namespace {

// Format(date, "YYYY-MM-DD") without reading the pattern again for every mandate.
std::string IsoDate(double serial) {
  const detail::DateParts parts = detail::SplitSerial(serial);
  std::string text;
  detail::AppendPadded(text, parts.year, 4);
  text += '-';
  detail::AppendPadded(text, parts.month, 2);
  text += '-';
  detail::AppendPadded(text, parts.day, 2);
  return text;
}

std::string IsoDateOf(const Variant& cell) {
  if (cell.IsEmpty()) return "";
  if (!IsDate(cell)) return CStr(cell);
  return IsoDate(CDate(cell));
}

class SepaFormat : public PaymentFileFormat {
 public:
  explicit SepaFormat(GenerationContext& context)
      : c_(context),
        separate_lines_(context.settings.SepaFuncVER0.Value.find("Trennen") != std::string::npos) {}

  // A pain.008 file without CORE or B2B is rejected by every bank; rather than guess the
  // scheme, the run names the order kinds it knows.
  std::optional<std::string> SettingsProblem() const override {
    if (text::Length(c_.settings.KreditorNAME.Value) > kLongestSepaName) {
      return "KreditorNAME länger als 70 Zeichen";
    }
    if (c_.kind.credit_transfer || !c_.kind.local_instrument.empty()) return std::nullopt;
    return "Unbekannte Auftragsart '" + c_.settings.SepaAART.Value + "': erwartet " +
           Message(msg::kCoreDebit) + ", " + Message(msg::kB2bDebit) + " oder " +
           Message(msg::kCreditTransfer);
  }
  std::optional<std::string> IdentifierProblem(std::string_view setting,
                                               const std::string& id) const override {
    if (id.size() <= kLongestSepaIdentifier && IsSepaIdentifier(id, /*blank_allowed=*/true)) {
      return std::nullopt;
    }
    return std::string(setting) + " '" + id +
           "' ungültig: erlaubt sind bis zu 35 Zeichen aus A-Z a-z 0-9 + ? / - : ( ) . , ' und "
           "Leerzeichen";
  }
  bool WritesOwnBic() const override { return true; }
  bool AccountUsable(std::string_view, std::string_view bic) const override { return !bic.empty(); }
  bool ListWithoutOuterQuotes() const override { return false; }
  std::string DefaultFileName(const std::string& sepa_name) const override { return sepa_name; }

  void StartPass(size_t rows) override { document_.emplace(c_.kind, rows); }

  // A row whose values the schema refuses is rejected: the document stays valid.
  bool Append(const PaymentRowView& row, RowMarks& marks) override {
    const SepaRemittance remittance = SepaRemittanceText(row.remittance, separate_lines_);
    const Table& payments = c_.payments;
    const CellText end_to_end_id(payments(row.index, payment_table::kPaymentId));
    const CellText mandate_id(payments(row.index, payment_table::kMandateId));
    const std::string mandate_date = IsoDateOf(payments(row.index, payment_table::kMandateDate));
    const SepaTransaction transaction{
        end_to_end_id.view(), row.cents,         row.bic,     row.name, row.iban,
        remittance.text,      mandate_id.view(), mandate_date};
    if (const std::optional<SepaRowFault> fault =
            FindSepaRowFault(transaction, !c_.kind.credit_transfer)) {
      marks.Reject(row.index, *fault);
      return false;
    }
    marks.Accept(row);
    if (remittance.cut) {
      marks.Warn(row.index, payment_table::kRemittanceLines, msg::kRemittanceCut);
    }
    document_->Append(transaction);
    return true;
  }

  // The schemas demand at least one payment, so a document without any would only come back
  // from the bank.
  bool WritesEmptyPass() const override { return false; }

  std::string WriteDataFile(const PassNames& pass, const std::string& name) override {
    const SEPAVARIABLEN& s = c_.settings;
    SepaHeader header;
    header.message_id = c_.object.strMID;
    header.payment_info_id = pass.payment_info_id;
    header.creation_time = SepaCreationTime(c_.run_stamp);
    header.requested_date = DateText(c_.execution_date, "YYYY-MM-DD");
    header.sequence_type = std::string(pass.sequence_type);
    header.own_name = s.KreditorNAME.Value;
    header.own_iban = s.KreditorIBAN.Value;
    header.own_bic = s.KreditorBIC_.Value;
    header.creditor_id = s.KreditorID__.Value;
    files::FileWriter file(c_.folder + name);
    document_->Write(header, WriterSink(file));
    file.Commit();
    // The check reads the file back; the document's copy of a large pass need not stay beside it.
    document_.reset();
    return name;
  }

  std::string CoverSheet(const CoverSheetData& common, const PassNames& pass) const override {
    const SEPAVARIABLEN& s = c_.settings;
    return SepaCoverSheet(SepaCoverSheetData{
        common, c_.object.strMID, pass.payment_info_id,
        DateText(c_.run_stamp, "DD.MM.YYYY") + " " + DateText(c_.run_stamp, "hh:mm:ss"),
        s.KreditorBIC_.Value, s.KreditorIBAN.Value, s.KreditorNAME.Value,
        DateText(c_.execution_date, "YYYY-MM-DD")});
  }

  std::string Outcome(const std::string& data_file_name) const override {
    // A caller that commits the run's files together has them at their final names only later.
    const std::string answer =
        c_.object.SEPA_Check_XMLStruktur(files::PendingPath(c_.folder + data_file_name));
    if (answer.empty()) return "ok";
    return Message(msg::kXmlParserError) + ": " + answer;
  }

 private:
  GenerationContext& c_;
  const bool separate_lines_;
  std::optional<SepaDocument> document_;
};

}  // namespace

std::unique_ptr<PaymentFileFormat> SepaFileFormat(GenerationContext& context) {
  return std::make_unique<SepaFormat>(context);
}

}  // namespace lastora::generation
