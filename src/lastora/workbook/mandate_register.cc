#include "lastora/mandate_register.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/calendar.h"
#include "core/date_text.h"
#include "lastora/variant.h"
#include "workbook/register_hooks.h"
#include "workbook/register_impl.h"
#include "workbook/register_schema.h"

namespace lastora::mandate_register {
namespace detail {
namespace {

RecordHook record_hook = nullptr;

void Reach(RecordStep step, int64_t written) {
  if (record_hook != nullptr) record_hook(step, written);
}

// The earliest and the latest collection of runs still standing; ties go to the one recorded
// first, so a day with FRST and a later-recorded RCUR keeps FRST as the first.
constexpr const char* kRefreshSql = R"sql(
UPDATE mandates SET
  first_collection = (SELECT c.collection_date FROM collections c JOIN runs r ON r.id = c.run_id
    WHERE c.mandate = mandates.reference AND r.state = 'geschrieben'
    ORDER BY c.collection_date, c.run_id, c.position LIMIT 1),
  first_sequence_type = coalesce((SELECT c.sequence_type FROM collections c
    JOIN runs r ON r.id = c.run_id
    WHERE c.mandate = mandates.reference AND r.state = 'geschrieben'
    ORDER BY c.collection_date, c.run_id, c.position LIMIT 1), ''),
  last_collection = (SELECT c.collection_date FROM collections c JOIN runs r ON r.id = c.run_id
    WHERE c.mandate = mandates.reference AND r.state = 'geschrieben'
    ORDER BY c.collection_date DESC, c.run_id DESC, c.position DESC LIMIT 1),
  last_sequence_type = coalesce((SELECT c.sequence_type FROM collections c
    JOIN runs r ON r.id = c.run_id
    WHERE c.mandate = mandates.reference AND r.state = 'geschrieben'
    ORDER BY c.collection_date DESC, c.run_id DESC, c.position DESC LIMIT 1), '')
WHERE )sql";

// A first-debit date taken over from elsewhere stands for a collection before any recorded one.
constexpr const char* kFoldImportSql = R"sql(
UPDATE mandates SET
  first_sequence_type = CASE WHEN first_collection IS NULL
    OR imported_first_collection < first_collection THEN '' ELSE first_sequence_type END,
  first_collection = CASE WHEN first_collection IS NULL
    OR imported_first_collection < first_collection THEN imported_first_collection
    ELSE first_collection END,
  last_sequence_type = CASE WHEN last_collection IS NULL THEN '' ELSE last_sequence_type END,
  last_collection = coalesce(last_collection, imported_first_collection)
WHERE imported_first_collection IS NOT NULL AND )sql";

constexpr const char* kStateSql = R"sql(
UPDATE mandates SET state = CASE WHEN first_collection IS NULL THEN 'neu' ELSE 'aktiv' END
WHERE )sql";

template <typename Value>
void RefreshScoped(Database& db, const char* scope, const Value& value) {
  for (const char* head : {kRefreshSql, kFoldImportSql, kStateSql}) {
    Statement update(db, (std::string(head) + scope).c_str());
    update.Bind(1, value);
    update.Run();
  }
}

}  // namespace

void SetRecordHook(RecordHook hook) { record_hook = hook; }

void RefreshMandates(Database& db, const char* scope, int64_t value) {
  RefreshScoped(db, scope, value);
}

void RefreshMandates(Database& db, const char* scope, std::string_view value) {
  RefreshScoped(db, scope, value);
}

Mandate ReadMandate(const Statement& row) {
  return Mandate{row.Text(0),         row.Text(1),         row.Text(2), row.Text(3),
                 row.OptionalText(4), row.OptionalText(5), row.Text(6), row.OptionalText(7),
                 row.Text(8),         row.Text(9)};
}

std::optional<std::string> ParseDay(std::string_view text) {
  double serial = 0;
  if (!lastora::detail::ParseDateText(text, &serial) || serial < MakeDate(1900, 1, 1)) {
    return std::nullopt;
  }
  return DayFromSerial(std::floor(serial));
}

std::string DayFromSerial(double serial) { return Format(Variant::Date(serial), "YYYY-MM-DD"); }

double SerialFromDay(const std::string& day) {
  return MakeDate(std::stoi(day.substr(0, 4)), std::stoi(day.substr(5, 2)),
                  std::stoi(day.substr(8, 2)));
}

std::string GermanDay(const std::string& day) {
  return day.substr(8, 2) + "." + day.substr(5, 2) + "." + day.substr(0, 4);
}

}  // namespace detail

namespace {

using detail::Statement;

// The run that already used an id, for the refusal's message; nullopt when none did.
std::optional<std::string> EarlierUse(const detail::Database& db, const char* column,
                                      const std::string& id) {
  if (id.empty()) return std::nullopt;
  Statement use(db, (std::string("SELECT r.id, r.recorded_at FROM run_files f JOIN runs r ON "
                                 "r.id = f.run_id WHERE f.") +
                     column + " = ?1 LIMIT 1")
                        .c_str());
  use.Bind(1, std::string_view(id));
  if (!use.Step()) return std::nullopt;
  std::string run = "Lauf " + std::to_string(use.Integer(0)) + " vom " + use.Text(1);
  while (use.Step()) {
  }
  return run;
}

void RefuseUsedIdsIn(const detail::Database& db, const RunFile& file) {
  if (auto run = EarlierUse(db, "message_id", file.message_id)) {
    throw RegisterError("Die Nachrichten-ID " + file.message_id + " wurde schon im " + *run +
                        " verwendet; jede Datei an die Bank braucht eine neue ID.");
  }
  if (auto run = EarlierUse(db, "payment_information_id", file.payment_information_id)) {
    throw RegisterError("Die Zahlungsinformations-ID " + file.payment_information_id +
                        " wurde schon im " + *run +
                        " verwendet; jede Datei an die Bank braucht eine neue ID.");
  }
}

void InsertFiles(detail::Database& db, int64_t run_id, const std::vector<RunFile>& files) {
  Statement insert(db,
                   "INSERT INTO run_files (run_id, file_name, message_id, payment_information_id, "
                   "count, sum_cents) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
  for (const RunFile& file : files) {
    RefuseUsedIdsIn(db, file);
    insert.Bind(1, run_id)
        .Bind(2, std::string_view(file.file_name))
        .Bind(3, std::string_view(file.message_id))
        .Bind(4, std::string_view(file.payment_information_id))
        .Bind(5, file.count)
        .Bind(6, file.sum_cents)
        .Run();
  }
}

// Rows per statement: a statement's own start and finish cost about as much as the writes of
// a row, so a large run is written in groups.
constexpr size_t kRowsPerStatement = 64;

// The mandate keeps the debtor's latest account: the run went to the bank with it. Its first
// and last collection move with each new one, as a full refresh would order them (an equal day
// keeps the earlier first and takes the later last). Rows of one statement apply in order.
std::string MandateUpsertSql(size_t rows) {
  std::string sql =
      "INSERT INTO mandates (reference, debtor_name, iban, bic, signature_date, "
      "first_collection, first_sequence_type, last_collection, last_sequence_type, state) VALUES ";
  for (size_t row = 0; row < rows; ++row) {
    const auto p = [row](int k) { return "?" + std::to_string(row * 7 + static_cast<size_t>(k)); };
    sql += (row == 0 ? "(" : ", (") + p(1) + ", " + p(2) + ", " + p(3) + ", " + p(4) + ", " + p(5) +
           ", " + p(6) + ", " + p(7) + ", " + p(6) + ", " + p(7) + ", 'aktiv')";
  }
  return sql +
         " ON CONFLICT (reference) DO UPDATE SET "
         "debtor_name = excluded.debtor_name, iban = excluded.iban, bic = excluded.bic, "
         "signature_date = coalesce(excluded.signature_date, signature_date), "
         "first_sequence_type = CASE WHEN first_collection IS NULL OR excluded.first_collection < "
         "first_collection THEN excluded.first_sequence_type ELSE first_sequence_type END, "
         "first_collection = min(coalesce(first_collection, excluded.first_collection), "
         "excluded.first_collection), "
         "last_sequence_type = CASE WHEN last_collection IS NULL OR excluded.last_collection >= "
         "last_collection THEN excluded.last_sequence_type ELSE last_sequence_type END, "
         "last_collection = max(coalesce(last_collection, excluded.last_collection), "
         "excluded.last_collection), state = 'aktiv'";
}

// ?1 is the run; each row has six parameters after it.
std::string CollectionInsertSql(size_t rows) {
  std::string sql =
      "INSERT INTO collections (run_id, mandate, collection_date, position, end_to_end_id, "
      "amount_cents, sequence_type) VALUES ";
  for (size_t row = 0; row < rows; ++row) {
    const auto p = [row](int k) { return "?" + std::to_string(row * 6 + static_cast<size_t>(k)); };
    sql += (row == 0 ? "(?1, " : ", (?1, ") + p(2) + ", " + p(3) + ", " + p(4) + ", " + p(5) +
           ", " + p(6) + ", " + p(7) + ")";
  }
  return sql;
}

// A run has a handful of collection days and a club a few thousand signature days: each text
// is read once. The days stay where they are while the cache lives, so statements may bind them.
class DayCache {
 public:
  const std::optional<std::string>& Parse(const std::string& text) {
    auto found = days_.find(text);
    if (found == days_.end()) found = days_.emplace(text, detail::ParseDay(text)).first;
    return found->second;
  }

 private:
  std::unordered_map<std::string, std::optional<std::string>> days_;
};

// The rows by mandate, each mandate's in the run's order: the trees are then written from left to
// right, a page at a time, instead of all over for every group of rows. A run's files come each
// in the member list's order, mostly by mandate already: a few sorted stretches are merged, in a
// pass each, instead of sorted afresh.
std::vector<size_t> KeyOrder(const std::vector<Collection>& collections) {
  constexpr size_t kMergedStretches = 8;
  std::vector<size_t> order(collections.size());
  std::iota(order.begin(), order.end(), size_t{0});
  const auto before = [&collections](size_t a, size_t b) {
    return collections[a].mandate_reference < collections[b].mandate_reference;
  };
  std::vector<std::vector<size_t>::iterator> ends;
  for (auto start = order.begin(); start != order.end() && ends.size() <= kMergedStretches;) {
    start = std::is_sorted_until(start, order.end(), before);
    ends.push_back(start);
  }
  if (ends.size() > kMergedStretches) {
    std::stable_sort(order.begin(), order.end(), before);
    return order;
  }
  for (size_t i = 1; i < ends.size(); ++i) {
    std::inplace_merge(order.begin(), ends[i - 1], ends[i], before);
  }
  return order;
}

void InsertCollections(detail::Database& db, int64_t run_id,
                       const std::vector<Collection>& collections) {
  static const std::optional<std::string> kNoDay;
  DayCache days;
  const std::vector<size_t> order = KeyOrder(collections);
  Statement full_upsert(db, MandateUpsertSql(kRowsPerStatement).c_str());
  Statement full_insert(db, CollectionInsertSql(kRowsPerStatement).c_str());
  int64_t written = 0;
  for (size_t start = 0; start < collections.size(); start += kRowsPerStatement) {
    const size_t rows = std::min(kRowsPerStatement, collections.size() - start);
    std::optional<Statement> last_upsert, last_insert;
    if (rows < kRowsPerStatement) {
      last_upsert.emplace(db, MandateUpsertSql(rows).c_str());
      last_insert.emplace(db, CollectionInsertSql(rows).c_str());
    }
    Statement& upsert = last_upsert ? *last_upsert : full_upsert;
    Statement& insert = last_insert ? *last_insert : full_insert;
    insert.Bind(1, run_id);
    for (size_t row = 0; row < rows; ++row) {
      const Collection& c = collections[order[start + row]];
      const std::optional<std::string>& day = days.Parse(c.collection_date);
      if (c.mandate_reference.empty() || !day) {
        throw RegisterError("Abbuchung " + c.end_to_end_id +
                            " ohne Mandatsreferenz oder gültiges Abbuchungsdatum; der Lauf wird "
                            "nicht eingetragen.");
      }
      const int m = static_cast<int>(row * 7);
      upsert.Bind(m + 1, std::string_view(c.mandate_reference))
          .Bind(m + 2, std::string_view(c.debtor_name))
          .Bind(m + 3, std::string_view(c.iban))
          .Bind(m + 4, std::string_view(c.bic))
          .Bind(m + 5, c.signature_date ? days.Parse(*c.signature_date) : kNoDay)
          .Bind(m + 6, std::string_view(*day))
          .Bind(m + 7, std::string_view(c.sequence_type));
      const int i = static_cast<int>(row * 6);
      insert.Bind(i + 2, std::string_view(c.mandate_reference))
          .Bind(i + 3, std::string_view(*day))
          .Bind(i + 4, static_cast<int64_t>(order[start + row]))
          .Bind(i + 5, std::string_view(c.end_to_end_id))
          .Bind(i + 6, c.amount_cents)
          .Bind(i + 7, std::string_view(c.sequence_type));
    }
    upsert.Run();
    insert.Run();
    for (size_t row = 0; row < rows; ++row) {
      detail::Reach(detail::RecordStep::kCollectionWritten, ++written);
    }
  }
}

constexpr const char* kRunScope =
    "reference IN (SELECT mandate FROM collections WHERE run_id = ?1)";

}  // namespace

Register::Register(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Register::~Register() = default;
Register::Register(Register&&) noexcept = default;
Register& Register::operator=(Register&&) noexcept = default;

Register Register::Open(const std::string& path) {
  auto impl = std::make_unique<Impl>(path);
  try {
    detail::PrepareSchema(impl->db, path);
  } catch (const RegisterError& error) {
    const std::string message = error.what();
    if (message.find(path) != std::string::npos) throw;
    throw RegisterError("Mandatsregister " + path + ": " + message);
  }
  return Register(std::move(impl));
}

std::optional<Mandate> Register::FindMandate(const std::string& reference) const {
  Statement find(impl_->db,
                 (std::string(detail::kAllMandatesSql) + " WHERE reference = ?1").c_str());
  find.Bind(1, std::string_view(reference));
  if (!find.Step()) return std::nullopt;
  Mandate mandate = detail::ReadMandate(find);
  while (find.Step()) {
  }
  return mandate;
}

std::vector<Mandate> Register::ListMandates() const {
  Statement all(impl_->db, (std::string(detail::kAllMandatesSql) + " ORDER BY reference").c_str());
  std::vector<Mandate> mandates;
  while (all.Step()) mandates.push_back(detail::ReadMandate(all));
  return mandates;
}

// The run goes in before its collections and each mandate before its collection, so checking
// every row's references again would only repeat that, at a look-up per reference and row.
// Members end in reverse order: the transaction is rolled back before the checks come back on.
class StagedRun::State {
 public:
  State(detail::Database& db, size_t count) : unchecked(db), transaction(db), count(count) {}
  detail::ForeignKeysOff unchecked;
  detail::Transaction transaction;
  int64_t run_id = 0;
  size_t count = 0;
};

StagedRun::StagedRun(std::unique_ptr<State> state) : state_(std::move(state)) {}
StagedRun::StagedRun(StagedRun&&) noexcept = default;
StagedRun& StagedRun::operator=(StagedRun&&) noexcept = default;
StagedRun::~StagedRun() = default;

int64_t StagedRun::Commit() {
  const auto count = static_cast<int64_t>(state_->count);
  const int64_t run_id = state_->run_id;
  detail::Reach(detail::RecordStep::kBeforeCommit, count);
  state_->transaction.Commit();
  // The register is free for other work at once, however long the caller keeps this.
  state_.reset();
  detail::Reach(detail::RecordStep::kCommitted, count);
  return run_id;
}

int64_t Register::RecordRun(const Run& run, const std::vector<Collection>& collections) {
  return StageRun(run, collections).Commit();
}

StagedRun Register::StageRun(const Run& run, const std::vector<Collection>& collections) {
  detail::Database& db = impl_->db;
  auto state = std::make_unique<StagedRun::State>(db, collections.size());
  Statement insert(db,
                   "INSERT INTO runs (recorded_at, settings_file, count, sum_cents, state) VALUES "
                   "(datetime('now', 'localtime'), ?1, ?2, ?3, 'geschrieben')");
  int64_t sum = 0;
  for (const Collection& c : collections) sum += c.amount_cents;
  insert.Bind(1, std::string_view(run.settings_file))
      .Bind(2, static_cast<int64_t>(collections.size()))
      .Bind(3, sum)
      .Run();
  state->run_id = db.LastInsertId();
  InsertFiles(db, state->run_id, run.files);
  InsertCollections(db, state->run_id, collections);
  return StagedRun(std::move(state));
}

void Register::RefuseUsedIds(const std::vector<RunFile>& files) const {
  for (const RunFile& file : files) RefuseUsedIdsIn(impl_->db, file);
}

std::vector<Repeat> Register::FindRepeats(const std::vector<std::string>& planned,
                                          const std::string& day) const {
  std::vector<Repeat> repeats;
  const std::optional<std::string> iso_day = detail::ParseDay(day);
  if (!iso_day) return repeats;
  // A run is nearly always later than every recorded collection: one pass over the mandates
  // tells so, and only the few mandates it names are looked up one by one.
  Statement later(impl_->db, "SELECT reference FROM mandates WHERE last_collection >= ?1");
  later.Bind(1, std::string_view(*iso_day));
  std::unordered_set<std::string> suspects;
  while (later.Step()) suspects.insert(later.Text(0));
  if (suspects.empty()) return repeats;
  Statement made(impl_->db,
                 "SELECT r.id, r.recorded_at FROM collections c JOIN runs r ON r.id = c.run_id "
                 "WHERE c.mandate = ?1 AND c.collection_date = ?2 AND r.state = 'geschrieben' "
                 "ORDER BY r.id LIMIT 1");
  for (size_t i = 0; i < planned.size(); ++i) {
    if (suspects.count(planned[i]) == 0) continue;
    made.Bind(1, std::string_view(planned[i])).Bind(2, std::string_view(*iso_day));
    if (!made.Step()) continue;
    repeats.push_back({i, made.Integer(0), made.Text(1)});
    while (made.Step()) {
    }
  }
  return repeats;
}

bool Register::MayHaveRepeats(const std::string& day) const {
  const std::optional<std::string> iso_day = detail::ParseDay(day);
  if (!iso_day) return false;
  Statement later(impl_->db, "SELECT 1 FROM mandates WHERE last_collection >= ?1 LIMIT 1");
  later.Bind(1, std::string_view(*iso_day));
  const bool any = later.Step();
  while (later.Step()) {
  }
  return any;
}

std::vector<Run> Register::ListRuns() const {
  Statement runs(impl_->db,
                 "SELECT id, recorded_at, settings_file, count, sum_cents, state FROM runs "
                 "ORDER BY id DESC");
  Statement files(impl_->db,
                  "SELECT file_name, message_id, payment_information_id, count, sum_cents FROM "
                  "run_files WHERE run_id = ?1 ORDER BY rowid");
  std::vector<Run> result;
  while (runs.Step()) {
    Run run{runs.Integer(0), runs.Text(1),    runs.Text(2), {},
            runs.Integer(3), runs.Integer(4), runs.Text(5)};
    files.Bind(1, run.id);
    while (files.Step()) {
      run.files.push_back(
          RunFile{files.Text(0), files.Text(1), files.Text(2), files.Integer(3), files.Integer(4)});
    }
    result.push_back(std::move(run));
  }
  return result;
}

void Register::CancelRun(int64_t run_id) {
  detail::Database& db = impl_->db;
  detail::Transaction transaction(db);
  Statement state(db, "SELECT state FROM runs WHERE id = ?1");
  state.Bind(1, run_id);
  const std::string number = std::to_string(run_id);
  if (!state.Step()) {
    throw RegisterError("Einen Lauf " + number + " gibt es im Mandatsregister nicht.");
  }
  if (state.Text(0) == "storniert") {
    throw RegisterError("Der Lauf " + number + " ist schon storniert.");
  }
  while (state.Step()) {
  }
  Statement cancel(db, "UPDATE runs SET state = 'storniert' WHERE id = ?1");
  cancel.Bind(1, run_id).Run();
  detail::RefreshMandates(db, kRunScope, run_id);
  transaction.Commit();
}

}  // namespace lastora::mandate_register
