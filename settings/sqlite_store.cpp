// Settings in a SQLite database. One table holds every value; the address columns keep the
// spelling as first written, and upper-cased copies of them form the primary key, so lookups
// ignore letter case the way the registry does (over the same letters as vb::UCase).
#include "settings/sqlite_store.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <system_error>

#include "framework/file_mode.h"
#include "framework/vb_error.h"
#include "settings/lock_holders.h"

#ifndef _WIN32
#include <pwd.h>
#endif

namespace settings {

namespace fs = std::filesystem;

namespace {

constexpr const char16_t* kSource = u"SqliteSettingsStore";

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS settings ("
    " app_folded TEXT NOT NULL, section_folded TEXT NOT NULL, key_folded TEXT NOT NULL,"
    " app TEXT NOT NULL, section TEXT NOT NULL, key TEXT NOT NULL, value TEXT NOT NULL,"
    " PRIMARY KEY (app_folded, section_folded, key_folded)) WITHOUT ROWID";
const std::set<std::string> kColumns = {"app_folded", "section_folded", "key_folded", "app", "section", "key", "value"};

Text PathText(const fs::path& path) {
  auto u8 = path.u8string();
  return vb::FromUtf8(std::string_view(reinterpret_cast<const char*>(u8.data()), u8.size()));
}

Text Quoted(const fs::path& path) { return u"\"" + PathText(path) + u"\""; }

Text SystemMessage(int error) { return vb::FromUtf8(std::error_code(error, std::generic_category()).message()); }

// A prepared statement with its parameters bound as UTF-8 text; finalized on every path.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  bool Bind(int index, TextView text) {
    std::string utf8 = vb::ToUtf8(text);
    return sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT) == SQLITE_OK;
  }
  int Step() { return sqlite3_step(stmt_); }
  std::string Utf8(int index) {
    auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
    return bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, index))) : std::string();
  }
  Text Column(int index) { return vb::FromUtf8(Utf8(index)); }
  std::int64_t Integer(int index) { return sqlite3_column_int64(stmt_, index); }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

bool Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

fs::path FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? fs::path(value) : fs::path();
}

Text Duration(std::chrono::milliseconds wait) {
  if (wait.count() % 1000 == 0) {
    const auto seconds = wait.count() / 1000;
    return vb::FromUtf8(std::to_string(seconds) + (seconds == 1 ? " second" : " seconds"));
  }
  return vb::FromUtf8(std::to_string(wait.count()) + " ms");
}

// A change cut off half-way (a killed process, a disk that filled during the commit) leaves the
// database half-written beside a journal that SQLite rolls back on the next read, but only
// through a connection that may write. A store opened for reading lets one do that first, when
// the mode bits allow; the content is the one before the change, as any later opening sees it.
void RollBackInterruptedChange(const char* file) {
  struct stat journal{}, database{}, folder{};
  const std::string journalName = std::string(file) + "-journal";
  const fs::path parent = fs::path(file).parent_path().empty() ? fs::path(".") : fs::path(file).parent_path();
  if (::stat(journalName.c_str(), &journal) != 0 || journal.st_size == 0 || ::stat(file, &database) != 0 ||
      ::stat(parent.c_str(), &folder) != 0 || !vb::WritableByMode(database) || !vb::WritableByMode(folder))
    return;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file, &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_busy_timeout(db, static_cast<int>(kLockWait.count()));
    Exec(db, "SELECT count(*) FROM sqlite_master");
  }
  sqlite3_close(db);
}

// A settings database is a few pages read by a few statements: SQLite's up-front pools (a
// lookaside of 120 KB per connection, room for 20 pages in the page cache), each written through
// when it is made, would cost a command more memory than everything it reads.
void UseSmallPools() {
  static const bool done = [] {
    sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0);
    sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    return true;
  }();
  (void)done;
}

}  // namespace

SqliteSettingsStore::SqliteSettingsStore(const fs::path& file, Access access, std::chrono::milliseconds lockWait)
    : path_(file), lockWait_(lockWait), readOnly_(access == Access::ReadOnly) {
  if (path_.empty()) vb::Raise(vb::err::kPathFileAccess, u"No settings database was named", kSource);
  const fs::path folder = path_.parent_path().empty() ? fs::path(".") : path_.parent_path();
  struct stat st{};
  if (::stat(path_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) Fail(u"is a folder, not a file");
    if (!S_ISREG(st.st_mode)) Fail(u"is not a regular file");
    if (!readOnly_ && !vb::WritableByMode(st)) Fail(u"is read-only (mode " + vb::FromUtf8(vb::OctalMode(st.st_mode)) + u")");
  } else if (errno != ENOENT) {
    Fail(u"cannot be read: " + SystemMessage(errno));
  } else if (readOnly_) {
    Fail(u"does not exist");
  }
  if (!readOnly_) {
    // SQLite writes its journal beside the database.
    struct stat folderStat{};
    if (::stat(folder.c_str(), &folderStat) != 0) Fail(u"cannot be created: its folder does not exist");
    if (!vb::WritableByMode(folderStat))
      Fail(u"cannot be changed: its folder is read-only (mode " + vb::FromUtf8(vb::OctalMode(folderStat.st_mode)) +
           u"), and the changes go through a journal file there");
  }

  UseSmallPools();
  auto name = path_.u8string();  // SQLite takes file names in UTF-8
  if (readOnly_) RollBackInterruptedChange(reinterpret_cast<const char*>(name.c_str()));
  const int flags = readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  if (sqlite3_open_v2(reinterpret_cast<const char*>(name.c_str()), &db_, flags, nullptr) != SQLITE_OK) {
    try {
      FailWith(u"opened");
    } catch (...) {
      sqlite3_close(db_);
      throw;
    }
  }
  sqlite3_busy_timeout(db_, static_cast<int>(lockWait_.count()));
  try {
    CheckIntact();
    CheckSchema(access);
  } catch (...) {
    sqlite3_close(db_);
    db_ = nullptr;
    throw;
  }
}

SqliteSettingsStore::~SqliteSettingsStore() {
  RollbackChanges();
  sqlite3_close(db_);
}

void SqliteSettingsStore::Fail(TextView problem) const {
  vb::Raise(vb::err::kPathFileAccess, u"The settings database " + Quoted(path_) + u" " + Text(problem), kSource);
}

void SqliteSettingsStore::FailWith(TextView doing) const {
  const int code = db_ ? sqlite3_errcode(db_) & 0xFF : SQLITE_NOMEM;
  const Text message = vb::FromUtf8(db_ ? sqlite3_errmsg(db_) : "out of memory");
  const int systemError = db_ ? sqlite3_system_errno(db_) : 0;
  switch (code) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: {
      const std::string holders = DescribeLockHolders(path_);
      Fail(u"is locked: " + (holders.empty() ? Text(u"another connection holds a lock on it") : vb::FromUtf8(holders)) +
           u"; gave up after " + Duration(lockWait_));
    }
    case SQLITE_CORRUPT:
      Fail(u"is damaged (" + message + u") and was left as it is");
    case SQLITE_NOTADB:
      Fail(u"is not a SQLite database (" + message + u") and was left as it is");
    case SQLITE_READONLY:
      if (db_ && sqlite3_extended_errcode(db_) == SQLITE_READONLY_ROLLBACK)
        Fail(u"was left half-written by a change that was cut off; its journal puts it back when somebody who may "
             u"write it opens it");
      Fail(u"cannot be " + Text(doing) + u": " + message);
    case SQLITE_FULL:
      Fail(u"cannot be " + Text(doing) + u": the disk is full");
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_PERM:
      // The system's reason says more than SQLite's ("unable to open database file").
      Fail(u"cannot be " + Text(doing) + u": " + message +
           (systemError ? u" (" + SystemMessage(systemError) + u")" : Text()));
    default:
      Fail(u"cannot be " + Text(doing) + u": " + message);
  }
}

// SQLite's quick check in one read transaction, with the file's size: a database cut short in the
// middle of a page passes the quick check, but its pages no longer fill the file.
void SqliteSettingsStore::CheckIntact() {
  if (!Exec(db_, "BEGIN")) FailWith(u"read");
  struct Ender {
    sqlite3* db;
    ~Ender() { Exec(db, "ROLLBACK"); }
  } ender{db_};
  Text problem;
  {
    Statement check(db_, "PRAGMA quick_check");
    if (!check.ok() || check.Step() != SQLITE_ROW) FailWith(u"read");
    if (Text first = check.Column(0); first != u"ok") problem = first;
  }
  if (!problem.empty()) Fail(u"is damaged (" + problem + u") and was left as it is");
  const std::int64_t bytes = PragmaNumber("PRAGMA page_count") * PragmaNumber("PRAGMA page_size");
  struct stat st{};
  if (::stat(path_.c_str(), &st) != 0) Fail(u"cannot be read: " + SystemMessage(errno));
  if (bytes != static_cast<std::int64_t>(st.st_size))
    Fail(u"is damaged (the file was cut short: it ends in the middle of its pages) and was left as it is");
}

std::int64_t SqliteSettingsStore::PragmaNumber(const char* pragma) {
  Statement query(db_, pragma);
  if (!query.ok() || query.Step() != SQLITE_ROW) FailWith(u"read");
  return query.Integer(0);
}

void SqliteSettingsStore::CheckSchema(Access access) {
  std::vector<std::string> tables;
  {
    Statement query(db_, "SELECT name FROM sqlite_master WHERE type = 'table'");
    int rc = query.ok() ? query.Step() : SQLITE_ERROR;
    for (; rc == SQLITE_ROW; rc = query.Step()) tables.push_back(query.Utf8(0));
    if (rc != SQLITE_DONE) FailWith(u"read");
  }
  std::sort(tables.begin(), tables.end());
  if (tables.empty()) {
    if (access == Access::ReadOnly) {
      empty_ = true;
      return;
    }
    if (!Exec(db_, kSchema)) FailWith(u"written");
    return;
  }
  std::set<std::string> columns;
  {
    Statement query(db_, "PRAGMA table_info(settings)");
    int rc = query.ok() ? query.Step() : SQLITE_ERROR;
    for (; rc == SQLITE_ROW; rc = query.Step()) columns.insert(query.Utf8(1));
    if (rc != SQLITE_DONE) FailWith(u"read");
  }
  if (columns == kColumns) return;
  std::string names;
  for (const std::string& table : tables) names += (names.empty() ? "" : ", ") + table;
  Fail(u"is not a vb6kit settings database (it holds the tables " + vb::FromUtf8(names) + u") and was left as it is");
}

Text SqliteSettingsStore::GetSetting(TextView app, TextView section, TextView key, TextView defaultValue) {
  if (empty_) return Text(defaultValue);
  Statement query(db_,
                  "SELECT value FROM settings WHERE app_folded = ?1 AND section_folded = ?2 AND key_folded = ?3");
  if (!query.ok() || !query.Bind(1, vb::UCase(app)) || !query.Bind(2, vb::UCase(section)) ||
      !query.Bind(3, vb::UCase(key)))
    FailWith(u"read");
  int rc = query.Step();
  if (rc == SQLITE_ROW) return query.Column(0);
  if (rc == SQLITE_DONE) return Text(defaultValue);
  FailWith(u"read");
}

void SqliteSettingsStore::SaveSetting(TextView app, TextView section, TextView key, TextView value) {
  if (app.empty() || section.empty()) vb::RaiseStandard(vb::err::kInvalidProcedureCall, kSource);
  if (readOnly_) Fail(u"was opened for reading only");
  const bool ownTransaction = !changing_;
  // IMMEDIATE takes the write lock up front, so a second process waits instead of failing
  // half-way.
  if (ownTransaction && !Exec(db_, "BEGIN IMMEDIATE")) FailWith(u"written");
  // SQLite undoes the whole transaction after some failures (a full disk, an I/O error); the
  // command's earlier changes are then gone, and a later write must not land on its own.
  if (sqlite3_get_autocommit(db_)) Fail(u"cannot be written: an earlier failure undid this command's changes");
  bool written = false;
  {
    Statement upsert(db_,
                     "INSERT INTO settings (app_folded, section_folded, key_folded, app, section, key, value)"
                     " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)"
                     " ON CONFLICT (app_folded, section_folded, key_folded) DO UPDATE SET value = excluded.value");
    written = upsert.ok() && upsert.Bind(1, vb::UCase(app)) && upsert.Bind(2, vb::UCase(section)) &&
              upsert.Bind(3, vb::UCase(key)) && upsert.Bind(4, app) && upsert.Bind(5, section) &&
              upsert.Bind(6, key) && upsert.Bind(7, value) && upsert.Step() == SQLITE_DONE;
  }
  if (written && (!ownTransaction || Exec(db_, "COMMIT"))) return;
  try {
    FailWith(u"written");
  } catch (...) {
    if (ownTransaction && !sqlite3_get_autocommit(db_)) Exec(db_, "ROLLBACK");
    throw;
  }
}

std::vector<StoredValue> SqliteSettingsStore::All(TextView app) {
  if (empty_) return {};
  Statement query(db_,
                  "SELECT app, section, key, value FROM settings WHERE ?1 = '' OR app_folded = ?1"
                  " ORDER BY app_folded, section_folded, key_folded");
  if (!query.ok() || !query.Bind(1, vb::UCase(app))) FailWith(u"read");
  std::vector<StoredValue> values;
  int rc;
  while ((rc = query.Step()) == SQLITE_ROW)
    values.push_back(StoredValue{query.Column(0), query.Column(1), query.Column(2), query.Column(3)});
  if (rc != SQLITE_DONE) FailWith(u"read");
  return values;
}

void SqliteSettingsStore::BeginChanges() {
  if (readOnly_) Fail(u"was opened for reading only");
  if (changing_) return;
  if (!Exec(db_, "BEGIN IMMEDIATE")) FailWith(u"written");
  changing_ = true;
}

void SqliteSettingsStore::CommitChanges() {
  if (!changing_) return;
  changing_ = false;
  if (sqlite3_get_autocommit(db_)) Fail(u"cannot be written: an earlier failure undid this command's changes");
  if (Exec(db_, "COMMIT")) return;
  try {
    FailWith(u"written");
  } catch (...) {
    if (!sqlite3_get_autocommit(db_)) Exec(db_, "ROLLBACK");
    throw;
  }
}

void SqliteSettingsStore::RollbackChanges() noexcept {
  if (!changing_) return;
  changing_ = false;
  if (db_ && !sqlite3_get_autocommit(db_)) Exec(db_, "ROLLBACK");
}

fs::path SqliteSettingsStore::DefaultPath() {
  fs::path explicitFile = FromEnvironment("VB6KIT_SETTINGS");
  if (!explicitFile.empty()) return explicitFile;
  // XDG says a relative XDG_CONFIG_HOME is to be ignored.
  fs::path config = FromEnvironment("XDG_CONFIG_HOME");
  if (!config.empty() && config.is_absolute()) return config / "vb6kit" / "settings.db";
#ifdef _WIN32
  fs::path appData = FromEnvironment("APPDATA");
  if (!appData.empty()) return appData / "vb6kit" / "settings.db";
  fs::path home = FromEnvironment("USERPROFILE");
#else
  fs::path home = FromEnvironment("HOME");
  if (home.empty()) {
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir) home = entry->pw_dir;
  }
#endif
  if (home.empty())
    vb::Raise(vb::err::kPathFileAccess,
              u"Cannot find the settings database: set VB6KIT_SETTINGS, XDG_CONFIG_HOME or HOME", kSource);
  return home / ".config" / "vb6kit" / "settings.db";
}

}  // namespace settings
