#include "cli_fixture.h"

namespace cli_test {
namespace {

using CountTest = CliTest;

TEST_F(CountTest, FormatsShowTheResultsDialogRowsAndTotals) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const std::vector<Case> cases = {
      {{"count", "Inventory.vbp"},
       "Component   Code Lines  Comment Lines  Blank Lines\n"
       "frmMain             33              1            7\n"
       "modStock            50              2           10\n"
       "IStockItem           8              1            5\n"
       "clsProduct          35              0           12\n"
       "\n"
       "Code Lines : 126\n"
       "Comment Lines : 4\n"
       "Blank Lines : 34\n"},
      {{"count", "Inventory.vbp", "--format", "csv", "--component", "modStock", "--component", "clsproduct"},
       "Component,Code Lines,Comment Lines,Blank Lines\n"
       "modStock,50,2,10\n"
       "clsProduct,35,0,12\n"
       "Total,85,2,22\n"},
      {{"count", "Inventory.vbp", "--format=json", "--component", "IStockItem"},
       "{\"components\":[{\"name\":\"IStockItem\",\"code\":8,\"comment\":1,\"blank\":5}],"
       "\"totals\":{\"code\":8,\"comment\":1,\"blank\":5}}\n"},
      // A module file alone is a project of its own.
      {{"count", "modStock.bas", "--format", "csv"},
       "Component,Code Lines,Comment Lines,Blank Lines\nmodStock,50,2,10\nTotal,50,2,10\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args[1] = File(args[1]);
    const Result result = Run(args);
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, c.out) << c.args[1];
    EXPECT_EQ(result.err, "");
  }
}

TEST_F(CountTest, ComponentsOfProjectsSharingNamesAreNamedByTheirFiles) {
  // A folder holding two copies of the project: every component name occurs twice.
  fs::create_directories(root / "all");
  fs::copy(project, root / "all" / "north", fs::copy_options::recursive);
  fs::copy(project, root / "all" / "south", fs::copy_options::recursive);
  // Make one copy differ, so the rows cannot be merged unnoticed.
  WriteFile(root / "all" / "south" / "modStock.bas", Original("modStock.bas") + "' one more\r\n");
  const Result result = Run({"count", (root / "all").string(), "--format", "csv", "--component", "modStock",
                             "--component", "IStockItem"});
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out,
            "Component,Code Lines,Comment Lines,Blank Lines\n"
            "north/modStock.bas,50,2,10\n"
            "north/IStockItem.cls,8,1,5\n"
            "south/modStock.bas,50,3,10\n"
            "south/IStockItem.cls,8,1,5\n"
            "Total,116,7,30\n");
}

TEST_F(CountTest, SeveralPathsAddUpAndUniqueNamesStayPlain) {
  const Result result = Run({"count", File("modStock.bas"), File("IStockItem.cls"), "--format", "csv"});
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out,
            "Component,Code Lines,Comment Lines,Blank Lines\nmodStock,50,2,10\nIStockItem,8,1,5\nTotal,58,3,15\n");
}

TEST_F(CountTest, BadInputsNameTheProblemAndExitTwo) {
  WriteFile(project / "notes.txt", "not a project\r\n");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"count", File("Missing.vbp")}, "Missing.vbp"},
      {{"count", File("Inventory.vbp"), "--component", "modNothing"}, "--component modNothing: no component"},
      {{"count", File("Inventory.vbp"), "--format", "xml"}, "--format must be one of text|csv|json"},
      {{"count"}, "missing PATH"},
      {{"count", File("notes.txt")}, "notes.txt"},
      {{"count", File("Inventory.vbp"), "--colour"}, "unknown option --colour"},
  };
  for (const Case& c : cases) {
    const Result result = Run(c.args);
    EXPECT_EQ(result.code, 2) << c.message;
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
}

TEST_F(CountTest, SummaryPrintsTheSummaryWindowText) {
  const Result result = Run({"summary", File("Inventory.vbp")});
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out, Expected("inventory_summary.txt"));
  EXPECT_NE(result.out.find("Total Propertys: 5\n"), std::string::npos);
}

}  // namespace
}  // namespace cli_test
