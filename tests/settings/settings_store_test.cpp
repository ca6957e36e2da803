#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/vb_error.h"
#include "settings/memory_store.h"
#include "settings/sqlite_store.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using settings::MemorySettingsStore;
using settings::SqliteSettingsStore;
using settings::StoredValue;
using testing_support::ScopedEnv;
using testing_support::TempFolder;
using vb::Text;

const Text kAwkwardValue = u"Line 1\r\nLine 2 with \"quotes\" and 'apostrophes'\r\n\tTab; DROP TABLE settings; --\r\n"
                           u"Grüße \u20AC \u4E2D \U0001F600 %s %d \\ end\r\n";

// What every store does, checked through the interface alone.
void CheckCommonBehaviour(vb::SettingsStore& store) {
  EXPECT_EQ(store.GetSetting(u"Pellmoss", u"Code", u"Absent", u"fallback"), u"fallback");
  EXPECT_EQ(store.GetSetting(u"Pellmoss", u"Code", u"Absent", u""), u"");

  store.SaveSetting(u"Pellmoss", u"Code", u"Alpha", kAwkwardValue);
  EXPECT_EQ(store.GetSetting(u"Pellmoss", u"Code", u"Alpha", u""), kAwkwardValue);
  EXPECT_EQ(store.GetSetting(u"PELLMOSS", u"code", u"aLPHA", u""), kAwkwardValue);

  // Overwrite through another spelling of the same key.
  store.SaveSetting(u"pellmoss", u"CODE", u"ALPHA", u"second");
  EXPECT_EQ(store.GetSetting(u"Pellmoss", u"Code", u"Alpha", u""), u"second");

  // Same key in another section or application is another value.
  store.SaveSetting(u"Pellmoss", u"Options", u"Alpha", u"options");
  store.SaveSetting(u"Ravlen", u"Code", u"Alpha", u"ravlen");
  EXPECT_EQ(store.GetSetting(u"Pellmoss", u"Code", u"Alpha", u""), u"second");
  EXPECT_EQ(store.GetSetting(u"Pellmoss", u"Options", u"Alpha", u""), u"options");
  EXPECT_EQ(store.GetSetting(u"Ravlen", u"Code", u"Alpha", u""), u"ravlen");

  // An empty value is a value, not an absent key.
  store.SaveSetting(u"Ravlen", u"Options", u"FontName", u"");
  EXPECT_EQ(store.GetSetting(u"Ravlen", u"Options", u"FontName", u"Times New Roman"), u"");

  // Non-ASCII keys fold the same way in both stores.
  store.SaveSetting(u"Ravlen", u"Options", u"Größe", u"10");
  EXPECT_EQ(store.GetSetting(u"Ravlen", u"Options", u"GRÖßE", u""), u"10");

  try {
    store.SaveSetting(u"", u"Code", u"Alpha", u"x");
    ADD_FAILURE() << "a value without an application was stored";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.number, vb::err::kInvalidProcedureCall);
  }
}

TEST(MemorySettingsStore, KeepsValuesUnderKeysThatIgnoreCase) {
  MemorySettingsStore store;
  CheckCommonBehaviour(store);
  // The spelling of the first write is kept.
  EXPECT_EQ(store.values().count({u"Pellmoss", u"Code", u"Alpha"}), 1u);
  EXPECT_EQ(store.values().count({u"pellmoss", u"CODE", u"ALPHA"}), 0u);
  EXPECT_EQ(store.values().at({u"Pellmoss", u"Code", u"Alpha"}), u"second");
  EXPECT_EQ(store.values().size(), 5u);
}

TEST(SqliteSettingsStore, KeepsValuesUnderKeysThatIgnoreCase) {
  TempFolder temp;
  SqliteSettingsStore store(temp.path() / "settings.db");
  CheckCommonBehaviour(store);
}

TEST(SqliteSettingsStore, CreatesFoldersAndKeepsValuesAcrossAReopen) {
  TempFolder temp;
  const fs::path file = temp.path() / "nested" / "deeper" / "settings.db";
  {
    SqliteSettingsStore store(file);
    EXPECT_EQ(store.path(), file);
    store.SaveSetting(u"Ravlen", u"Options", u"FontSize", u"8.25");
    store.SaveSetting(u"Pellmoss", u"Code", u"Alpha", kAwkwardValue);
    store.SaveSetting(u"Pellmoss", u"Code", u"alpha", u"overwritten");
    store.SaveSetting(u"Pellmoss", u"Code", u"Beta", kAwkwardValue);
  }
  ASSERT_TRUE(fs::exists(file));

  SqliteSettingsStore reopened(file);
  EXPECT_EQ(reopened.GetSetting(u"RAVLEN", u"options", u"fontsize", u"10"), u"8.25");
  EXPECT_EQ(reopened.GetSetting(u"Pellmoss", u"Code", u"ALPHA", u""), u"overwritten");
  EXPECT_EQ(reopened.GetSetting(u"Pellmoss", u"Code", u"Beta", u""), kAwkwardValue);

  // Stored spelling is the first one written; All orders by application, section and key.
  const std::vector<StoredValue> pellmoss = {
      {u"Pellmoss", u"Code", u"Alpha", u"overwritten"},
      {u"Pellmoss", u"Code", u"Beta", kAwkwardValue},
  };
  EXPECT_EQ(reopened.All(u"pellmoss"), pellmoss);
  std::vector<StoredValue> all = reopened.All();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[2], (StoredValue{u"Ravlen", u"Options", u"FontSize", u"8.25"}));
  EXPECT_TRUE(reopened.All(u"Tallowick").empty());
}

TEST(SqliteSettingsStore, TwoStoresShareOneFile) {
  TempFolder temp;
  const fs::path file = temp.path() / "settings.db";
  SqliteSettingsStore first(file);
  SqliteSettingsStore second(file);
  first.SaveSetting(u"Pellmoss", u"Options", u"Count", u"1");
  EXPECT_EQ(second.GetSetting(u"Pellmoss", u"Options", u"Count", u""), u"1");
  second.SaveSetting(u"Pellmoss", u"Options", u"Count", u"2");
  EXPECT_EQ(first.GetSetting(u"Pellmoss", u"Options", u"Count", u""), u"2");
}

TEST(SqliteSettingsStore, APathThatCannotBeOpenedGivesAnErrorNamingIt) {
  TempFolder temp;
  const fs::path plainFile = temp.path() / "plain.txt";
  std::ofstream(plainFile) << "this is no database, and long enough to be read as a header by SQLite.\n";
  const fs::path folder = temp.path() / "a-folder";
  fs::create_directories(folder);

  const std::vector<fs::path> bad = {
      plainFile / "settings.db",  // a folder that cannot be created
      folder,                     // a folder, not a file
      plainFile,                  // a file that is no database
  };
  for (const fs::path& path : bad) {
    try {
      SqliteSettingsStore store(path);
      store.GetSetting(u"Ravlen", u"Options", u"FontName", u"");
      ADD_FAILURE() << "opened " << path;
    } catch (const vb::Error& e) {
      EXPECT_NE(e.description.find(vb::FromUtf8(path.string())), Text::npos) << vb::ToUtf8(e.description);
      EXPECT_EQ(e.number, vb::err::kPathFileAccess);
    }
  }
  // The file that is no database was left as it was.
  std::ifstream in(plainFile);
  std::string firstLine;
  std::getline(in, firstLine);
  EXPECT_EQ(firstLine, "this is no database, and long enough to be read as a header by SQLite.");
}

TEST(SqliteSettingsStore, DefaultPathFollowsTheEnvironment) {
  struct Case {
    const char* settings;
    const char* xdg;
    const char* home;
    fs::path expected;
  };
  const std::vector<Case> cases = {
      {"/tmp/x/mine.db", "/cfg", "/home/u", "/tmp/x/mine.db"},
      {"", "/cfg", "/home/u", "/cfg/vb6kit/settings.db"},
      {nullptr, "/cfg", "/home/u", "/cfg/vb6kit/settings.db"},
      {nullptr, "relative/cfg", "/home/u", "/home/u/.config/vb6kit/settings.db"},
      {nullptr, nullptr, "/home/u", "/home/u/.config/vb6kit/settings.db"},
      {nullptr, "", "/home/u", "/home/u/.config/vb6kit/settings.db"},
  };
  for (const Case& c : cases) {
    ScopedEnv settingsVar("VB6KIT_SETTINGS", c.settings);
    ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(SqliteSettingsStore::DefaultPath(), c.expected) << c.expected;
  }
}

TEST(SqliteSettingsStore, DefaultPathIsUsableAsIs) {
  TempFolder temp;
  const fs::path file = temp.path() / "from-env" / "settings.db";
  ScopedEnv settingsVar("VB6KIT_SETTINGS", file.c_str());
  {
    SqliteSettingsStore store(SqliteSettingsStore::DefaultPath());
    store.SaveSetting(u"Ravlen", u"Comment", u"Username", u"Ada");
  }
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(SqliteSettingsStore(file).GetSetting(u"Ravlen", u"Comment", u"Username", u""), u"Ada");
}

}  // namespace
