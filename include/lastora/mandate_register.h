// The mandate register: one SQLite file that remembers, across runs, which mandates were
// collected when, which runs wrote which files, and which message and payment-information ids
// are used up. It answers the questions a member list alone cannot: FRST or RCUR, has the
// mandate expired, has the debtor's IBAN changed.
//
// Dates cross this interface as "YYYY-MM-DD" texts; amounts as whole cents.
#ifndef LASTORA_MANDATE_REGISTER_H_
#define LASTORA_MANDATE_REGISTER_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "lastora/export.h"
#include "lastora/table.h"

LASTORA_PUBLIC_BEGIN
namespace lastora::mandate_register {

// Every refusal of the register, with a German message for the user.
class RegisterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The register file's name beside the settings file when the user names none.
inline constexpr const char* kDefaultFileName = "lastora.db";

struct Mandate {
  std::string reference;
  std::string debtor_name;
  std::string iban;
  std::string bic;
  std::optional<std::string> signature_date;
  // Over the collections of runs not cancelled and a first-debit date taken over by an import.
  std::optional<std::string> first_collection;
  std::string first_sequence_type;  // "" when the date came from an import
  std::optional<std::string> last_collection;
  std::string last_sequence_type;
  std::string state;  // "aktiv", or "neu" while nothing was collected
};

struct Collection {
  std::string mandate_reference;
  std::string debtor_name;
  std::string iban;
  std::string bic;
  std::optional<std::string> signature_date;
  std::string end_to_end_id;
  int64_t amount_cents = 0;
  std::string sequence_type;  // FRST, RCUR, FNAL or OOFF
  std::string collection_date;
};

struct RunFile {
  std::string file_name;
  std::string message_id;
  std::string payment_information_id;
  int64_t count = 0;
  int64_t sum_cents = 0;
};

struct Run {
  int64_t id = 0;           // given by the register
  std::string recorded_at;  // "YYYY-MM-DD HH:MM:SS", local time, given by the register
  std::string settings_file;
  std::vector<RunFile> files;
  int64_t count = 0;  // collections of the run
  int64_t sum_cents = 0;
  std::string state;  // "geschrieben" or "storniert"
};

// A finding about one row of a member table, in the row's message columns' words.
struct RowFinding {
  int32_t row = 0;
  std::string message;
};

// A planned collection that a run still standing already made: the same mandate on the same day.
struct Repeat {
  size_t index = 0;  // in the planned mandates
  int64_t run_id = 0;
  std::string recorded_at;
};

struct TableOutcome {
  int32_t dates_from_register = 0;
  std::vector<int32_t> dated_rows;   // the rows that took their first-debit date from it
  std::vector<RowFinding> warnings;  // IBAN changed against the register
  std::vector<RowFinding> errors;    // mandate expired
};

// A run written into the register's open transaction: no other process sees it until Commit,
// and it is gone when dropped uncommitted (or when the process dies first). Until then the
// register takes no other change.
class StagedRun {
 public:
  StagedRun(StagedRun&&) noexcept;
  StagedRun& operator=(StagedRun&&) noexcept;
  ~StagedRun();
  // Makes the run part of the register; returns its number.
  int64_t Commit();

  class State;

 private:
  friend class Register;
  explicit StagedRun(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

class Register {
 public:
  // Opens the register, creating it when missing and bringing an older one up to date. Refuses a
  // file written by a newer version or one that is no register.
  static Register Open(const std::string& path);
  ~Register();
  Register(Register&&) noexcept;
  Register& operator=(Register&&) noexcept;

  std::optional<Mandate> FindMandate(const std::string& reference) const;
  std::vector<Mandate> ListMandates() const;  // by reference

  // Records a run, its files and its collections in one transaction; returns the run's number.
  // Refuses a message or payment-information id an earlier run already used.
  int64_t RecordRun(const Run& run, const std::vector<Collection>& collections);
  // The same in two steps, so that a caller can write the run while its files are still being
  // checked and keep it only once they are in place. The refusals come from this first step.
  StagedRun StageRun(const Run& run, const std::vector<Collection>& collections);
  // The same refusal on its own, so that a caller can ask before it writes the files.
  void RefuseUsedIds(const std::vector<RunFile>& files) const;

  // The mandates among `planned` (references) that a collection on `day` ("YYYY-MM-DD" or
  // "DD.MM.YYYY") would debit a second time that day, in the order of `planned`. Cancelled runs
  // do not count.
  std::vector<Repeat> FindRepeats(const std::vector<std::string>& planned,
                                  const std::string& day) const;
  // False when no run still standing collected anything on `day` or later, so that nothing
  // planned for that day can be a repeat and a caller need not list what it plans.
  bool MayHaveRepeats(const std::string& day) const;

  std::vector<Run> ListRuns() const;  // newest first
  // The run's collections stop counting for first and last collection; its ids stay used.
  void CancelRun(int64_t run_id);

  // Semicolon-separated, one mandate per line with a header line; dates "DD.MM.YYYY".
  void ExportMandates(const std::string& csv_path) const;
  // Takes over first-debit dates (the earlier one wins) from such a file, all or nothing;
  // returns how many mandates it touched.
  int32_t ImportMandates(const std::string& csv_path);

  // Fills the first-debit column of a member table (payment layout) where it is empty, from the
  // register, and judges every row with a mandate reference against it. Writes nothing into the
  // message columns; the caller does, as with its other findings. today: a date serial.
  TableOutcome ApplyToTable(Table& values, double today) const;

  class Impl;

 private:
  explicit Register(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace lastora::mandate_register
LASTORA_PUBLIC_END

#endif  // LASTORA_MANDATE_REGISTER_H_
