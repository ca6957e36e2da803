// Settings in a SQLite database file: one table keyed by application, section and key (compared
// without regard to letter case), each write in its own transaction.
#pragma once

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

class SqliteSettingsStore : public vb::SettingsStore {
 public:
  // Opens (creating the file and its folders on first use); raises vb::Error naming the path
  // when the database cannot be opened.
  explicit SqliteSettingsStore(const std::filesystem::path& file);
  ~SqliteSettingsStore() override;
  // One connection per object: a copy would close the same connection twice.
  SqliteSettingsStore(const SqliteSettingsStore&) = delete;
  SqliteSettingsStore& operator=(const SqliteSettingsStore&) = delete;

  Text GetSetting(TextView app, TextView section, TextView key, TextView defaultValue) override;
  void SaveSetting(TextView app, TextView section, TextView key, TextView value) override;
  // Every stored value of `app` (all applications when empty), ordered by app, section, key.
  std::vector<StoredValue> All(TextView app = {});
  const std::filesystem::path& path() const { return path_; }

  // VB6KIT_SETTINGS when set, else $XDG_CONFIG_HOME/vb6kit/settings.db, else
  // ~/.config/vb6kit/settings.db.
  static std::filesystem::path DefaultPath();

 private:
  std::filesystem::path path_;
  sqlite3* db_ = nullptr;
};

}  // namespace settings
