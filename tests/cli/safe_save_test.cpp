// What the command line says when a file cannot be saved or read as given.
#include <sys/stat.h>

#include "cli_fixture.h"
#include "support/current_folder.h"

namespace cli_test {
namespace {

using SafeSaveTest = CliTest;

TEST_F(SafeSaveTest, AReadOnlyModuleIsRefusedWithExitCode2AndNothingIsWritten) {
  fs::permissions(project / "modStock.bas", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const auto before = Snapshot();
  const Result result = Run({"comment", File("modStock.bas"), "--project", File("Inventory.vbp"), "--lines", "1"});
  EXPECT_EQ(result.code, 2);
  EXPECT_EQ(result.err, "vb6kit comment: " + fs::path(File("modStock.bas")).generic_string() +
                            ": the file is read-only (mode 0444); nothing was saved\n");
  EXPECT_EQ(Snapshot(), before);
}

// Windows ignores letter case in file names; a project given by its bare name is no exception.
TEST_F(SafeSaveTest, ABareProjectNameFindsModulesWhoseLetterCaseDiffers) {
  WriteFile(project / "case.vbp", CrLf({"Type=Exe", "Module=modStock; MODSTOCK.BAS", "Name=\"Case\""}));
  Result bare, dotted;
  {
    testing_support::CurrentFolder here(project);
    bare = Run({"count", "case.vbp", "--format", "csv"});
    dotted = Run({"count", "./case.vbp", "--format", "csv"});
  }
  EXPECT_EQ(bare.code, 0) << bare.err;
  EXPECT_EQ(bare.out,
            "Component,Code Lines,Comment Lines,Blank Lines,File\nmodStock,50,2,10,modStock.bas\nTotal,50,2,10,\n");
  EXPECT_EQ(bare.out, dotted.out);
}

}  // namespace
}  // namespace cli_test
