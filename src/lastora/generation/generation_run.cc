#include "generation/generation_run.h"

#include <optional>
#include <string_view>

#include "component/catalogue.h"
#include "core/calendar.h"
#include "core/date_text.h"
#include "core/files.h"
#include "core/text.h"
#include "generation/amount.h"
#include "generation/cell_text.h"
#include "generation/cover_sheet.h"
#include "generation/dtaus_writer.h"
#include "generation/file_names.h"
#include "generation/fixed_width.h"
#include "generation/generation_stop.h"
#include "generation/payment_list.h"
#include "generation/remittance_text.h"
#include "generation/sepa_document.h"
#include "generation/sepa_kind.h"
#include "lastora/platform.h"
#include "lastora/variant.h"

namespace lastora::generation {
namespace {

using Setting = SEPAVALUES SEPAVARIABLEN::*;

// Everything in which the two passes differ.
struct Pass {
  int number;
  std::string_view sequence_type;
  Setting payment_info_id;
  Setting message_id;
  Setting file_name;
  Setting sequence_field;
  Setting data_file_field;
  Setting cover_sheet_field;
  Setting list_field;
  Setting count_field;
  Setting sum_field;
  Setting outcome_field;
};

constexpr Pass kPasses[] = {
    {1, "FRST", &SEPAVARIABLEN::SepaFPI1, &SEPAVARIABLEN::SepaFMI1, &SEPAVARIABLEN::SepaFIL1,
     &SEPAVARIABLEN::SepaLAR1, &SEPAVARIABLEN::ProgErzeFil1, &SEPAVARIABLEN::ProgErzeBtx1,
     &SEPAVARIABLEN::ProgErzeItx1, &SEPAVARIABLEN::ProgErzeDAN1, &SEPAVARIABLEN::ProgErzeDSU1,
     &SEPAVARIABLEN::ProgErzePAO1},
    {2, "RCUR", &SEPAVARIABLEN::SepaFPI2, &SEPAVARIABLEN::SepaFMI2, &SEPAVARIABLEN::SepaFIL2,
     &SEPAVARIABLEN::SepaLAR2, &SEPAVARIABLEN::ProgErzeFil2, &SEPAVARIABLEN::ProgErzeBtx2,
     &SEPAVARIABLEN::ProgErzeItx2, &SEPAVARIABLEN::ProgErzeDAN2, &SEPAVARIABLEN::ProgErzeDSU2,
     &SEPAVARIABLEN::ProgErzePAO2},
};

// Payment table columns.
constexpr int kColName = 3;
constexpr int kColIban = 4;
constexpr int kColBic = 5;
constexpr int kColPaymentId = 7;
constexpr int kColAmount = 8;
constexpr int kColRemittance = 9;
constexpr int kColMandateId = 10;
constexpr int kColMandateDate = 11;
constexpr int kColSequenceType = 12;
constexpr int kColAccount = 22;
constexpr int kColBankCode = 23;
constexpr int kColWarnings = 27;

constexpr int kWarningColour = 6;
constexpr size_t kCreditorIdLength = 18;
constexpr std::string_view kOk = "ok";

bool Contains(const std::string& text, const std::string& word) {
  return text.find(word) != std::string::npos;
}

bool SwitchedOff(const SEPAVALUES& option) { return Contains(option.Value, Message(6)); }

bool NamesNothing(const std::string& id) { return id.empty() || id == "-"; }

std::string DateText(double serial, std::string_view pattern) {
  return Format(Variant::Date(serial), pattern);
}

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

void AppendNote(Variant& cell, const std::string& note) {
  const std::string existing = CStr(cell);
  cell = existing.empty() ? note : existing + ", " + note;
}

std::string NumberText(double value) { return CStr(Variant(value)); }

double SettingNumber(const SEPAVALUES& setting) { return CDbl(Variant(setting.Value)); }

TextSink WriterSink(files::FileWriter& file) {
  return [&file](std::string_view piece) { file.Write(piece); };
}

// The values of one payment row that every file of the pass needs; views of the row's cells.
struct Row {
  std::string_view name;
  std::string_view iban;
  std::string_view bic;
  std::string_view remittance;
  int64_t cents = 0;
};

// The totals of one pass and the texts it accumulates while the rows are scanned.
struct PassOutput {
  explicit PassOutput(size_t rows) : list(rows) {}

  std::optional<SepaDocument> document;
  std::optional<DtausWriter> dtaus;
  PaymentList list;
  int64_t count = 0;
  int64_t sum_cents = 0;
};

class GenerationRun {
 public:
  GenerationRun(Class1& object, RunContext& context, GenerationTables tables,
                const std::string& folder, bool dtaus)
      : object_(object),
        s_(context.settings),
        result_(context.result),
        payments_(tables.payments),
        colours_(tables.colours),
        folder_(folder),
        dtaus_(dtaus),
        kind_(SepaKindFor(s_.SepaAART.Value)),
        list_wanted_(!SwitchedOff(s_.SepaITXT)),
        separate_lines_(Contains(s_.SepaFuncVER0.Value, "Trennen")),
        keep_closing_line_(!s_.SepaFuncVER2.Value.empty() && !s_.SepaFuncVER4.Value.empty()) {}

  RunEnd Run();

 private:
  std::optional<std::string> SettingsProblem() const;
  void DeriveOrderingParty();
  void RunPass(const Pass& pass);
  void ScanRow(const Pass& pass, int i, PassOutput& output);
  void AppendTransaction(int i, const Row& row, SepaDocument& document);
  void AppendDtausPayment(int i, const Row& row, DtausWriter& dtaus);
  bool TakesSequenceType(const Pass& pass, int i) const;
  bool AmountAcceptable(int i, double* amount, int64_t* cents);
  void WarnRow(int i, int column, int message);
  std::string DataFileName(const Pass& pass) const;
  std::string WriteDataFile(const Pass& pass, const std::string& name, PassOutput& output);
  void WriteCompanions(const Pass& pass, const std::string& data_file_name,
                       const PassOutput& output);
  std::string Outcome(const std::string& data_file_name) const;
  void Finish();

  Class1& object_;
  SEPAVARIABLEN& s_;
  std::string& result_;
  Table& payments_;
  Table& colours_;
  const std::string& folder_;
  const bool dtaus_;
  const SepaKind& kind_;
  const bool list_wanted_;
  const bool separate_lines_;
  const bool keep_closing_line_;
  double run_stamp_ = 0;
  double execution_date_ = 0;
  double limit_max_ = 0;
  double limit_min_ = 0;
  DtausOrderingParty party_;
  std::string first_failed_outcome_;
};

RunEnd GenerationRun::Run() {
  run_stamp_ = GetClock()->Now();
  for (const Pass& pass : kPasses) {
    (s_.*pass.data_file_field).Value.clear();
    (s_.*pass.cover_sheet_field).Value.clear();
    (s_.*pass.list_field).Value.clear();
  }
  if (std::optional<std::string> problem = SettingsProblem()) {
    result_ = *problem;
    return RunEnd::kStoppedBeforeCopyBack;
  }
  if (dtaus_) DeriveOrderingParty();
  execution_date_ = CDate(Variant(s_.SepaADAT.Value));
  object_.boolWarnung = !SwitchedOff(s_.SepaFuncWARN) &&
                        IsNumeric(Variant(s_.SepaFuncBMAX.Value)) &&
                        IsNumeric(Variant(s_.SepaFuncBMIN.Value));
  if (object_.boolWarnung) {
    limit_max_ = SettingNumber(s_.SepaFuncBMAX);
    limit_min_ = SettingNumber(s_.SepaFuncBMIN);
  }
  try {
    for (const Pass& pass : kPasses) RunPass(pass);
  } catch (const GenerationStop& stop) {
    result_ = stop.what();
    return RunEnd::kStoppedBeforeCopyBack;
  }
  Finish();
  return RunEnd::kFinished;
}

std::optional<std::string> GenerationRun::SettingsProblem() const {
  if (text::Length(s_.KreditorID__.Value) != kCreditorIdLength) return Message(92);
  if (s_.KreditorNAME.Value.empty()) return Message(93);
  // A pain.008 file without CORE or B2B is rejected by every bank; rather than guess the
  // scheme, the run names the order kinds it knows.
  if (!dtaus_ && !kind_.credit_transfer && kind_.local_instrument.empty()) {
    return "Unbekannte Auftragsart '" + s_.SepaAART.Value + "': erwartet " + Message(176) + ", " +
           Message(177) + " oder " + Message(170);
  }
  if (!IsDate(Variant(s_.SepaADAT.Value))) return Message(96) + " " + s_.SepaADAT.Value;
  return std::nullopt;
}

// DTAUS speaks bank code and account number; both come out of the club's IBAN. Banks whose
// code has a 4, 7 or 8 in its fourth digit keep two sub-account digits at the end of a German
// IBAN's account part that DTAUS does not know.
void GenerationRun::DeriveOrderingParty() {
  const std::string& iban = s_.KreditorIBAN.Value;
  std::string account = text::Right(iban, 10);
  const std::string bank_code = text::Mid(iban, 5, 8);
  const std::string fourth = text::Mid(bank_code, 4, 1);
  if ((fourth == "4" || fourth == "7" || fourth == "8") && text::Right(account, 2) == "00" &&
      text::Left(account, 1) == "0") {
    account = RightAligned(text::Left(account, 8), 10, '0');
  }
  party_.name = text::PadRight(s_.KreditorNAME.Value, 27);
  party_.bank_code = text::PadRight(bank_code, 8);
  party_.account = text::PadRight(account, 10, "0");
}

void GenerationRun::RunPass(const Pass& pass) {
  object_.strMID = (s_.*pass.message_id).Value;
  if (NamesNothing((s_.*pass.payment_info_id).Value) || NamesNothing(object_.strMID)) return;
  if (payments_.RowUpper() < 1) throw GenerationStop(Message(97));
  const auto rows = static_cast<size_t>(payments_.RowCount());
  PassOutput output(rows);
  if (dtaus_) {
    output.dtaus.emplace(kind_, party_, rows);
  } else {
    output.document.emplace(kind_, rows);
  }
  for (int i = 1; i <= payments_.RowUpper(); ++i) ScanRow(pass, i, output);
  s_.ProgErzeDANZ.Value = std::to_string(output.count);

  // The schemas demand at least one payment, so a SEPA document without any would only come
  // back from the bank; an empty pass leaves no files, just its zero figures.
  if (dtaus_ || output.count > 0) {
    const std::string name = WriteDataFile(pass, DataFileName(pass), output);
    WriteCompanions(pass, name, output);
    s_.ProgErzePAOK.Value = Outcome(name);
    (s_.*pass.file_name).Value = name;
    (s_.*pass.data_file_field).Value = name;
  } else {
    s_.ProgErzePAOK.Value = std::string(kOk);
  }
  if (s_.ProgErzePAOK.Value != kOk) {
    result_ = s_.ProgErzePAOK.Value;
    if (first_failed_outcome_.empty()) first_failed_outcome_ = s_.ProgErzePAOK.Value;
  }
  (s_.*pass.sequence_field).Value = std::string(pass.sequence_type);
  (s_.*pass.sum_field).Value = NumberText(static_cast<double>(output.sum_cents) / 100.0);
  (s_.*pass.count_field).Value = std::to_string(output.count);
  (s_.*pass.outcome_field).Value = s_.ProgErzePAOK.Value;
}

// Direct debits go into the pass of their sequence type; final and one-off debits into both,
// as the club collects them with whichever file it sends. Credit transfers know no sequence.
bool GenerationRun::TakesSequenceType(const Pass& pass, int i) const {
  if (kind_.credit_transfer) return true;
  const std::string sequence = CStr(payments_(i, kColSequenceType));
  if (sequence.empty()) return false;
  if (sequence == "FRST") return pass.number == 1;
  if (sequence == "RCUR") return pass.number == 2;
  return true;
}

// A payment of nothing (or of less than a cent) cannot go to the bank; a row that carries a
// payment identifier was meant to be paid, so the treasurer is told.
bool GenerationRun::AmountAcceptable(int i, double* amount, int64_t* cents) {
  const Variant& cell = payments_(i, kColAmount);
  if (IsNumeric(cell)) {
    *amount = CDbl(cell);
    *cents = ToCents(*amount);
    if (*amount > 0 && *cents > 0) return true;
  }
  if (!CStr(payments_(i, kColPaymentId)).empty()) WarnRow(i, kColAmount, 59);
  return false;
}

void GenerationRun::WarnRow(int i, int column, int message) {
  colours_(i, column) = Variant(static_cast<int32_t>(kWarningColour));
  s_.ProgErzeWarn.Value = NumberText(SettingNumber(s_.ProgErzeWarn) + 1);
  AppendNote(payments_(i, kColWarnings), Message(message));
}

void GenerationRun::ScanRow(const Pass& pass, int i, PassOutput& output) {
  if (!TakesSequenceType(pass, i)) return;
  const CellText bic(payments_(i, kColBic));
  const CellText iban(payments_(i, kColIban));
  Row row;
  row.bic = text::TrimmedView(bic.view());
  row.iban = text::TrimmedView(iban.view());
  if (row.iban.empty()) return;
  if (dtaus_ ? !row.iban.starts_with("DE") : row.bic.empty()) return;
  double amount = 0;
  if (!AmountAcceptable(i, &amount, &row.cents)) return;
  ++output.count;
  output.sum_cents += row.cents;
  if (object_.boolWarnung && (amount >= limit_max_ || amount <= limit_min_)) {
    WarnRow(i, kColAmount, 59);
  }
  const CellText name(payments_(i, kColName));
  const CellText remittance(payments_(i, kColRemittance));
  row.name = name.view();
  row.remittance = remittance.view();
  if (output.document) {
    AppendTransaction(i, row, *output.document);
  } else {
    AppendDtausPayment(i, row, *output.dtaus);
  }
  if (list_wanted_) {
    output.list.Append(row.name, row.bic, row.iban, row.cents,
                       ListPurpose(row.remittance, /*without_outer_quotes=*/dtaus_));
  }
}

void GenerationRun::AppendTransaction(int i, const Row& row, SepaDocument& document) {
  const SepaRemittance remittance = SepaRemittanceText(row.remittance, separate_lines_);
  if (remittance.cut) WarnRow(i, kColRemittance, 130);
  const CellText end_to_end_id(payments_(i, kColPaymentId));
  const CellText mandate_id(payments_(i, kColMandateId));
  const std::string mandate_date = IsoDateOf(payments_(i, kColMandateDate));
  document.Append({end_to_end_id.view(), row.cents, row.bic, row.name, row.iban, remittance.text,
                   mandate_id.view(), mandate_date});
}

void GenerationRun::AppendDtausPayment(int i, const Row& row, DtausWriter& dtaus) {
  const CellText bank_code(payments_(i, kColBankCode));
  const CellText account(payments_(i, kColAccount));
  DtausPayment payment;
  payment.bank_code = text::TrimmedView(bank_code.view());
  payment.account = text::TrimmedView(account.view());
  payment.cents = row.cents;
  payment.name = row.name;
  payment.purpose_lines = DtausPurposeLines(row.remittance, keep_closing_line_);
  object_.strBetrag = dtaus.Append(payment);
}

std::string GenerationRun::DataFileName(const Pass& pass) const {
  const std::string given = WithoutFolder((s_.*pass.file_name).Value);
  if (!given.empty()) return given;
  const std::string name = "SEPA_" + DateText(execution_date_, "YYYY-MM-DD") + "_" +
                           std::string(pass.sequence_type) + ".xml";
  if (!dtaus_) return name;
  return text::Replace(text::Replace(text::Replace(name, "SEPA", "DTAUS"), ".xml", ".txt"), "_RCUR",
                       "");
}

// Writes the pass's data file and returns the name under which the bank receives it.
std::string GenerationRun::WriteDataFile(const Pass& pass, const std::string& name,
                                         PassOutput& output) {
  if (output.document) {
    SepaHeader header;
    header.message_id = object_.strMID;
    header.payment_info_id = (s_.*pass.payment_info_id).Value;
    header.creation_time = SepaCreationTime(run_stamp_);
    header.requested_date = DateText(execution_date_, "YYYY-MM-DD");
    header.sequence_type = std::string(pass.sequence_type);
    header.own_name = s_.KreditorNAME.Value;
    header.own_iban = s_.KreditorIBAN.Value;
    header.own_bic = s_.KreditorBIC_.Value;
    header.creditor_id = s_.KreditorID__.Value;
    files::FileWriter file(folder_ + name);
    output.document->Write(header, WriterSink(file));
    file.Commit();
    return name;
  }
  object_.strMID = RightAligned(text::Right(object_.strMID, 10), 10, '0');
  const std::string transfer_name = TransferDtausName(name);
  files::FileWriter readable(folder_ + ReadableDtausName(name));
  files::FileWriter transfer(folder_ + transfer_name);
  output.dtaus->Write(object_.strMID, DateText(GetClock()->Now(), "ddmmyy"),
                      DateText(execution_date_, "ddmmyyyy"), WriterSink(readable),
                      WriterSink(transfer));
  readable.Commit();
  transfer.Commit();
  return transfer_name;
}

void GenerationRun::WriteCompanions(const Pass& pass, const std::string& data_file_name,
                                    const PassOutput& output) {
  const std::string base = CompanionBase(data_file_name);
  const std::string today = DateText(GetClock()->Now(), "DD.MM.YYYY");
  if (list_wanted_) {
    const std::string list_name = base + "_Liste.txt";
    const PaymentListHeading heading{s_.SepaAART.Value, today, object_.strMID,
                                     DateText(execution_date_, "DD.MM.YYYY")};
    files::FileWriter file(folder_ + list_name);
    output.list.Write(kind_, heading, output.sum_cents, WriterSink(file));
    file.Commit();
    (s_.*pass.list_field).Value = list_name;
  }
  if (SwitchedOff(s_.SepaBTXT)) return;
  const std::string sheet_name = base + "_Begleitzettel.txt";
  CoverSheetData common{
      s_.SepaAART.Value,
      data_file_name,
      today,
      output.count,
      output.sum_cents,
      Sender{s_.UserNAME.Value, s_.UserSTRE.Value, s_.UserPLZ_.Value, s_.UserTEL_.Value}};
  std::string sheet;
  if (output.dtaus) {
    sheet = DtausCoverSheet(DtausCoverSheetData{
        common, party_.name, party_.bank_code, party_.account, output.dtaus->account_sum(),
        output.dtaus->bank_code_sum(), DateText(execution_date_, "DD.MM.YYYY")});
  } else {
    sheet = SepaCoverSheet(SepaCoverSheetData{
        common, object_.strMID, (s_.*pass.payment_info_id).Value,
        DateText(run_stamp_, "DD.MM.YYYY") + " " + DateText(run_stamp_, "hh:mm:ss"),
        s_.KreditorBIC_.Value, s_.KreditorIBAN.Value, s_.KreditorNAME.Value,
        DateText(execution_date_, "YYYY-MM-DD")});
  }
  files::WriteWhole(folder_ + sheet_name, text::ToWindows1252(sheet));
  (s_.*pass.cover_sheet_field).Value = sheet_name;
}

std::string GenerationRun::Outcome(const std::string& data_file_name) const {
  if (dtaus_) return std::string(kOk);
  const std::string answer = object_.SEPA_Check_XMLStruktur(folder_ + data_file_name);
  if (answer.empty()) return std::string(kOk);
  return Message(79) + ": " + answer;
}

// The totals include a pass that did not run with the figures the caller passed for it. A
// failed check of the first file is not hidden by a good second one.
void GenerationRun::Finish() {
  s_.ProgErzeDSUM.Value =
      NumberText(SettingNumber(s_.ProgErzeDSU1) + SettingNumber(s_.ProgErzeDSU2));
  s_.ProgErzeDANZ.Value =
      NumberText(SettingNumber(s_.ProgErzeDAN1) + SettingNumber(s_.ProgErzeDAN2));
  if (!first_failed_outcome_.empty()) s_.ProgErzePAOK.Value = first_failed_outcome_;
  result_ = s_.ProgErzePAOK.Value;
}

}  // namespace

RunEnd RunGeneration(Class1& object, RunContext& context, GenerationTables tables,
                     const std::string& folder, bool dtaus) {
  return GenerationRun(object, context, tables, folder, dtaus).Run();
}

}  // namespace lastora::generation
