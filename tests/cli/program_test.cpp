#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "cli_fixture.h"
#include "settings/sqlite_store.h"

namespace cli_test {
namespace {

using ProgramTest = CliTest;

// Runs the built program through the shell (in `workingFolder` when given); stdout and stderr
// are kept apart in `folder` (stdout goes to `output` when given).
Result RunProgram(const std::string& arguments, const fs::path& folder, const std::string& output = "",
                  const fs::path& workingFolder = {}) {
  const fs::path out = output.empty() ? folder / "stdout.txt" : fs::path(output);
  const fs::path err = folder / "stderr.txt";
  const std::string cd = workingFolder.empty() ? "" : "cd '" + workingFolder.string() + "' && ";
  const std::string command = cd + "'" + VB6KIT_PROGRAM + "' " + arguments + " </dev/null >'" + out.string() +
                              "' 2>'" + err.string() + "'";
  const int status = std::system(command.c_str());
  Result result;
  result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = output.empty() ? ReadFile(out) : "";
  result.err = ReadFile(err);
  return result;
}

TEST_F(ProgramTest, TheProgramRunsCommandsWithTheirExitCodes) {
  const std::string settingsOption = "--settings '" + settings.string() + "' ";
  Result result = RunProgram(settingsOption + "count '" + File("Inventory.vbp") + "' --format csv", root.path());
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out.substr(0, result.out.find('\n')), "Component,Code Lines,Comment Lines,Blank Lines");
  EXPECT_NE(result.out.find("\nTotal,126,4,34\n"), std::string::npos);

  result = RunProgram(settingsOption + "header '" + File("modStock.bas") + "' --line 1 --author X", root.path());
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err.rfind("Not a method: ", 0), 0u) << result.err;

  result = RunProgram(settingsOption + "count '" + File("Nowhere.vbp") + "'", root.path());
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("Nowhere.vbp"), std::string::npos);

  // Tags cannot be asked when standard input is no terminal.
  ASSERT_EQ(Run({"piece", "store", "T", "-"}, "<@x@>").code, 0);
  result = RunProgram(settingsOption + "piece insert T '" + File("modStock.bas") + "' --line 1", root.path());
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("no value for the tag(s) x"), std::string::npos) << result.err;
}

TEST_F(ProgramTest, ASettingsDatabaseThatCannotBeWrittenOrReachedEndsTheCommandWithExitTwo) {
  const std::string settingsOption = "--settings '" + settings.string() + "' ";
  ASSERT_EQ(Run({"piece", "store", "Alpha", "-"}, std::string(40000, 'a')).code, 0);

  // An export that does not reach the disk is no backup.
  Result result = RunProgram(settingsOption + "settings export", root.path(), "/dev/full");
  EXPECT_EQ(result.code, 2);
  EXPECT_EQ(result.err, "vb6kit settings export: cannot write the output: No space left on device\n");

  // Another process holds the write lock: the command waits for it, then says who holds it.
  const std::string before = ReadFile(settings);
  settings::SqliteSettingsStore holder(settings);
  holder.BeginChanges();
  result = RunProgram(settingsOption + "piece store Beta -", root.path());
  EXPECT_EQ(result.code, 2);
  EXPECT_EQ(result.err, "vb6kit piece store: The settings database \"" + settings.string() + "\" is locked: process " +
                            std::to_string(getpid()) + " (test_cli) holds its write lock; gave up after 5 seconds\n");
  holder.RollbackChanges();
  EXPECT_EQ(ReadFile(settings), before);
}

// A dry run's diff, printed in the project's folder, applies with git apply and with patch -p1 to
// a plain copy of the project and gives the bytes the command writes itself (CR LF and
// Windows-1252 kept); a one-line change in a long form is one small hunk.
TEST_F(ProgramTest, TheDryRunDiffAppliesWithGitAndPatch) {
  std::string form = Original("frmMain.frm");
  for (int i = 0; i < 9000; ++i) form += "' note " + std::to_string(i) + "\r\n";
  WriteFile(project / "frmMain.frm", form);
  const std::string settingsOption = "--settings '" + settings.string() + "' ";
  const struct {
    std::string command;
    std::size_t hunks;
  } cases[] = {{"comment frmMain.frm --lines 4500", 1}, {"control rename frmMain.frm txtName txtTitle --code yes", 0}};
  for (const auto& c : cases) {
    testing_support::TempFolder copies("vb6kit-apply");
    for (const char* copy : {"written", "git", "patch"}) fs::copy(project, copies / copy, fs::copy_options::recursive);
    Result result = RunProgram(settingsOption + c.command, copies.path(), "", copies / "written");
    ASSERT_EQ(result.code, 0) << c.command << ": " << result.err;
    result = RunProgram(settingsOption + "--dry-run " + c.command, copies.path(), "", copies / "git");
    ASSERT_EQ(result.code, 0) << c.command << ": " << result.err;
    const std::string diff = result.out;
    EXPECT_EQ(diff.rfind("--- a/frmMain.frm\n+++ b/frmMain.frm\n@@ ", 0), 0u) << diff.substr(0, 200);
    if (c.hunks == 1) {
      EXPECT_EQ(diff.find("\n@@ ", diff.find("@@ ") + 1), std::string::npos) << diff;
      EXPECT_LT(diff.size(), 400u) << diff;
    }
    WriteFile(copies / "change.diff", diff);
    const std::string applyGit = "cd '" + (copies / "git").string() + "' && git apply '" +
                                 (copies / "change.diff").string() + "'";
    const std::string applyPatch = "cd '" + (copies / "patch").string() + "' && patch -p1 --quiet < '" +
                                   (copies / "change.diff").string() + "'";
    ASSERT_EQ(std::system(applyGit.c_str()), 0) << c.command;
    ASSERT_EQ(std::system(applyPatch.c_str()), 0) << c.command;
    for (const char* copy : {"git", "patch"})
      for (const auto& entry : fs::directory_iterator(copies / "written"))
        EXPECT_EQ(ReadFile(copies / copy / entry.path().filename()), ReadFile(entry.path()))
            << c.command << ": " << copy << " " << entry.path().filename();
  }
}

TEST_F(ProgramTest, EverySubcommandHasHelp) {
  for (const char* command :
       {"count", "summary", "comment", "uncomment", "header", "revision", "members", "property", "implement",
        "piece store", "piece list", "piece show", "piece edit", "piece delete", "piece menu", "piece insert",
        "control add", "control rename", "control remove", "options", "settings export", "settings import", "piece",
        "control", "settings"}) {
    const Result result = RunProgram(std::string(command) + " --help", root.path());
    EXPECT_EQ(result.code, 0) << command;
    EXPECT_EQ(result.out.rfind("usage: vb6kit " + std::string(command).substr(0, std::string(command).find(' ')), 0), 0u)
        << command << ": " << result.out;
    EXPECT_EQ(result.err, "") << command;
  }
  Result result = RunProgram("--help", root.path());
  EXPECT_EQ(result.code, 0);
  EXPECT_NE(result.out.find("  implement  "), std::string::npos);
  result = RunProgram("", root.path());
  EXPECT_EQ(result.code, 2);
  result = RunProgram("frobnicate", root.path());
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("unknown command 'frobnicate'"), std::string::npos);
}

}  // namespace
}  // namespace cli_test
