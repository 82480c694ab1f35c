// The two kinds of payment file the generation run writes, SEPA documents and DTAUS files,
// behind one interface: the run walks the passes and rows, the format decides what a row needs
// and how its pass becomes a file.
#ifndef LASTORA_GENERATION_PAYMENT_FILE_FORMAT_H_
#define LASTORA_GENERATION_PAYMENT_FILE_FORMAT_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/files.h"
#include "generation/cover_sheet.h"
#include "generation/sepa_kind.h"
#include "generation/sepa_row_check.h"
#include "generation/text_pieces.h"
#include "lastora/class1.h"
#include "lastora/table.h"
#include "lastora/variant.h"

namespace lastora::generation {

// What every format reads while it writes; the dates are set once the settings are checked.
struct GenerationContext {
  Class1& object;
  SEPAVARIABLEN& settings;
  const Table& payments;
  const SepaKind& kind;
  const std::string& folder;
  double run_stamp = 0;
  double execution_date = 0;
};

// The values of one payment row that every file of the pass needs; views of the row's cells.
struct PaymentRowView {
  int index = 0;  // row of the payment table
  std::string_view name;
  std::string_view iban;
  std::string_view bic;
  std::string_view remittance;
  double amount = 0;
  int64_t cents = 0;
};

// How a format reports on the rows it is given.
class RowMarks {
 public:
  virtual ~RowMarks() = default;
  virtual void Warn(int row, int column, int message) = 0;
  virtual void Reject(int row, const SepaRowFault& fault) = 0;
  // The row goes into the file: it is counted, before any warning the format gives it.
  virtual void Accept(const PaymentRowView& row) = 0;
};

// The names of the pass whose file is written.
struct PassNames {
  std::string_view sequence_type;  // "FRST" or "RCUR"
  std::string payment_info_id;
};

class PaymentFileFormat {
 public:
  virtual ~PaymentFileFormat() = default;

  // A setting the format cannot write a file with, in the words of the stop.
  virtual std::optional<std::string> SettingsProblem() const = 0;
  // The same for the message or payment-information id a pass writes, named by its setting.
  virtual std::optional<std::string> IdentifierProblem(std::string_view setting,
                                                       const std::string& id) const = 0;
  // The club's BIC goes into the format's files.
  virtual bool WritesOwnBic() const = 0;
  // A row without the account data the format needs is left out silently, as before any file.
  virtual bool AccountUsable(std::string_view iban, std::string_view bic) const = 0;
  virtual bool ListWithoutOuterQuotes() const = 0;
  // The name of the pass's data file when the settings name none.
  virtual std::string DefaultFileName(const std::string& sepa_name) const = 0;

  // Starts the file of a pass with room for `rows` payments.
  virtual void StartPass(size_t rows) = 0;
  // Writes the row into the pass's file and tells `marks` it was accepted; false when the row
  // was rejected instead.
  virtual bool Append(const PaymentRowView& row, RowMarks& marks) = 0;
  // A pass without payments still gives a file.
  virtual bool WritesEmptyPass() const = 0;
  // Writes the pass's data file(s) into the folder; returns the name the bank receives.
  virtual std::string WriteDataFile(const PassNames& pass, const std::string& name) = 0;
  virtual std::string CoverSheet(const CoverSheetData& common, const PassNames& pass) const = 0;
  // "ok", or why the written file is not sound.
  virtual std::string Outcome(const std::string& data_file_name) const = 0;
};

std::unique_ptr<PaymentFileFormat> SepaFileFormat(GenerationContext& context);
std::unique_ptr<PaymentFileFormat> DtausFileFormat(GenerationContext& context);

// Date texts of the files, from a date serial.
inline std::string DateText(double serial, std::string_view pattern) {
  return Format(Variant::Date(serial), pattern);
}

inline TextSink WriterSink(files::FileWriter& file) {
  return [&file](std::string_view piece) { file.Write(piece); };
}

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_PAYMENT_FILE_FORMAT_H_
