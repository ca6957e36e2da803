#include "cli_fixture.h"
#include "support/current_folder.h"

namespace cli_test {
namespace {

using CountTest = CliTest;

TEST_F(CountTest, FormatsShowTheResultsDialogRowsAndTotals) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const std::vector<Case> cases = {
      {{"count", "Inventory/Inventory.vbp"},
       "Component   Code Lines  Comment Lines  Blank Lines\n"
       "frmMain             33              1            7\n"
       "modStock            50              2           10\n"
       "IStockItem           8              1            5\n"
       "clsProduct          35              0           12\n"
       "\n"
       "Code Lines : 126\n"
       "Comment Lines : 4\n"
       "Blank Lines : 34\n"},
      // Rows in CSV and JSON carry each component's file, as loaded (relative to the current folder).
      {{"count", "Inventory/Inventory.vbp", "--format", "csv", "--component", "modStock", "--component", "clsproduct"},
       "Component,Code Lines,Comment Lines,Blank Lines,File\n"
       "modStock,50,2,10,Inventory/modStock.bas\n"
       "clsProduct,35,0,12,Inventory/clsProduct.cls\n"
       "Total,85,2,22,\n"},
      {{"count", "Inventory/Inventory.vbp", "--format=json", "--component", "IStockItem"},
       "{\"components\":[{\"name\":\"IStockItem\",\"file\":\"Inventory/IStockItem.cls\",\"code\":8,\"comment\":1,"
       "\"blank\":5}],\"totals\":{\"code\":8,\"comment\":1,\"blank\":5}}\n"},
      // A module file alone is a project of its own.
      {{"count", "Inventory/modStock.bas", "--format", "csv"},
       "Component,Code Lines,Comment Lines,Blank Lines,File\nmodStock,50,2,10,Inventory/modStock.bas\nTotal,50,2,10,\n"},
  };
  const testing_support::CurrentFolder here(root / "examples");
  for (const Case& c : cases) {
    const Result result = Run(c.args);
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
  const std::string all = (root / "all").generic_string();
  EXPECT_EQ(result.out,
            "Component,Code Lines,Comment Lines,Blank Lines,File\n"
            "north/modStock.bas,50,2,10," + all + "/north/modStock.bas\n"
            "north/IStockItem.cls,8,1,5," + all + "/north/IStockItem.cls\n"
            "south/modStock.bas,50,3,10," + all + "/south/modStock.bas\n"
            "south/IStockItem.cls,8,1,5," + all + "/south/IStockItem.cls\n"
            "Total,116,7,30,\n");
}

TEST_F(CountTest, SeveralPathsAddUpAndUniqueNamesStayPlain) {
  const Result result = Run({"count", File("modStock.bas"), File("IStockItem.cls"), "--format", "csv"});
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out, "Component,Code Lines,Comment Lines,Blank Lines,File\nmodStock,50,2,10," + File("modStock.bas") +
                            "\nIStockItem,8,1,5," + File("IStockItem.cls") + "\nTotal,58,3,15,\n");
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

  // The same text as JSON: members by kind, each component's totals and the project's.
  const Result json = Run({"summary", File("Inventory.vbp"), "--format", "json"});
  EXPECT_EQ(json.code, 0) << json.err;
  EXPECT_EQ(json.out.rfind("{\"projects\": [{\"name\": \"Inventory\", \"components\": [{\"name\": \"frmMain\", "
                           "\"members\": [{\"name\": \"mProduct\", \"kind\": \"Variable\"}, ",
                           0),
            0u)
      << json.out;
  EXPECT_NE(json.out.find("{\"name\": \"IStockItem\", \"members\": [{\"name\": \"Code\", \"kind\": \"Variable\"}, "
                          "{\"name\": \"Quantity\", \"kind\": \"Property\"}, {\"name\": \"Describe\", \"kind\": "
                          "\"Method\"}], \"counts\": {\"constants\": 0, \"events\": 0, \"methods\": 1, "
                          "\"properties\": 1, \"variables\": 1}}"),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("], \"totals\": {\"constants\": 3, \"events\": 1, \"methods\": 11, \"properties\": 5, "
                          "\"variables\": 8}}]}\n"),
            std::string::npos)
      << json.out;

  // Names with letters beyond ASCII (Windows-1252 in the file) come out as UTF-8, on lines of their own.
  WriteFile(root / "modAccents.bas",
            "Attribute VB_Name = \"modAccents\"\r\nPrivate mPr\xE9is As Long\r\nSub Gr\xF6\xDF" "e()\r\nEnd Sub\r\n");
  const Result accents = Run({"summary", (root / "modAccents.bas").string()});
  EXPECT_EQ(accents.code, 0) << accents.err;
  EXPECT_NE(accents.out.find("\nmPr\xC3\xA9is - Variable\nGr\xC3\xB6\xC3\x9F" "e - Method\n\nComponent Counts:\n"),
            std::string::npos)
      << accents.out;
}

}  // namespace
}  // namespace cli_test
