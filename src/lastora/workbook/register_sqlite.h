// A thin RAII layer over the SQLite C interface: every failure becomes a RegisterError in the
// register's own words, every handle is released on every path.
#ifndef LASTORA_WORKBOOK_REGISTER_SQLITE_H_
#define LASTORA_WORKBOOK_REGISTER_SQLITE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace lastora::mandate_register::detail {

class Database {
 public:
  // Opens (creating when missing) the file; waits up to busy_ms for another process's lock.
  Database(const std::string& path, int busy_ms);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void Execute(const char* sql);
  // For the few statements for which SQLite answers "busy" at once instead of calling its busy
  // handler (switching the journal mode while another process opens the file): tries again until
  // the busy time has passed.
  void ExecuteWhenFree(const char* sql);
  sqlite3* handle() const { return db_; }
  [[noreturn]] void Fail() const;
  int64_t LastInsertId() const;

 private:
  sqlite3* db_ = nullptr;
  int busy_ms_ = 0;
};

class Statement {
 public:
  Statement(const Database& db, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // The text is not copied: it must live until the statement has run (a temporary in the same
  // expression as Run or the last Step does). A copy per value was a fifth of a large run's
  // recording.
  Statement& Bind(int index, std::string_view text);
  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, const std::optional<std::string>& text);  // nullopt: NULL
  // True while a row is there; false when done. Resets itself when done.
  bool Step();
  void Run();  // a statement without rows; ready for new bindings afterwards
  std::string Text(int column) const;  // "" for NULL
  // Valid until the next Step; "" for NULL.
  std::string_view TextView(int column) const;
  std::optional<std::string> OptionalText(int column) const;
  int64_t Integer(int column) const;

 private:
  const Database& db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// BEGIN IMMEDIATE: the write lock is taken at the start, so two writers queue on the busy
// timeout instead of one failing at its first write. Rolled back unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  Database& db_;
  bool open_ = true;
};

// Foreign keys unchecked while it lives; made before a transaction, since SQLite ignores the
// switch inside one.
class ForeignKeysOff {
 public:
  explicit ForeignKeysOff(Database& db) : db_(db) { db_.Execute("PRAGMA foreign_keys = OFF"); }
  ~ForeignKeysOff();
  ForeignKeysOff(const ForeignKeysOff&) = delete;
  ForeignKeysOff& operator=(const ForeignKeysOff&) = delete;

 private:
  Database& db_;
};

}  // namespace lastora::mandate_register::detail

#endif  // LASTORA_WORKBOOK_REGISTER_SQLITE_H_
