// The command line's home for the add-ins: the scripted toolkit that answers their dialogs,
// the SQLite settings store, the system clock and the comment add-in's log file, installed as
// the runtime for the life of the object. A command that changes settings changes them in one
// transaction, kept only when the command ends well (CommitSettings); in a dry run the add-ins
// work on a copy of the settings in memory, so nothing is written, and what would change can be
// shown.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "framework/clock.h"
#include "framework/file_event_log.h"
#include "framework/runtime.h"
#include "settings/memory_store.h"
#include "settings/sqlite_store.h"
#include "toolkits/scripted/scripted_toolkit.h"

namespace cli {

struct Context;

// What a command does with the settings: nothing (the database is neither opened nor created),
// read them (opened read-only; a database not made yet reads as empty), or change them.
enum class SettingsUse { None, Read, Change };

class Home {
 public:
  // Opens the settings database as `use` asks (UsageError saying what is wrong with it, naming
  // it); the log goes beside it.
  Home(const Context& context, SettingsUse use);
  ~Home();
  Home(const Home&) = delete;
  Home& operator=(const Home&) = delete;

  scripted::ScriptedToolkit toolkit;
  // The store the add-ins use (the database, or its copy in a dry run).
  vb::SettingsStore& settings();
  // Every value stored (of `app` only when given), ordered by app, section and key.
  std::vector<settings::StoredValue> Values(vb::TextView app = {});
  // A dry run: the unified diff of the settings export before and after the command.
  std::string SettingsDiff();
  // Keeps the command's settings changes; without it they are dropped when the home ends.
  // UsageError naming the database when they cannot be written (none of them are, then).
  void CommitSettings();

 private:
  void Open(const Context& context, SettingsUse use, const std::filesystem::path& path);

  std::unique_ptr<settings::SqliteSettingsStore> store_;
  // The settings in memory: the copy of a dry run, or the empty settings of a database not made yet.
  std::unique_ptr<settings::MemorySettingsStore> memory_;
  bool dryRun_ = false;
  std::vector<settings::StoredValue> before_;
  vb::SystemClock clock_;
  std::unique_ptr<vb::FileEventLog> log_;
  std::unique_ptr<vb::RuntimeScope> scope_;
};

// The settings file to use: the option, else the default place (VB6KIT_SETTINGS or the user's
// config folder). The comment add-in's log, comment.log, lies in the same folder.
std::filesystem::path SettingsPath(const std::optional<std::filesystem::path>& settingsPath);

}  // namespace cli
