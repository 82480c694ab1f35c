#include "workbook/register_sqlite.h"

#include <sqlite3.h>

#include "lastora/mandate_register.h"

namespace lastora::mandate_register::detail {

Database::Database(const std::string& path, int busy_ms) : busy_ms_(busy_ms) {
  const int rc =
      sqlite3_open_v2(path.c_str(), &db_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const std::string reason = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    throw RegisterError("Das Mandatsregister " + path + " lässt sich nicht öffnen: " + reason);
  }
  sqlite3_busy_timeout(db_, busy_ms);
  sqlite3_extended_result_codes(db_, 1);
}

Database::~Database() { sqlite3_close_v2(db_); }

int64_t Database::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

void Database::Execute(const char* sql) {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
}

void Database::ExecuteWhenFree(const char* sql) {
  constexpr int kPauseMs = 10;
  for (int waited = 0;; waited += kPauseMs) {
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) return;
    if ((rc & 0xFF) != SQLITE_BUSY || waited >= busy_ms_) Fail();
    sqlite3_sleep(kPauseMs);
  }
}

void Database::Fail() const {
  std::string message = "Mandatsregister: ";
  message += sqlite3_errmsg(db_);
  const int code = sqlite3_errcode(db_) & 0xFF;
  if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT) {
    message = "Die Datei ist kein (lesbares) Mandatsregister: " + std::string(sqlite3_errmsg(db_));
  } else if (code == SQLITE_BUSY) {
    message += " (ein anderes Lastora-Programm hält das Register zu lange belegt)";
  }
  throw RegisterError(message);
}

Statement::Statement(const Database& db, const char* sql) : db_(db) {
  if (sqlite3_prepare_v2(db.handle(), sql, -1, &stmt_, nullptr) != SQLITE_OK) db.Fail();
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::Bind(int index, std::string_view text) {
  if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC) !=
      SQLITE_OK) {
    db_.Fail();
  }
  return *this;
}

Statement& Statement::Bind(int index, int64_t value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) db_.Fail();
  return *this;
}

Statement& Statement::Bind(int index, const std::optional<std::string>& text) {
  if (text) return Bind(index, std::string_view(*text));
  if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) db_.Fail();
  return *this;
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  sqlite3_reset(stmt_);
  if (rc != SQLITE_DONE) db_.Fail();
  return false;
}

void Statement::Run() {
  while (Step()) {
  }
  sqlite3_clear_bindings(stmt_);
}

std::string Statement::Text(int column) const { return OptionalText(column).value_or(""); }

std::optional<std::string> Statement::OptionalText(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  if (text == nullptr) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::string_view Statement::TextView(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  if (text == nullptr) return {};
  return {reinterpret_cast<const char*>(text),
          static_cast<size_t>(sqlite3_column_bytes(stmt_, column))};
}

int64_t Statement::Integer(int column) const { return sqlite3_column_int64(stmt_, column); }

Transaction::Transaction(Database& db) : db_(db) { db_.Execute("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (open_) sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  db_.Execute("COMMIT");
  open_ = false;
}

ForeignKeysOff::~ForeignKeysOff() {
  sqlite3_exec(db_.handle(), "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
}

}  // namespace lastora::mandate_register::detail
