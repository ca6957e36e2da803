#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/vb_error.h"
#include "settings/memory_store.h"
#include "settings/sqlite_store.h"
#include "support/failing_disk.h"
#include "support/file_bytes.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using settings::Access;
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

TEST(SqliteSettingsStore, KeepsValuesAcrossAReopen) {
  TempFolder temp;
  const fs::path file = temp.path() / "settings.db";
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

// A database of a few dozen pages, closed.
fs::path SeededDatabase(const fs::path& file) {
  SqliteSettingsStore store(file);
  store.BeginChanges();
  for (int i = 0; i < 40; ++i)
    store.SaveSetting(u"Pellmoss", u"Code", u"Piece" + vb::FromUtf8(std::to_string(i)), Text(3000, u'a' + i % 26));
  store.CommitChanges();
  return file;
}

TEST(SqliteSettingsStore, RefusesWhatItCannotUseNamingTheFileOnceAndLeavesItAsItWas) {
  TempFolder temp;
  const std::string intact = testing_support::ReadFile(SeededDatabase(temp / "intact.db"));
  const std::size_t pageSize = 4096;
  auto withBytes = [&](const char* name, std::string bytes) {
    testing_support::WriteFile(temp / name, bytes);
    return temp / name;
  };
  std::string scribbled = intact;
  scribbled.replace(2 * pageSize, 200, 200, '\xA5');  // inside the table's pages
  fs::create_directories(temp / "a-folder");
  fs::create_directories(temp / "locked-folder");
  testing_support::WriteFile(temp / "locked-folder" / "settings.db", intact);
  fs::permissions(temp / "locked-folder", fs::perms::owner_write, fs::perm_options::remove);
  {
    // Another program's database, with no table of ours.
    SqliteSettingsStore(temp / "foreign.db");
    sqlite3* db = nullptr;
    sqlite3_open((temp / "foreign.db").c_str(), &db);
    sqlite3_exec(db, "DROP TABLE settings; CREATE TABLE zones (id INTEGER); CREATE TABLE accounts (id INTEGER)",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    // A table of our name that is not ours.
    sqlite3_open((temp / "other-settings.db").c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE settings (app TEXT, section TEXT, key TEXT, value TEXT)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }

  struct Case {
    fs::path file;
    Access access;
    const char* problem;
  };
  const std::vector<Case> cases = {
      {withBytes("cut-mid-page.db", intact.substr(0, intact.size() - 1000)), Access::ReadOnly, "is damaged (the file was cut short"},
      {withBytes("cut-in-half.db", intact.substr(0, intact.size() / 2)), Access::ReadWrite, "is damaged ("},
      {withBytes("cut-at-page.db", intact.substr(0, intact.size() - pageSize)), Access::ReadWrite, "is damaged ("},
      {withBytes("scribbled.db", scribbled), Access::ReadWrite, "is damaged ("},
      {withBytes("plain.txt", std::string(200, 'x')), Access::ReadWrite, "is not a SQLite database"},
      {temp / "foreign.db", Access::ReadWrite, "is not a vb6kit settings database (it holds the tables accounts, zones)"},
      {temp / "other-settings.db", Access::ReadOnly, "is not a vb6kit settings database (it holds the tables settings)"},
      {temp / "a-folder", Access::ReadOnly, "is a folder, not a file"},
      {temp / "missing" / "settings.db", Access::ReadWrite, "cannot be created: its folder does not exist"},
      {temp / "missing.db", Access::ReadOnly, "does not exist"},
      {temp / "locked-folder" / "settings.db", Access::ReadWrite, "cannot be changed: its folder is read-only (mode 0555)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.filename().string());
    const bool existed = fs::exists(c.file);
    const std::string before = existed && fs::is_regular_file(c.file) ? testing_support::ReadFile(c.file) : "";
    try {
      SqliteSettingsStore store(c.file, c.access);
      ADD_FAILURE() << "opened";
    } catch (const vb::Error& e) {
      const std::string description = vb::ToUtf8(e.description);
      EXPECT_EQ(e.number, vb::err::kPathFileAccess);
      EXPECT_EQ(description.find(c.file.string()), description.rfind(c.file.string())) << description;
      EXPECT_NE(description.find("\"" + c.file.string() + "\" " + c.problem), std::string::npos) << description;
    }
    EXPECT_EQ(fs::exists(c.file), existed);
    if (!before.empty()) {
      EXPECT_EQ(testing_support::ReadFile(c.file), before);
    }
  }
  fs::permissions(temp / "locked-folder", fs::perms::owner_write, fs::perm_options::add);
}

TEST(SqliteSettingsStore, AStoreOpenedForReadingNeedsNoWriteAccessAndWritesNothing) {
  TempFolder temp;
  const fs::path file = SeededDatabase(temp / "settings.db");
  fs::permissions(file, fs::perms::owner_read);
  try {
    SqliteSettingsStore writable(file, Access::ReadWrite);
    ADD_FAILURE() << "a read-only file was opened for writing";
  } catch (const vb::Error& e) {
    EXPECT_NE(e.description.find(u"is read-only (mode 0400)"), Text::npos) << vb::ToUtf8(e.description);
  }
  SqliteSettingsStore store(file, Access::ReadOnly);
  EXPECT_EQ(store.GetSetting(u"pellmoss", u"code", u"piece1", u""), Text(3000, u'b'));
  EXPECT_EQ(store.All().size(), 40u);
  EXPECT_THROW(store.SaveSetting(u"Pellmoss", u"Code", u"Piece1", u"x"), vb::Error);
  EXPECT_THROW(store.BeginChanges(), vb::Error);

  // A database that nothing was stored in yet reads as empty.
  testing_support::WriteFile(temp / "empty.db", "");
  SqliteSettingsStore empty(temp / "empty.db", Access::ReadOnly);
  EXPECT_EQ(empty.GetSetting(u"Ravlen", u"Options", u"FontName", u"Times New Roman"), u"Times New Roman");
  EXPECT_TRUE(empty.All().empty());
}

// The changes between BeginChanges and CommitChanges land together or not at all, wherever the
// disk fills up: in a write, in the commit, or in a write after a failure that a caller ignored.
TEST(SqliteSettingsStore, ChangesOfOneCommandStayTogetherOrNotAtAll) {
  TempFolder temp;
  const fs::path file = SeededDatabase(temp / "settings.db");
  const std::vector<StoredValue> before = SqliteSettingsStore(file).All();
  {
    SqliteSettingsStore store(file);
    store.BeginChanges();
    store.SaveSetting(u"Pellmoss", u"Code", u"Piece1", u"");
    store.RollbackChanges();
  }
  ASSERT_EQ(SqliteSettingsStore(file).All(), before);

  testing_support::FailingDisk disk;
  int failedRuns = 0;
  for (int allowed = 0;; ++allowed) {
    SCOPED_TRACE("writes allowed: " + std::to_string(allowed));
    const std::string bytes = testing_support::ReadFile(file);
    bool failed = false;
    {
      SqliteSettingsStore store(file);
      disk.FailAfter(allowed);
      try {
        store.BeginChanges();
      } catch (const vb::Error&) {
        failed = true;
      }
      // Each write is tried, as a dialog that ignores failures step by step would.
      for (int i = 0; i < 40 && !failed; i += 3) {
        try {
          store.SaveSetting(u"Pellmoss", u"Code", u"Piece" + vb::FromUtf8(std::to_string(i)), Text(5000, u'z'));
        } catch (const vb::Error& e) {
          failed = true;
          EXPECT_NE(e.description.find(u"cannot be written"), Text::npos) << vb::ToUtf8(e.description);
        }
      }
      try {
        if (!failed) store.SaveSetting(u"Pellmoss", u"Code", u"CodeName", u"Piece0||");
        store.CommitChanges();
      } catch (const vb::Error& e) {
        failed = true;
        EXPECT_NE(e.description.find(vb::FromUtf8(file.string())), Text::npos) << vb::ToUtf8(e.description);
      }
      disk.Heal();
    }
    const std::vector<StoredValue> after = SqliteSettingsStore(file).All();
    if (failed) {
      ++failedRuns;
      EXPECT_EQ(after, before);
      EXPECT_EQ(testing_support::ReadFile(file), bytes);
      continue;
    }
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(SqliteSettingsStore(file).GetSetting(u"Pellmoss", u"Code", u"Piece39", u""), Text(5000, u'z'));
    break;
  }
  EXPECT_GT(failedRuns, 5);
}

TEST(SqliteSettingsStore, ALockHeldByAnotherConnectionIsWaitedForThenItsHolderNamed) {
  TempFolder temp;
  const fs::path file = SeededDatabase(temp / "settings.db");
  SqliteSettingsStore holder(file);
  holder.BeginChanges();
  holder.SaveSetting(u"Pellmoss", u"Code", u"Piece1", u"held");

  SqliteSettingsStore waiting(file, Access::ReadWrite, std::chrono::milliseconds(300));
  // Reading goes on while the other connection writes.
  EXPECT_EQ(waiting.GetSetting(u"Pellmoss", u"Code", u"Piece1", u""), Text(3000, u'b'));
  try {
    waiting.BeginChanges();
    ADD_FAILURE() << "took the write lock that another connection holds";
  } catch (const vb::Error& e) {
    const std::string description = vb::ToUtf8(e.description);
    EXPECT_NE(description.find("\"" + file.string() + "\" is locked: process " + std::to_string(getpid()) + " ("),
              std::string::npos)
        << description;
    EXPECT_NE(description.find(") holds its write lock; gave up after 300 ms"), std::string::npos) << description;
  }
  holder.CommitChanges();
  waiting.BeginChanges();
  waiting.SaveSetting(u"Pellmoss", u"Code", u"Piece1", u"mine");
  waiting.CommitChanges();
  EXPECT_EQ(holder.GetSetting(u"Pellmoss", u"Code", u"Piece1", u""), u"mine");
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
  fs::create_directories(file.parent_path());
  ScopedEnv settingsVar("VB6KIT_SETTINGS", file.c_str());
  {
    SqliteSettingsStore store(SqliteSettingsStore::DefaultPath());
    store.SaveSetting(u"Ravlen", u"Comment", u"Username", u"Ada");
  }
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(SqliteSettingsStore(file).GetSetting(u"Ravlen", u"Comment", u"Username", u""), u"Ada");
}

}  // namespace
