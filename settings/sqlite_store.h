// Settings in a SQLite database file: one table keyed by application, section and key (compared
// without regard to letter case). The changes of one command go into one transaction, so that
// they all stay or none does.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include "framework/settings_store.h"

struct sqlite3;

namespace settings {

using vb::Text;
using vb::TextView;

struct StoredValue {
  Text app, section, key, value;
  bool operator==(const StoredValue&) const = default;
};

enum class Access { ReadOnly, ReadWrite };

// How long a command waits for a lock that another process holds on the database.
inline constexpr std::chrono::milliseconds kLockWait{5000};

// Every failure raises vb::Error 75 whose description names the file once and says what is wrong.
class SqliteSettingsStore : public vb::SettingsStore {
 public:
  // Opens the database, with ReadWrite creating it when it does not exist (never its folder).
  // Refused, and left exactly as it is: a file that is not a settings database, a damaged one
  // (SQLite's quick check, or a file cut short in the middle of a page), and with ReadWrite a
  // file or folder whose mode bits make it read-only (judged by the bits also for root, who
  // could write anyway).
  explicit SqliteSettingsStore(const std::filesystem::path& file, Access access = Access::ReadWrite,
                               std::chrono::milliseconds lockWait = kLockWait);
  ~SqliteSettingsStore() override;
  // One connection per object: a copy would close the same connection twice.
  SqliteSettingsStore(const SqliteSettingsStore&) = delete;
  SqliteSettingsStore& operator=(const SqliteSettingsStore&) = delete;

  Text GetSetting(TextView app, TextView section, TextView key, TextView defaultValue) override;
  // Outside BeginChanges each value is written in a transaction of its own.
  void SaveSetting(TextView app, TextView section, TextView key, TextView value) override;
  // Every stored value of `app` (all applications when empty), ordered by app, section, key.
  std::vector<StoredValue> All(TextView app = {});

  // Starts the changes of one command: takes the write lock now (waiting for another process at
  // most the lock wait, then naming who holds it), and every SaveSetting until CommitChanges
  // belongs to them. RollbackChanges, or the end of the object, drops them all.
  void BeginChanges();
  void CommitChanges();
  void RollbackChanges() noexcept;

  const std::filesystem::path& path() const { return path_; }

  // VB6KIT_SETTINGS when set, else $XDG_CONFIG_HOME/vb6kit/settings.db, else
  // ~/.config/vb6kit/settings.db.
  static std::filesystem::path DefaultPath();

 private:
  [[noreturn]] void Fail(TextView problem) const;
  [[noreturn]] void FailWith(TextView doing) const;
  void CheckIntact();
  std::int64_t PragmaNumber(const char* pragma);  // the first column of a pragma's one row
  void CheckSchema(Access access);

  std::filesystem::path path_;
  std::chrono::milliseconds lockWait_;
  sqlite3* db_ = nullptr;
  bool readOnly_ = false;
  bool empty_ = false;     // opened for reading, no table yet: every key is absent
  bool changing_ = false;  // between BeginChanges and its end
};

}  // namespace settings
