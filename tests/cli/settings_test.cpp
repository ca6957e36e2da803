#include "cli_fixture.h"

namespace cli_test {
namespace {

using SettingsTest = CliTest;

TEST_F(SettingsTest, ExportAndImportRoundTripEveryValueExactly) {
  // Values with line breaks, tabs and backslashes, through the piece store's own dialogs.
  ASSERT_EQ(Run({"piece", "store", "Path", "-"}, "s = \"C:\\temp\\n\"\r\n\tx = 1\r\n\r\n' done").code, 0);
  ASSERT_EQ(Run({"options", "--rename-code", "off"}).code, 0);
  Result exported = Run({"settings", "export"});
  ASSERT_EQ(exported.code, 0) << exported.err;
  EXPECT_NE(exported.out.find("Pellmoss\tCode\tPath\ts = \"C:\\\\temp\\\\n\"\\r\\n\\tx = 1\\r\\n\\r\\n' done\n"),
            std::string::npos)
      << exported.out;
  WriteFile(root / "pieces.txt", exported.out);

  // Another machine: an empty store.
  settings = root / "other" / "settings.db";
  fs::create_directories(settings.parent_path());
  ASSERT_EQ(Run({"settings", "import", (root / "pieces.txt").string()}).code, 0);
  EXPECT_EQ(Run({"settings", "export"}).out, exported.out);
  EXPECT_EQ(Run({"piece", "show", "Path"}).out, "s = \"C:\\temp\\n\"\n\tx = 1\n\n' done\n");
  EXPECT_EQ(Run({"settings", "export", "Ravlen"}).out.find("Pellmoss"), std::string::npos);
}

TEST_F(SettingsTest, ABadImportNamesTheLineAndStoresNothing) {
  for (const auto& [text, message] : std::vector<std::pair<std::string, std::string>>{
           {"vb6kit settings 1\nPellmoss\tCode\tA\tx\nPellmoss\tCode\tB\nend of vb6kit settings\n", "line 3: expected application"},
           {"vb6kit settings 1\nPellmoss\tCode\tA\tbad \\q escape\nend of vb6kit settings\n", "line 2: unknown escape \\q"},
           {"Pellmoss\tCode\tA\tx\n", "not a settings export"},
       }) {
    WriteFile(root / "in.txt", text);
    const Result result = Run({"settings", "import", (root / "in.txt").string()});
    EXPECT_EQ(result.code, 2);
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    EXPECT_EQ(Run({"settings", "export"}).out, "vb6kit settings 1\nend of vb6kit settings\n");
  }
  const Result missing = Run({"settings", "import", (root / "none.txt").string()});
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find("none.txt: cannot read the file"), std::string::npos);
  const Result folder = Run({"settings", "import", project.string()});
  EXPECT_EQ(folder.code, 2);
  EXPECT_EQ(folder.err, "vb6kit settings import: " + project.string() + ": is a folder, not a file\n");
}

TEST_F(SettingsTest, ADryRunShowsSettingChangesAndStoresNothing) {
  const Result result = Run({"--dry-run", "piece", "store", "Tmp", "-"}, "Beep");
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_NE(result.out.find("+Pellmoss\tCode\tTmp\tBeep\n"), std::string::npos) << result.out;
  EXPECT_EQ(Run({"piece", "list"}).out, "");
}

}  // namespace
}  // namespace cli_test
