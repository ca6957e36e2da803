// Where the command line keeps its per-user files: the settings database and, beside it, the
// comment add-in's log.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/command.h"
#include "cli/home.h"
#include "framework/runtime.h"
#include "support/file_bytes.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ScopedEnv;

// Puts the working folder back at the end, whatever a case did.
struct WorkingFolder {
  explicit WorkingFolder(const fs::path& folder) { fs::current_path(folder); }
  ~WorkingFolder() { fs::current_path(previous); }
  fs::path previous = fs::current_path();
};

TEST(Home, SettingsDatabaseAndCommentLogShareOneFolder) {
  testing_support::TempFolder temp("vb6kit-home");
  const fs::path home = temp / "home";
  struct Case {
    const char* what;
    fs::path settings;  // VB6KIT_SETTINGS, empty: unset
    const char* xdg;    // XDG_CONFIG_HOME, nullptr: unset
    fs::path folder;    // where both files must be
    const char* database;
  };
  const std::string absoluteXdg = (temp / "xdg").string();
  const Case cases[] = {
      {"VB6KIT_SETTINGS set", temp / "own" / "kit.db", absoluteXdg.c_str(), temp / "own", "kit.db"},
      {"XDG_CONFIG_HOME absolute", {}, absoluteXdg.c_str(), temp / "xdg" / "vb6kit", "settings.db"},
      // A relative XDG_CONFIG_HOME is ignored, for the log as for the database.
      {"XDG_CONFIG_HOME relative", {}, "relative", home / ".config" / "vb6kit", "settings.db"},
      {"neither", {}, nullptr, home / ".config" / "vb6kit", "settings.db"},
  };
  WorkingFolder working(temp.path());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(temp / "own");
    fs::remove_all(temp / "xdg");
    fs::remove_all(home);
    ScopedEnv settings("VB6KIT_SETTINGS", c.settings.empty() ? nullptr : c.settings.c_str());
    ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
    ScopedEnv homeVar("HOME", home.c_str());
    {
      std::istringstream in;
      std::ostringstream out, err;
      cli::Context context{in, out, err, false, std::nullopt, false, false, ""};
      // A chosen database's folder is not made: the person who chose it makes it.
      if (!c.settings.empty()) fs::create_directories(c.settings.parent_path());
      cli::Home cliHome(context, cli::SettingsUse::Change);
      cliHome.settings().SaveSetting(u"Comment", u"Options", u"Username", u"ann");
      cliHome.CommitSettings();
      vb::LogEvent(u"one entry");
    }
    EXPECT_TRUE(fs::exists(c.folder / c.database));
    EXPECT_EQ(testing_support::ReadFile(c.folder / "comment.log"), "one entry\n");
    EXPECT_FALSE(fs::exists(temp / "relative"));
  }

  // A chosen folder that does not exist is not made for the log either.
  const fs::path missing = temp / "missing" / "settings.db";
  ScopedEnv settings("VB6KIT_SETTINGS", missing.c_str());
  {
    std::istringstream in;
    std::ostringstream out, err;
    cli::Context context{in, out, err, false, std::nullopt, false, false, ""};
    cli::Home cliHome(context, cli::SettingsUse::None);
    vb::LogEvent(u"one entry");
  }
  EXPECT_FALSE(fs::exists(missing.parent_path()));
}

}  // namespace
