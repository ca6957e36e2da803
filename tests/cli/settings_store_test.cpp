// The settings database under the command line: every command's changes all or nothing, damaged
// or read-only databases, the folder of a chosen database, commands that keep no settings, and
// stored values that cannot be read.
#include <sys/stat.h>

#include "cli_fixture.h"
#include "support/failing_disk.h"
#include "support/scoped_env.h"

namespace cli_test {
namespace {

using SettingsStoreTest = CliTest;

TEST_F(SettingsStoreTest, EveryCommandChangesTheSettingsAllOrNothingWhenTheDiskFills) {
  ASSERT_EQ(Run({"piece", "store", "Alpha", "-"}, "Dim a").code, 0);
  ASSERT_EQ(Run({"piece", "store", "Beta", "--menu", "-"}, "Dim b").code, 0);
  ASSERT_EQ(Run({"piece", "store", "Gamma", "-"}, "Dim g").code, 0);
  WriteFile(root / "import.txt", "vb6kit settings 1\nPellmoss\tCode\tImported\tx\nRavlen\tComment\tUsername\tAnn\n"
                                 "end of vb6kit settings\n");
  struct Case {
    std::vector<std::string> args;
    std::string input;
  };
  const std::vector<Case> cases = {
      {{"piece", "delete", "Beta"}, ""},
      {{"piece", "store", "Delta", "--menu", "-"}, std::string(5000, 'd')},
      {{"piece", "edit", "Alpha", "-"}, std::string(5000, 'e')},
      {{"piece", "menu", "Gamma", "on"}, ""},
      {{"options", "--remove-code", "off", "--font", "Tahoma,9,bold"}, ""},
      {{"settings", "import", (root / "import.txt").string()}, ""},
      {{"header", File("modStock.bas"), "--line", "44", "--author", "Bo"}, ""},
  };
  testing_support::FailingDisk disk;
  for (const Case& c : cases) {
    // What the command stores when nothing fails, found on a copy.
    const fs::path database = settings;
    settings = root / "copy.db";
    fs::copy_file(database, settings, fs::copy_options::overwrite_existing);
    ASSERT_EQ(Run(c.args, c.input).code, 0);
    const std::string expected = Run({"settings", "export"}).out;
    settings = database;
    int failures = 0;
    for (int allowed = 0;; ++allowed) {
      SCOPED_TRACE(c.args[0] + " " + c.args[1] + ", writes allowed: " + std::to_string(allowed));
      WriteFile(File("modStock.bas"), Original("modStock.bas"));
      const std::string before = Run({"settings", "export"}).out;
      disk.FailAfter(allowed);
      std::vector<std::string> quiet = c.args;
      quiet.push_back("-q");
      const Result result = Run(quiet, c.input);
      disk.Heal();
      const Result exported = Run({"settings", "export"});
      EXPECT_EQ(exported.err, "");
      if (result.code == 0) {
        EXPECT_EQ(exported.out, expected);
        EXPECT_EQ(result.err, "");
        break;
      }
      ++failures;
      EXPECT_EQ(exported.out, before);
      // Exit 1 with the add-in's own report of the failed write, or 2 when the end of the
      // command could not keep the changes; the database is named either way.
      EXPECT_TRUE(result.code == 1 || result.code == 2) << result.code;
      EXPECT_NE(result.err.find("The settings database \"" + settings.string() + "\" cannot be written: the disk is full"),
                std::string::npos) << result.err;
      if (c.args[0] == "piece" && result.code == 1) {
        EXPECT_EQ(result.err.rfind("vb6kit piece " + c.args[1] + ": Error Occurred: The following error occurred : ", 0),
                  0u)
            << result.err;
      }
      ASSERT_LT(allowed, 200) << "never succeeded";
    }
    EXPECT_GT(failures, 0);
  }
  EXPECT_EQ(Run({"piece", "list"}).out, "  Alpha\n* Gamma\n* Delta\n");
}

TEST_F(SettingsStoreTest, ADamagedDatabaseIsRefusedInOneMessageAndNeverOverwritten) {
  for (int i = 0; i < 12; ++i)
    ASSERT_EQ(Run({"piece", "store", "Big" + std::to_string(i), "-"}, std::string(3000, 'a' + i)).code, 0);
  const std::string intact = ReadFile(settings);
  WriteFile(settings, intact.substr(0, intact.size() - 1500));
  const std::string cut = ReadFile(settings);
  const std::string message = "The settings database \"" + settings.string() +
                              "\" is damaged (the file was cut short: it ends in the middle of its pages) and was "
                              "left as it is\n";
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"piece", "list"},
           {"piece", "store", "New", "-"},
           {"options", "--show"},
           {"settings", "import", "-"},
           {"header", File("modStock.bas"), "--line", "44"},
       }) {
    SCOPED_TRACE(args[0] + " " + args[1]);
    const Result result = Run(args, "vb6kit settings 1\nend of vb6kit settings\n");
    EXPECT_EQ(result.code, 2);
    const bool group = args[0] == "piece" || args[0] == "settings";
    EXPECT_EQ(result.err, "vb6kit " + args[0] + (group ? " " + args[1] : "") + ": " + message);
    EXPECT_EQ(ReadFile(settings), cut);
  }
  EXPECT_EQ(Read("modStock.bas"), Original("modStock.bas"));
}

TEST_F(SettingsStoreTest, CommandsThatKeepNoSettingsNeitherOpenNorCreateThem) {
  const std::vector<std::vector<std::string>> commands = {
      {"count", File("Inventory.vbp")},
      {"summary", File("Inventory.vbp")},
      {"members", File("modStock.bas")},
      {"comment", File("modStock.bas"), "--lines", "44"},
      {"uncomment", File("modStock.bas"), "--lines", "44"},
  };
  // Not there: not made.
  for (const auto& args : commands) {
    const Result result = Run(args);
    EXPECT_EQ(result.code, 0) << args[0] << ": " << result.err;
    EXPECT_FALSE(fs::exists(settings)) << args[0];
  }
  // Damaged: not in the way.
  WriteFile(settings, "SQLite format 3" + std::string(500, '\0'));
  for (const auto& args : commands) EXPECT_EQ(Run(args).code, 0) << args[0];
  EXPECT_EQ(ReadFile(settings), "SQLite format 3" + std::string(500, '\0'));
}

TEST_F(SettingsStoreTest, AReadOnlyDatabaseIsReadAndRefusedForChanges) {
  settings = root / "shared" / "settings.db";
  fs::create_directories(settings.parent_path());
  ASSERT_EQ(Run({"options", "--remove-code", "off"}).code, 0);
  ASSERT_EQ(Run({"piece", "store", "Alpha", "-"}, "Dim a").code, 0);
  const std::string before = ReadFile(settings);
  fs::permissions(settings, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(settings.parent_path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);

  Result result = Run({"options", "--show"});
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_NE(result.out.find("Remove code: off\n"), std::string::npos) << result.out;
  EXPECT_EQ(Run({"piece", "list"}).out, "  Alpha\n");
  EXPECT_EQ(Run({"settings", "export"}).code, 0);
  for (const auto& args : std::vector<std::vector<std::string>>{{"options", "--rename-code", "off"},
                                                                {"piece", "delete", "Alpha"}}) {
    result = Run(args);
    EXPECT_EQ(result.code, 2);
    EXPECT_NE(result.err.find("\"" + settings.string() + "\" is read-only (mode 0444)"), std::string::npos)
        << result.err;
  }
  fs::permissions(settings, fs::perms::owner_write, fs::perm_options::add);
  result = Run({"piece", "delete", "Alpha"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("cannot be changed: its folder is read-only (mode 0555)"), std::string::npos) << result.err;
  fs::permissions(settings.parent_path(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(ReadFile(settings), before);
}

TEST_F(SettingsStoreTest, AChosenDatabaseMustBeInAFolderThatExists) {
  const fs::path missing = root / "no-such-folder" / "settings.db";
  std::istringstream in;
  std::ostringstream out, err;
  EXPECT_EQ(cli::run({"--settings", missing.string(), "piece", "list"}, in, out, err), 2);
  EXPECT_EQ(err.str(), "vb6kit piece list: --settings " + missing.string() + ": the folder " +
                           missing.parent_path().string() + " does not exist\n");
  {
    testing_support::ScopedEnv variable("VB6KIT_SETTINGS", missing.c_str());
    std::ostringstream err2;
    EXPECT_EQ(cli::run({"piece", "store", "A", "-"}, in, out, err2), 2);
    EXPECT_NE(err2.str().find("VB6KIT_SETTINGS " + missing.string() + ": the folder"), std::string::npos) << err2.str();
  }
  EXPECT_FALSE(fs::exists(missing.parent_path()));

  // The default place is made on the first change, and reading it before makes nothing.
  testing_support::ScopedEnv variable("VB6KIT_SETTINGS", nullptr);
  testing_support::ScopedEnv config("XDG_CONFIG_HOME", (root / "config").c_str());
  EXPECT_EQ(cli::run({"piece", "list"}, in, out, err), 0);
  EXPECT_FALSE(fs::exists(root / "config"));
  std::istringstream piece("Dim a");
  EXPECT_EQ(cli::run({"piece", "store", "A", "-"}, piece, out, err), 0);
  EXPECT_TRUE(fs::exists(root / "config" / "vb6kit" / "settings.db"));
}

TEST_F(SettingsStoreTest, AnUnreadableStoredValueIsShownAndRewrittenByOptions) {
  WriteFile(root / "bad.txt", "vb6kit settings 1\nRavlen\tOptions\tFontBold\tperhaps\nRavlen\tOptions\tFontSize\t"
                              "huge\nend of vb6kit settings\n");
  ASSERT_EQ(Run({"settings", "import", (root / "bad.txt").string()}).code, 0);
  Result result = Run({"options", "--show"});
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_NE(result.out.find("Font: Times New Roman, 10\nUnreadable (the default stands for it above; --font rewrites "
                            "the font's):\n  FontBold = \"perhaps\"\n  FontSize = \"huge\"\n"),
            std::string::npos)
      << result.out;
  result = Run({"options", "--font", "Arial,11,bold"});
  EXPECT_EQ(result.code, 0) << result.err;
  result = Run({"options", "--show"});
  EXPECT_NE(result.out.find("Font: Arial, 11, bold\n"), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find("Unreadable"), std::string::npos) << result.out;
}

TEST_F(SettingsStoreTest, SettingsChangeOnlyWithTheFilesTheyBelongTo) {
  const auto before = Snapshot();
  // The module's code page cannot hold the name: the save is refused, and the name not kept.
  Result result = Run({"header", File("modStock.bas"), "--line", "44", "--author", "\xCE\xA9mega"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("modStock.bas"), std::string::npos) << result.err;
  result = Run({"--dry-run", "header", File("modStock.bas"), "--line", "44", "--author", "Ann"});
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_NE(result.out.find("+Ravlen\tComment\tUsername\tAnn\n"), std::string::npos) << result.out;
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Run({"settings", "export"}).out.find("Username"), std::string::npos);
}

TEST_F(SettingsStoreTest, AnImportCutShortStoresNothing) {
  ASSERT_EQ(Run({"piece", "store", "Alpha", "--menu", "-"}, "Dim a\r\nDim b").code, 0);
  ASSERT_EQ(Run({"options", "--remove-code", "off"}).code, 0);
  const std::string exported = Run({"settings", "export"}).out;
  settings = root / "other.db";
  for (std::size_t size = 0; size < exported.size() - 1; size += 7) {
    WriteFile(root / "cut.txt", exported.substr(0, size));
    const Result result = Run({"settings", "import", (root / "cut.txt").string()});
    EXPECT_EQ(result.code, 2) << size;
    EXPECT_EQ(Run({"settings", "export"}).out, "vb6kit settings 1\nend of vb6kit settings\n") << size;
  }
  WriteFile(root / "cut.txt", exported.substr(0, exported.size() - 1));
  EXPECT_EQ(Run({"settings", "import", (root / "cut.txt").string()}).code, 0);
  EXPECT_EQ(Run({"settings", "export"}).out, exported);
}

}  // namespace
}  // namespace cli_test
