#include "workbook/register_schema.h"

#include <array>

#include "lastora/mandate_register.h"

namespace lastora::mandate_register::detail {
namespace {

// Step i takes a register from version i to version i + 1. A new version appends a step; a
// step never changes once released, since registers in the field were made by it.
constexpr std::array<const char*, kSchemaVersion> kSteps = {
    R"sql(
CREATE TABLE mandates (
  reference TEXT PRIMARY KEY,
  debtor_name TEXT NOT NULL DEFAULT '',
  iban TEXT NOT NULL DEFAULT '',
  bic TEXT NOT NULL DEFAULT '',
  signature_date TEXT,
  imported_first_collection TEXT,
  first_collection TEXT,
  first_sequence_type TEXT NOT NULL DEFAULT '',
  last_collection TEXT,
  last_sequence_type TEXT NOT NULL DEFAULT '',
  state TEXT NOT NULL DEFAULT 'neu');
CREATE TABLE runs (
  id INTEGER PRIMARY KEY,
  recorded_at TEXT NOT NULL,
  settings_file TEXT NOT NULL,
  count INTEGER NOT NULL,
  sum_cents INTEGER NOT NULL,
  state TEXT NOT NULL CHECK (state IN ('geschrieben', 'storniert')));
CREATE TABLE run_files (
  run_id INTEGER NOT NULL REFERENCES runs(id),
  file_name TEXT NOT NULL,
  message_id TEXT NOT NULL,
  payment_information_id TEXT NOT NULL,
  count INTEGER NOT NULL,
  sum_cents INTEGER NOT NULL);
CREATE UNIQUE INDEX run_files_message ON run_files(message_id) WHERE message_id <> '';
CREATE UNIQUE INDEX run_files_payment_information
  ON run_files(payment_information_id) WHERE payment_information_id <> '';
CREATE TABLE collections (
  id INTEGER PRIMARY KEY,
  run_id INTEGER NOT NULL REFERENCES runs(id),
  mandate TEXT NOT NULL REFERENCES mandates(reference),
  end_to_end_id TEXT NOT NULL,
  amount_cents INTEGER NOT NULL,
  sequence_type TEXT NOT NULL,
  collection_date TEXT NOT NULL);
CREATE INDEX collections_mandate ON collections(mandate, collection_date);
CREATE INDEX collections_run ON collections(run_id);
)sql",
    // Each mandate and each collection lives in one B-tree, keyed as it is looked up: a large
    // run wrote five trees per row before. A run's collections are found by a scan, which only
    // the rare cancellation needs; the position keeps the order of a run's rows.
    R"sql(
CREATE TABLE mandates_keyed (
  reference TEXT PRIMARY KEY,
  debtor_name TEXT NOT NULL DEFAULT '',
  iban TEXT NOT NULL DEFAULT '',
  bic TEXT NOT NULL DEFAULT '',
  signature_date TEXT,
  imported_first_collection TEXT,
  first_collection TEXT,
  first_sequence_type TEXT NOT NULL DEFAULT '',
  last_collection TEXT,
  last_sequence_type TEXT NOT NULL DEFAULT '',
  state TEXT NOT NULL DEFAULT 'neu') WITHOUT ROWID;
INSERT INTO mandates_keyed SELECT reference, debtor_name, iban, bic, signature_date,
  imported_first_collection, first_collection, first_sequence_type, last_collection,
  last_sequence_type, state FROM mandates;
CREATE TABLE collections_keyed (
  mandate TEXT NOT NULL REFERENCES mandates(reference),
  collection_date TEXT NOT NULL,
  run_id INTEGER NOT NULL REFERENCES runs(id),
  position INTEGER NOT NULL,
  end_to_end_id TEXT NOT NULL,
  amount_cents INTEGER NOT NULL,
  sequence_type TEXT NOT NULL,
  PRIMARY KEY (mandate, collection_date, run_id, position)) WITHOUT ROWID;
INSERT INTO collections_keyed SELECT mandate, collection_date, run_id, id, end_to_end_id,
  amount_cents, sequence_type FROM collections;
DROP TABLE collections;
DROP TABLE mandates;
ALTER TABLE mandates_keyed RENAME TO mandates;
ALTER TABLE collections_keyed RENAME TO collections;
)sql",
};

int UserVersion(const Database& db) {
  Statement version(db, "PRAGMA user_version");
  version.Step();
  const int value = static_cast<int>(version.Integer(0));
  while (version.Step()) {
  }
  return value;
}

bool HasForeignTables(const Database& db) {
  Statement tables(db, "SELECT count(*) FROM sqlite_master WHERE name NOT LIKE 'sqlite_%'");
  tables.Step();
  const bool any = tables.Integer(0) > 0;
  while (tables.Step()) {
  }
  return any;
}

void RefuseNewer(int version, const std::string& path) {
  if (version <= kSchemaVersion) return;
  throw RegisterError("Das Mandatsregister " + path +
                      " stammt von einer neueren Lastora-Version (Schema " +
                      std::to_string(version) + ", diese Version kennt bis Schema " +
                      std::to_string(kSchemaVersion) +
                      "). Bitte Lastora aktualisieren; das Register bleibt unverändert.");
}

}  // namespace

const char* SchemaStep(int from) { return kSteps.at(static_cast<size_t>(from)); }

void PrepareSchema(Database& db, const std::string& path) {
  // Reading the version first also tells a file that is no database at all.
  RefuseNewer(UserVersion(db), path);
  db.ExecuteWhenFree("PRAGMA journal_mode = WAL");
  // In WAL mode this still makes every commit atomic across a crash or kill of the program; only
  // a power cut or a crash of the system may lose the last commits, never damage the file. The
  // files a run writes are no safer than that, and it spares a sync per commit.
  db.Execute("PRAGMA synchronous = NORMAL");
  db.Execute("PRAGMA foreign_keys = ON");
  // A run writes both trees from left to right, so a page it leaves is seldom wanted again: a small
  // cache passes pages to the log while the run is written, and the commit has little left to
  // do. A large one held every page of a large run until the commit, in fresh memory.
  db.Execute("PRAGMA cache_size = -4096");
  if (UserVersion(db) == kSchemaVersion) return;
  // Tables are rebuilt under new names; their references hold only once all are in place.
  ForeignKeysOff unchecked(db);
  Transaction transaction(db);
  // Another process may have migrated between the first look and the lock.
  int version = UserVersion(db);
  RefuseNewer(version, path);
  if (version == 0 && HasForeignTables(db)) {
    throw RegisterError("Die Datei " + path +
                        " ist eine andere Datenbank, kein Mandatsregister; bitte eine andere "
                        "Datei als Register angeben.");
  }
  for (; version < kSchemaVersion; ++version) db.Execute(SchemaStep(version));
  db.Execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
  transaction.Commit();
}

}  // namespace lastora::mandate_register::detail
