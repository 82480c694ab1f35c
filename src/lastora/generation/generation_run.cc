#include "generation/generation_run.h"

#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "accounts/creditor_id.h"
#include "component/catalogue.h"
#include "component/message_ids.h"
#include "core/cents.h"
#include "core/files.h"
#include "core/text.h"
#include "generation/cell_text.h"
#include "generation/cover_sheet.h"
#include "generation/file_names.h"
#include "generation/generation_stop.h"
#include "generation/payment_file_format.h"
#include "generation/payment_list.h"
#include "generation/remittance_text.h"
#include "generation/sepa_kind.h"
#include "generation/sepa_row_check.h"
#include "lastora/payment_table.h"
#include "lastora/platform.h"
#include "lastora/variant.h"

namespace lastora::generation {
namespace {

using Setting = SEPAVALUES SEPAVARIABLEN::*;

// Everything in which the two passes differ.
struct Pass {
  int number;
  std::string_view sequence_type;
  std::string_view payment_info_id_name;
  std::string_view message_id_name;
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
    {1, "FRST", "SepaFPI1", "SepaFMI1", &SEPAVARIABLEN::SepaFPI1, &SEPAVARIABLEN::SepaFMI1,
     &SEPAVARIABLEN::SepaFIL1, &SEPAVARIABLEN::SepaLAR1, &SEPAVARIABLEN::ProgErzeFil1,
     &SEPAVARIABLEN::ProgErzeBtx1, &SEPAVARIABLEN::ProgErzeItx1, &SEPAVARIABLEN::ProgErzeDAN1,
     &SEPAVARIABLEN::ProgErzeDSU1, &SEPAVARIABLEN::ProgErzePAO1},
    {2, "RCUR", "SepaFPI2", "SepaFMI2", &SEPAVARIABLEN::SepaFPI2, &SEPAVARIABLEN::SepaFMI2,
     &SEPAVARIABLEN::SepaFIL2, &SEPAVARIABLEN::SepaLAR2, &SEPAVARIABLEN::ProgErzeFil2,
     &SEPAVARIABLEN::ProgErzeBtx2, &SEPAVARIABLEN::ProgErzeItx2, &SEPAVARIABLEN::ProgErzeDAN2,
     &SEPAVARIABLEN::ProgErzeDSU2, &SEPAVARIABLEN::ProgErzePAO2},
};

constexpr size_t kCreditorIdLength = 18;
constexpr std::string_view kOk = "ok";

bool Contains(const std::string& text, const std::string& word) {
  return text.find(word) != std::string::npos;
}

bool SwitchedOff(const SEPAVALUES& option) { return Contains(option.Value, Message(msg::kNot)); }

bool NamesNothing(const std::string& id) { return id.empty() || id == "-"; }

bool PassRuns(const SEPAVARIABLEN& s, const Pass& pass) {
  return !NamesNothing((s.*pass.payment_info_id).Value) &&
         !NamesNothing((s.*pass.message_id).Value);
}

// The pass that takes the rows belonging to no sequence of their own: the first that runs.
int FirstRunningPass(const SEPAVARIABLEN& s) {
  for (const Pass& pass : kPasses) {
    if (PassRuns(s, pass)) return pass.number;
  }
  return 0;
}

PassNames PassNamesOf(const SEPAVARIABLEN& s, const Pass& pass) {
  return {pass.sequence_type, (s.*pass.payment_info_id).Value};
}

void AppendNote(Variant& cell, const std::string& note) {
  const std::string existing = CStr(cell);
  cell = existing.empty() ? note : existing + ", " + note;
}

std::string NumberText(double value) { return CStr(Variant(value)); }

double SettingNumber(const SEPAVALUES& setting) { return CDbl(Variant(setting.Value)); }

// A counter the caller left empty starts at nothing.
void CountUp(SEPAVALUES& counter) {
  const Variant present(counter.Value);
  counter.Value = NumberText((IsNumeric(present) ? CDbl(present) : 0) + 1);
}

// The totals of one pass and the list it accumulates while the rows are scanned.
struct PassOutput {
  explicit PassOutput(size_t rows) : list(rows) {}

  PaymentList list;
  std::vector<int32_t> rows;
  int64_t count = 0;
  int64_t sum_cents = 0;
};

class GenerationRun : private RowMarks {
 public:
  GenerationRun(Class1& object, RunContext& context, GenerationTables tables,
                const std::string& folder, bool dtaus)
      : object_(object),
        s_(context.settings),
        result_(context.result),
        payments_(tables.payments),
        colours_(tables.colours),
        folder_(folder),
        kind_(SepaKindFor(s_.SepaAART.Value)),
        context_{object, s_, payments_, kind_, folder},
        format_(dtaus ? DtausFileFormat(context_) : SepaFileFormat(context_)),
        list_wanted_(!SwitchedOff(s_.SepaITXT)) {}

  RunEnd Run();

 private:
  std::optional<std::string> SettingsProblem() const;
  std::optional<std::string> OwnAccountProblem() const;
  void RunPass(const Pass& pass);
  void ScanRow(const Pass& pass, int i);
  bool TakesSequenceType(const Pass& pass, int i) const;
  bool AmountAcceptable(int i, double* amount, int64_t* cents);
  void Warn(int i, int column, int message) override;
  void Reject(int i, const SepaRowFault& fault) override;
  void Accept(const PaymentRowView& row) override;
  std::string DataFileName(const Pass& pass) const;
  void WriteCompanions(const Pass& pass, const std::string& data_file_name);
  void Finish();

  Class1& object_;
  SEPAVARIABLEN& s_;
  std::string& result_;
  Table& payments_;
  Table& colours_;
  const std::string& folder_;
  const SepaKind& kind_;
  GenerationContext context_;
  const std::unique_ptr<PaymentFileFormat> format_;
  const bool list_wanted_;
  int first_running_pass_ = 0;
  double limit_max_ = 0;
  double limit_min_ = 0;
  std::optional<PassOutput> output_;  // of the pass being written
  std::string first_failed_outcome_;
};

RunEnd GenerationRun::Run() {
  context_.run_stamp = GetClock()->Now();
  for (auto& rows : object_.written_rows()) rows.clear();
  for (const Pass& pass : kPasses) {
    (s_.*pass.data_file_field).Value.clear();
    (s_.*pass.cover_sheet_field).Value.clear();
    (s_.*pass.list_field).Value.clear();
  }
  if (std::optional<std::string> problem = SettingsProblem()) {
    result_ = *problem;
    return RunEnd::kStoppedBeforeCopyBack;
  }
  first_running_pass_ = FirstRunningPass(s_);
  context_.execution_date = CDate(Variant(s_.SepaADAT.Value));
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
  if (text::Length(s_.KreditorID__.Value) != kCreditorIdLength) {
    return Message(msg::kCreditorIdWrong);
  }
  if (s_.KreditorNAME.Value.empty()) return Message(msg::kNoOrderingParty);
  if (std::optional<std::string> problem = format_->SettingsProblem()) return problem;
  for (const Pass& pass : kPasses) {
    if (!PassRuns(s_, pass)) continue;
    for (const auto& [name, setting] :
         {std::pair{pass.message_id_name, pass.message_id},
          std::pair{pass.payment_info_id_name, pass.payment_info_id}}) {
      if (auto problem = format_->IdentifierProblem(name, (s_.*setting).Value)) return problem;
    }
  }
  if (!IsDate(Variant(s_.SepaADAT.Value))) {
    return Message(msg::kCollectionDateWrong) + " " + s_.SepaADAT.Value;
  }
  return OwnAccountProblem();
}

// The club's own account and identifier go into every file; a fault there makes the bank
// reject the whole file, so nothing is written.
std::optional<std::string> GenerationRun::OwnAccountProblem() const {
  const std::string& iban = s_.KreditorIBAN.Value;
  if (const std::string checked = object_.Get_IBAN(iban); checked != iban) {
    return "KreditorIBAN '" + iban + "' ungültig: " + checked;
  }
  if (format_->WritesOwnBic() && !IsBicShaped(s_.KreditorBIC_.Value)) {
    return "KreditorBIC_ '" + s_.KreditorBIC_.Value + "' ist keine gültige BIC";
  }
  if (!detail::CreditorIdCheckDigitsValid(s_.KreditorID__.Value)) {
    return Message(msg::kCreditorIdWrong) + ": Prüfziffer von KreditorID__ '" +
           s_.KreditorID__.Value + "' stimmt nicht";
  }
  return std::nullopt;
}

void GenerationRun::RunPass(const Pass& pass) {
  object_.strMID = (s_.*pass.message_id).Value;
  if (!PassRuns(s_, pass)) return;
  if (payments_.RowUpper() < 1) throw GenerationStop(Message(msg::kNoPayments));
  const auto rows = static_cast<size_t>(payments_.RowCount());
  output_.emplace(rows);
  format_->StartPass(rows);
  for (int i = 1; i <= payments_.RowUpper(); ++i) ScanRow(pass, i);
  const PassOutput& output = *output_;
  s_.ProgErzeDANZ.Value = std::to_string(output.count);

  // A pass without payments leaves no files, just its zero figures, unless the format has a
  // file for nothing.
  if (format_->WritesEmptyPass() || output.count > 0) {
    const std::string name = format_->WriteDataFile(PassNamesOf(s_, pass), DataFileName(pass));
    WriteCompanions(pass, name);
    s_.ProgErzePAOK.Value = format_->Outcome(name);
    (s_.*pass.file_name).Value = name;
    (s_.*pass.data_file_field).Value = name;
    object_.written_rows()[static_cast<size_t>(pass.number - 1)] = output_->rows;
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

// Direct debits go into the pass of their sequence type. Final and one-off debits, and credit
// transfers, which know no sequence, go into the first pass that runs: in both files they would
// be paid twice.
bool GenerationRun::TakesSequenceType(const Pass& pass, int i) const {
  if (kind_.credit_transfer) return pass.number == first_running_pass_;
  const std::string sequence = CStr(payments_(i, payment_table::kSequenceType));
  if (sequence.empty()) return false;
  if (sequence == "FRST") return pass.number == 1;
  if (sequence == "RCUR") return pass.number == 2;
  return pass.number == first_running_pass_;
}

// A payment of nothing (or of less than a cent) cannot go to the bank; a row that carries a
// payment identifier was meant to be paid, so the treasurer is told.
bool GenerationRun::AmountAcceptable(int i, double* amount, int64_t* cents) {
  const Variant& cell = payments_(i, payment_table::kAmount);
  if (IsNumeric(cell)) {
    *amount = CDbl(cell);
    *cents = money::ToCents(*amount);
    if (*amount > 0 && *cents > 0) return true;
  }
  if (!CStr(payments_(i, payment_table::kPaymentId)).empty()) {
    Warn(i, payment_table::kAmount, msg::kAmountLimit);
  }
  return false;
}

void GenerationRun::Warn(int i, int column, int message) {
  colours_(i, column) = Variant(static_cast<int32_t>(payment_table::kWarningColour));
  s_.ProgErzeWarn.Value = NumberText(SettingNumber(s_.ProgErzeWarn) + 1);
  AppendNote(payments_(i, payment_table::kWarnings), Message(message));
}

void GenerationRun::Reject(int i, const SepaRowFault& fault) {
  colours_(i, fault.column) = Variant(static_cast<int32_t>(payment_table::kErrorColour));
  CountUp(s_.ProgErzeFehl);
  AppendNote(payments_(i, payment_table::kErrors), fault.message);
}

void GenerationRun::Accept(const PaymentRowView& row) {
  ++output_->count;
  output_->sum_cents += row.cents;
  output_->rows.push_back(row.index);
  if (object_.boolWarnung && (row.amount >= limit_max_ || row.amount <= limit_min_)) {
    Warn(row.index, payment_table::kAmount, msg::kAmountLimit);
  }
}

void GenerationRun::ScanRow(const Pass& pass, int i) {
  if (!TakesSequenceType(pass, i)) return;
  const CellText bic(payments_(i, payment_table::kBic));
  const CellText iban(payments_(i, payment_table::kIban));
  PaymentRowView row;
  row.index = i;
  row.bic = text::TrimmedView(bic.view());
  row.iban = text::TrimmedView(iban.view());
  if (row.iban.empty() || !format_->AccountUsable(row.iban, row.bic)) return;
  if (!AmountAcceptable(i, &row.amount, &row.cents)) return;
  const CellText name(payments_(i, payment_table::kName));
  const CellText remittance(payments_(i, payment_table::kRemittanceLines));
  row.name = name.view();
  row.remittance = remittance.view();
  if (!format_->Append(row, *this)) return;
  if (list_wanted_) {
    output_->list.Append(row.name, row.bic, row.iban, row.cents,
                         ListPurpose(row.remittance, format_->ListWithoutOuterQuotes()));
  }
}

std::string GenerationRun::DataFileName(const Pass& pass) const {
  const std::string given = WithoutFolder((s_.*pass.file_name).Value);
  if (!given.empty()) return given;
  return format_->DefaultFileName("SEPA_" + DateText(context_.execution_date, "YYYY-MM-DD") + "_" +
                                  std::string(pass.sequence_type) + ".xml");
}

void GenerationRun::WriteCompanions(const Pass& pass, const std::string& data_file_name) {
  const PassOutput& output = *output_;
  const std::string base = CompanionBase(data_file_name);
  const std::string today = DateText(GetClock()->Now(), "DD.MM.YYYY");
  if (list_wanted_) {
    const std::string list_name = base + "_Liste.txt";
    const PaymentListHeading heading{s_.SepaAART.Value, today, object_.strMID,
                                     DateText(context_.execution_date, "DD.MM.YYYY")};
    files::FileWriter file(folder_ + list_name);
    output.list.Write(kind_, heading, output.sum_cents, WriterSink(file));
    file.Commit();
    (s_.*pass.list_field).Value = list_name;
  }
  if (SwitchedOff(s_.SepaBTXT)) return;
  const std::string sheet_name = base + "_Begleitzettel.txt";
  const CoverSheetData common{
      s_.SepaAART.Value,
      data_file_name,
      today,
      output.count,
      output.sum_cents,
      Sender{s_.UserNAME.Value, s_.UserSTRE.Value, s_.UserPLZ_.Value, s_.UserTEL_.Value}};
  const std::string sheet = format_->CoverSheet(common, PassNamesOf(s_, pass));
  files::WriteWhole(folder_ + sheet_name, text::ToWindows1252(sheet));
  (s_.*pass.cover_sheet_field).Value = sheet_name;
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
