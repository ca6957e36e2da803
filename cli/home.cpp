#include "cli/home.h"

#include <algorithm>
#include <cstdlib>

#include "cli/command.h"
#include "cli/settings_text.h"
#include "framework/vb_error.h"
#include "hosts/files/unified_diff.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Who chose the database when somebody did: the option, else the environment variable.
std::string ChosenBy(const Context& context) {
  if (context.settingsPath) return "--settings";
  const char* variable = std::getenv("VB6KIT_SETTINGS");
  return variable && *variable ? "VB6KIT_SETTINGS" : "";
}

// In the order of the export: by application, section and key, letter case ignored.
std::vector<settings::StoredValue> Ordered(std::vector<settings::StoredValue> values) {
  auto order = [](const settings::StoredValue& x) {
    return std::make_tuple(vb::UCase(x.app), vb::UCase(x.section), vb::UCase(x.key));
  };
  std::sort(values.begin(), values.end(), [&](const auto& x, const auto& y) { return order(x) < order(y); });
  return values;
}

}  // namespace

std::filesystem::path SettingsPath(const std::optional<std::filesystem::path>& settingsPath) {
  return settingsPath ? *settingsPath : settings::SqliteSettingsStore::DefaultPath();
}

Home::Home(const Context& context, SettingsUse use) : dryRun_(context.dryRun) {
  try {
    const fs::path path = SettingsPath(context.settingsPath);
    if (use != SettingsUse::None) Open(context, use, path);
    // The log lives beside the settings, wherever they were put; a chosen folder that does not
    // exist is not made for it, as it is not for the database.
    std::error_code ec;
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    if (ChosenBy(context).empty() || fs::is_directory(folder, ec))
      log_ = std::make_unique<vb::FileEventLog>(folder / "comment.log");
  } catch (const vb::Error& error) {
    // A command that keeps no settings needs no place for them; it goes without the log.
    if (use != SettingsUse::None) throw UsageError(vb::ToUtf8(error.description));
  }
  vb::SettingsStore* active = memory_ ? static_cast<vb::SettingsStore*>(memory_.get()) : store_.get();
  scope_ = std::make_unique<vb::RuntimeScope>(vb::Runtime{&toolkit, active, &clock_, log_.get(), u"/", u":"});
}

void Home::Open(const Context& context, SettingsUse use, const fs::path& path) {
  const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
  std::error_code ec;
  const std::string chosenBy = ChosenBy(context);
  const bool change = use == SettingsUse::Change && !dryRun_;
  if (!fs::is_directory(folder, ec)) {
    // Only the default place is made: a chosen path with a mistyped folder must not leave a new
    // empty database behind where nobody looks.
    if (!chosenBy.empty())
      throw UsageError(chosenBy + " " + path.string() + ": the folder " + folder.string() + " does not exist");
    if (change && !fs::create_directories(folder, ec) && ec)
      throw UsageError("cannot create the folder " + folder.string() + " of the settings database: " + ec.message());
  }
  if (change) {
    store_ = std::make_unique<settings::SqliteSettingsStore>(path, settings::Access::ReadWrite);
    store_->BeginChanges();
    return;
  }
  if (fs::exists(path, ec) || fs::is_symlink(path, ec))
    store_ = std::make_unique<settings::SqliteSettingsStore>(path, settings::Access::ReadOnly);
  if (!store_ || dryRun_) {
    memory_ = std::make_unique<settings::MemorySettingsStore>();
    if (store_) before_ = store_->All();
    for (const settings::StoredValue& v : before_) memory_->SaveSetting(v.app, v.section, v.key, v.value);
  }
}

Home::~Home() = default;

vb::SettingsStore& Home::settings() {
  if (memory_) return *memory_;
  if (!store_) vb::Raise(vb::err::kObjectNotSet, u"This command keeps no settings");
  return *store_;
}

std::vector<settings::StoredValue> Home::Values(vb::TextView app) {
  if (!memory_) return store_ ? store_->All(app) : std::vector<settings::StoredValue>();
  std::vector<settings::StoredValue> values;
  for (const auto& [address, value] : memory_->values()) {
    const auto& [a, section, key] = address;
    if (app.empty() || vb::EqualsNoCase(a, app)) values.push_back({a, section, key, value});
  }
  return Ordered(std::move(values));
}

std::string Home::SettingsDiff() {
  if (!dryRun_) return {};
  return files::UnifiedDiff("settings", LinesOf(FormatSettings(Ordered(before_))), LinesOf(FormatSettings(Values())));
}

void Home::CommitSettings() {
  if (!store_ || dryRun_) return;
  try {
    store_->CommitChanges();
  } catch (const vb::Error& error) {
    throw UsageError(vb::ToUtf8(error.description));
  }
}

}  // namespace cli
