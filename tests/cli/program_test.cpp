#include <unistd.h>

#include "cli/command.h"
#include "cli_fixture.h"
#include "settings/sqlite_store.h"

namespace cli_test {
namespace {

using ProgramTest = CliTest;

TEST_F(ProgramTest, TheProgramRunsCommandsWithTheirExitCodes) {
  const std::string settingsOption = "--settings '" + settings.string() + "' ";
  Result result = RunProgram(settingsOption + "count '" + File("Inventory.vbp") + "' --format csv", root.path());
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out.substr(0, result.out.find('\n')), "Component,Code Lines,Comment Lines,Blank Lines,File");
  EXPECT_NE(result.out.find("\nTotal,126,4,34,\n"), std::string::npos);

  result = RunProgram(settingsOption + "header '" + File("modStock.bas") + "' --line 1 --author X", root.path());
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err.rfind("vb6kit header: Not a method: ", 0), 0u) << result.err;

  result = RunProgram(settingsOption + "count '" + File("Nowhere.vbp") + "'", root.path());
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("Nowhere.vbp"), std::string::npos);

  // Tags cannot be asked when standard input is no terminal.
  ASSERT_EQ(Run({"piece", "store", "T", "-"}, "<@x@>").code, 0);
  result = RunProgram(settingsOption + "piece insert T '" + File("modStock.bas") + "' --line 1", root.path());
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("no value for <@x@>"), std::string::npos) << result.err;
}

TEST_F(ProgramTest, ASettingsDatabaseThatCannotBeReachedEndsTheCommandWithExitTwo) {
  const std::string settingsOption = "--settings '" + settings.string() + "' ";
  ASSERT_EQ(Run({"piece", "store", "Alpha", "-"}, std::string(40000, 'a')).code, 0);

  // Another process holds the write lock: the command waits for it, then says who holds it.
  const std::string before = ReadFile(settings);
  settings::SqliteSettingsStore holder(settings);
  holder.BeginChanges();
  const Result result = RunProgram(settingsOption + "piece store Beta -", root.path());
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
  WriteFile(project / "Old Stock.bas", Original("modStock.bas"));
  // Line ends mixed by merges: diff and patch end a line at LF only.
  WriteFile(project / "modMixed.bas", "Attribute VB_Name = \"modMixed\"\r\n' one\r' two\r\n' three\n' four\r");
  const std::string program = ShellQuoted(VB6KIT_PROGRAM) + " --settings " + ShellQuoted(settings.string()) + " ";
  const std::string frmMain = "--- a/frmMain.frm\n+++ b/frmMain.frm\n";
  const struct {
    std::string command;
    std::string header;
    std::size_t hunks;      // 0: not counted
    std::size_t mostBytes;  // 0: no bound
  } cases[] = {{"comment frmMain.frm --lines 4500", frmMain, 1, 400},
               {"comment frmMain.frm --lines 1-9000", frmMain, 1, 0},
               {"control rename frmMain.frm txtName txtTitle --code yes", frmMain, 0, 0},
               {"comment 'Old Stock.bas' --lines 3", "--- a/Old Stock.bas\t\n+++ b/Old Stock.bas\t\n", 1, 0},
               {"uncomment modMixed.bas --lines 2-4", "--- a/modMixed.bas\n+++ b/modMixed.bas\n", 1, 0}};
  for (const auto& c : cases) {
    testing_support::TempFolder copies("vb6kit-apply");
    for (const char* copy : {"written", "git", "patch"}) fs::copy(project, copies / copy, fs::copy_options::recursive);
    Result result = RunShell("cd written && " + program + c.command + "\n", copies.path());
    ASSERT_EQ(result.code, 0) << c.command << ": " << result.err;
    result = RunShell("cd git && " + program + "--dry-run " + c.command + "\n", copies.path());
    ASSERT_EQ(result.code, 0) << c.command << ": " << result.err;
    const std::string diff = result.out;
    EXPECT_EQ(diff.rfind(c.header + "@@ ", 0), 0u) << diff.substr(0, 200);
    if (c.hunks == 1) {
      EXPECT_EQ(diff.find("\n@@ ", diff.find("@@ ") + 1), std::string::npos) << diff.substr(0, 400);
    }
    if (c.mostBytes > 0) {
      EXPECT_LT(diff.size(), c.mostBytes) << diff;
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

TEST_F(ProgramTest, OutputThatCannotBeWrittenFailsAndAClosedPipeEndsQuietly) {
  ASSERT_EQ(Run({"piece", "store", "Tax", "-"}, "x").code, 0);
  const std::string program = ShellQuoted(VB6KIT_PROGRAM) + " --settings " + ShellQuoted(settings.string());
  for (const auto& [name, operands] : std::vector<std::pair<std::string, std::string>>{
           {"count", ShellQuoted(File("Inventory.vbp"))}, {"settings export", ""}}) {
    const Result result = RunShell(program + " " + name + " " + operands + " >/dev/full\n", root.path());
    EXPECT_EQ(result.code, 2) << name;
    EXPECT_EQ(result.err, "vb6kit " + name + ": cannot write the output: No space left on device\n");
  }
  // The reader is gone before the program writes, whether or not the shell ignores the signal.
  for (const char* signal : {"", "trap '' PIPE\n"}) {
    const Result result = RunShell(std::string(signal) + "{ sleep 0.3; " + program + " summary " +
                                       ShellQuoted(File("Inventory.vbp")) + "; } | true\necho ${PIPESTATUS[0]}\n",
                                   root.path());
    EXPECT_EQ(result.out, "141\n") << signal;
    EXPECT_EQ(result.err, "") << signal;
  }
}

TEST_F(ProgramTest, TheWrapperSaysWhenItBuildsTheProgram) {
  // The wrapper in a tree of its own, with a cmake that "builds" a program printing its words.
  const fs::path tree = root / "tree";
  fs::create_directories(tree / "scripts");
  fs::create_directories(root / "bin");
  fs::copy_file(fs::path(VB6KIT_SOURCE_DIR) / "vb6kit", tree / "vb6kit");
  WriteFile(tree / "scripts" / "test.sh", "packages=(nothing)\n");
  WriteFile(tree / "scripts" / "install-missing.sh", "#!/bin/sh\n");
  WriteFile(tree / "main.cpp", "");
  WriteFile(root / "bin" / "cmake",
            "#!/bin/sh\n[ \"$1\" = --build ] || exit 0\nmkdir -p \"$2/cli\"\n"
            "printf '#!/bin/sh\\necho ran \"$@\"\\n' > \"$2/cli/vb6kit\"\nchmod +x \"$2/cli/vb6kit\"\n");
  RunShell("chmod +x tree/vb6kit tree/scripts/install-missing.sh bin/cmake\n", root.path());
  const std::string run = "PATH=\"$PWD/bin:$PATH\" tree/vb6kit count x\n";
  Result result = RunShell(run, root.path());
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out, "ran count x\n");
  EXPECT_EQ(result.err.rfind("vb6kit: building the program once", 0), 0u) << result.err;
  result = RunShell(run, root.path());
  EXPECT_EQ(result.out, "ran count x\n");
  EXPECT_EQ(result.err, "");
  result = RunShell("sleep 1; touch tree/main.cpp\n" + run, root.path());
  EXPECT_EQ(result.out, "ran count x\n");
  EXPECT_EQ(result.err.rfind("vb6kit: the sources changed; rebuilding", 0), 0u) << result.err;
}

TEST_F(ProgramTest, EveryCommandHasHelpAndHelpNamesIt) {
  std::vector<std::string> names = {"piece", "control", "settings"};
  for (const cli::Command& command : cli::AllCommands()) names.push_back(command.name);
  for (const std::string& name : names) {
    const Result result = RunProgram(name + " --help", root.path());
    EXPECT_EQ(result.code, 0) << name;
    EXPECT_EQ(result.out.rfind("usage: vb6kit " + name.substr(0, name.find(' ')), 0), 0u) << name << ": " << result.out;
    EXPECT_EQ(result.err, "") << name;
    const Result asked = Run({"help", name});
    EXPECT_EQ(asked.code, 0) << name << ": " << asked.err;
    EXPECT_EQ(asked.out, result.out) << name;
  }
  Result result = RunProgram("--help", root.path());
  EXPECT_EQ(result.code, 0);
  EXPECT_NE(result.out.find("\n  implement   "), std::string::npos) << result.out;
  EXPECT_EQ(Run({"help"}).out, result.out);
  for (const char* wrong : {"", "frobnicate", "piece frobnicate", "help frobnicate", "--format json count"}) {
    result = RunProgram(wrong, root.path());
    EXPECT_EQ(result.code, 2) << wrong;
    EXPECT_EQ(result.out, "") << wrong;
  }
  EXPECT_NE(RunProgram("frobnicate", root.path()).err.find("unknown command 'frobnicate'"), std::string::npos);
}

TEST_F(ProgramTest, TheVersionIsTheProjectsWithTheSourceRevision) {
  const Result result = RunProgram("--version", root.path());
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out.rfind("vb6kit " VB6KIT_VERSION, 0), 0u) << result.out;
  EXPECT_EQ(RunProgram("version", root.path()).out, result.out);
  // In a git checkout the build knows the revision it was built from.
  const Result head = RunShell("git -C " + ShellQuoted(VB6KIT_SOURCE_DIR) + " rev-parse --short=12 HEAD\n", root.path());
  if (head.code == 0)
    EXPECT_EQ(result.out.rfind("vb6kit " VB6KIT_VERSION " (git " + head.out.substr(0, 12), 0), 0u) << result.out;
  else
    EXPECT_EQ(result.out, "vb6kit " VB6KIT_VERSION "\n");
}

}  // namespace
}  // namespace cli_test
