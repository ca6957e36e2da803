// Settings in a SQLite database. One table holds every value; the address columns keep the
// spelling as first written, and upper-cased copies of them form the primary key, so lookups
// ignore letter case the way the registry does (over the same letters as vb::UCase).
#include "settings/sqlite_store.h"

#include <sqlite3.h>

#include <cstdlib>
#include <system_error>

#include "framework/vb_error.h"

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace settings {

namespace {

constexpr int kBusyTimeoutMs = 5000;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS settings ("
    " app_folded TEXT NOT NULL, section_folded TEXT NOT NULL, key_folded TEXT NOT NULL,"
    " app TEXT NOT NULL, section TEXT NOT NULL, key TEXT NOT NULL, value TEXT NOT NULL,"
    " PRIMARY KEY (app_folded, section_folded, key_folded)) WITHOUT ROWID";

Text PathText(const std::filesystem::path& path) {
  auto u8 = path.u8string();
  return vb::FromUtf8(std::string_view(reinterpret_cast<const char*>(u8.data()), u8.size()));
}

[[noreturn]] void RaiseFor(const std::filesystem::path& path, TextView what, TextView reason) {
  Text description = Text(what) + u" the settings database \"" + PathText(path) + u"\"";
  if (!reason.empty()) description += u": " + Text(reason);
  vb::Raise(vb::err::kPathFileAccess, std::move(description), u"SqliteSettingsStore");
}

Text SqliteMessage(sqlite3* db) { return vb::FromUtf8(db ? sqlite3_errmsg(db) : "out of memory"); }

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
  Text Column(int index) {
    auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
    int size = sqlite3_column_bytes(stmt_, index);
    return bytes ? vb::FromUtf8(std::string_view(bytes, static_cast<std::size_t>(size))) : Text();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

bool Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

std::filesystem::path FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

}  // namespace

SqliteSettingsStore::SqliteSettingsStore(const std::filesystem::path& file) : path_(file) {
  if (path_.empty()) RaiseFor(path_, u"Cannot open", u"no file name was given");
  std::error_code ec;
  std::filesystem::path folder = path_.parent_path();
  if (!folder.empty()) {
    std::filesystem::create_directories(folder, ec);
    if (ec) RaiseFor(path_, u"Cannot create the folder of", vb::FromUtf8(ec.message()));
  }

  auto name = path_.u8string();  // SQLite takes file names in UTF-8
  int rc = sqlite3_open_v2(reinterpret_cast<const char*>(name.c_str()), &db_,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    // The first statement is what finds out whether the file is a database at all.
    if (Exec(db_, kSchema)) return;
  }
  Text reason = SqliteMessage(db_);
  sqlite3_close(db_);
  db_ = nullptr;
  RaiseFor(path_, u"Cannot open", reason);
}

SqliteSettingsStore::~SqliteSettingsStore() { sqlite3_close(db_); }

Text SqliteSettingsStore::GetSetting(TextView app, TextView section, TextView key, TextView defaultValue) {
  Statement query(db_,
                  "SELECT value FROM settings WHERE app_folded = ?1 AND section_folded = ?2 AND key_folded = ?3");
  if (!query.ok() || !query.Bind(1, vb::UCase(app)) || !query.Bind(2, vb::UCase(section)) ||
      !query.Bind(3, vb::UCase(key)))
    RaiseFor(path_, u"Cannot read from", SqliteMessage(db_));
  int rc = query.Step();
  if (rc == SQLITE_ROW) return query.Column(0);
  if (rc == SQLITE_DONE) return Text(defaultValue);
  RaiseFor(path_, u"Cannot read from", SqliteMessage(db_));
}

void SqliteSettingsStore::SaveSetting(TextView app, TextView section, TextView key, TextView value) {
  if (app.empty() || section.empty()) vb::RaiseStandard(vb::err::kInvalidProcedureCall, u"SqliteSettingsStore");
  // IMMEDIATE takes the write lock up front, so a second process waits (busy timeout) instead
  // of failing half-way; the upsert keeps the address's first spelling.
  if (!Exec(db_, "BEGIN IMMEDIATE")) RaiseFor(path_, u"Cannot write to", SqliteMessage(db_));
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
  if (written && Exec(db_, "COMMIT")) return;
  Text reason = SqliteMessage(db_);
  Exec(db_, "ROLLBACK");
  RaiseFor(path_, u"Cannot write to", reason);
}

std::vector<StoredValue> SqliteSettingsStore::All(TextView app) {
  Statement query(db_,
                  "SELECT app, section, key, value FROM settings WHERE ?1 = '' OR app_folded = ?1"
                  " ORDER BY app_folded, section_folded, key_folded");
  if (!query.ok() || !query.Bind(1, vb::UCase(app))) RaiseFor(path_, u"Cannot read from", SqliteMessage(db_));
  std::vector<StoredValue> values;
  int rc;
  while ((rc = query.Step()) == SQLITE_ROW)
    values.push_back(StoredValue{query.Column(0), query.Column(1), query.Column(2), query.Column(3)});
  if (rc != SQLITE_DONE) RaiseFor(path_, u"Cannot read from", SqliteMessage(db_));
  return values;
}

std::filesystem::path SqliteSettingsStore::DefaultPath() {
  std::filesystem::path explicitFile = FromEnvironment("VB6KIT_SETTINGS");
  if (!explicitFile.empty()) return explicitFile;
  // XDG says a relative XDG_CONFIG_HOME is to be ignored.
  std::filesystem::path config = FromEnvironment("XDG_CONFIG_HOME");
  if (!config.empty() && config.is_absolute()) return config / "vb6kit" / "settings.db";
#ifdef _WIN32
  std::filesystem::path appData = FromEnvironment("APPDATA");
  if (!appData.empty()) return appData / "vb6kit" / "settings.db";
  std::filesystem::path home = FromEnvironment("USERPROFILE");
#else
  std::filesystem::path home = FromEnvironment("HOME");
  if (home.empty()) {
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir) home = entry->pw_dir;
  }
#endif
  if (home.empty())
    vb::Raise(vb::err::kPathFileAccess,
              u"Cannot find the settings database: set VB6KIT_SETTINGS, XDG_CONFIG_HOME or HOME",
              u"SqliteSettingsStore");
  return home / ".config" / "vb6kit" / "settings.db";
}

}  // namespace settings
