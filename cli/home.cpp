#include "cli/home.h"

#include <algorithm>

#include "cli/command.h"
#include "cli/settings_text.h"
#include "framework/vb_error.h"
#include "hosts/files/unified_diff.h"

namespace cli {

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

}  // namespace

std::filesystem::path SettingsPath(const std::optional<std::filesystem::path>& settingsPath) {
  return settingsPath ? *settingsPath : settings::SqliteSettingsStore::DefaultPath();
}

Home::Home(const Context& context) {
  const std::filesystem::path path = SettingsPath(context.settingsPath);
  try {
    store_ = std::make_unique<settings::SqliteSettingsStore>(path);
  } catch (const vb::Error& error) {
    throw UsageError("cannot open the settings store " + path.string() + ": " + vb::ToUtf8(error.description));
  }
  vb::SettingsStore* active = store_.get();
  if (context.dryRun) {
    copy_ = std::make_unique<settings::MemorySettingsStore>();
    before_ = store_->All();
    for (const settings::StoredValue& v : before_) copy_->SaveSetting(v.app, v.section, v.key, v.value);
    active = copy_.get();
  }
  // The log lives beside the settings, wherever they were put.
  log_ = std::make_unique<vb::FileEventLog>(path.parent_path() / "comment.log");
  scope_ = std::make_unique<vb::RuntimeScope>(vb::Runtime{&toolkit, active, &clock_, log_.get(), u"/", u":"});
}

Home::~Home() = default;

vb::SettingsStore& Home::settings() { return copy_ ? static_cast<vb::SettingsStore&>(*copy_) : *store_; }

std::vector<settings::StoredValue> Home::Values(vb::TextView app) {
  if (!copy_) return store_->All(app);
  std::vector<settings::StoredValue> values;
  for (const auto& [address, value] : copy_->values()) {
    const auto& [a, section, key] = address;
    if (app.empty() || vb::EqualsNoCase(a, app)) values.push_back({a, section, key, value});
  }
  auto order = [](const settings::StoredValue& x) {
    return std::make_tuple(vb::UCase(x.app), vb::UCase(x.section), vb::UCase(x.key));
  };
  std::sort(values.begin(), values.end(), [&](const auto& x, const auto& y) { return order(x) < order(y); });
  return values;
}

std::string Home::SettingsDiff() {
  if (!copy_) return {};
  std::vector<settings::StoredValue> before = before_;
  auto order = [](const settings::StoredValue& x) {
    return std::make_tuple(vb::UCase(x.app), vb::UCase(x.section), vb::UCase(x.key));
  };
  std::sort(before.begin(), before.end(), [&](const auto& x, const auto& y) { return order(x) < order(y); });
  return files::UnifiedDiff("settings", LinesOf(FormatSettings(before)), LinesOf(FormatSettings(Values())));
}

}  // namespace cli
