// The examples of README.md, run as written, in order, on a fresh copy of examples/.
#include <sstream>

#include "cli_fixture.h"
#include "hosts/files/workspace.h"
#include "support/module_structure.h"

namespace cli_test {
namespace {

using ReadmeTest = CliTest;

// The lines of the README's example block: from "cd examples/Inventory" to the end of the block.
std::vector<std::string> ExampleLines() {
  std::istringstream readme(ReadFile(fs::path(VB6KIT_SOURCE_DIR) / "README.md"));
  std::vector<std::string> lines;
  bool inBlock = false;
  for (std::string line; std::getline(readme, line);) {
    if (line == "cd examples/Inventory") inBlock = true;
    if (!inBlock) continue;
    if (line == "```") break;
    lines.push_back(line);
  }
  return lines;
}

TEST_F(ReadmeTest, TheExamplesRunAsWrittenAndLeaveCodeThatCompiles) {
  const std::vector<std::string> lines = ExampleLines();
  ASSERT_GT(lines.size(), 20u);
  // "../../vb6kit" from examples/Inventory is the program; its settings are the test's own.
  fs::create_symlink(VB6KIT_PROGRAM, root / "vb6kit");
  std::string script = "export VB6KIT_SETTINGS=" + ShellQuoted(settings.string()) + "\nexec 3>status.txt\n";
  for (std::size_t i = 0; i < lines.size(); ++i)
    script += lines[i] + "\necho \"" + std::to_string(i) + " $?\" >&3\n";
  const Result result = RunShell(script, root.path());
  std::istringstream status(ReadFile(root / "status.txt"));
  std::size_t ran = 0;
  for (std::size_t index = 0, code = 0; status >> index >> code; ++ran)
    EXPECT_EQ(code, 0u) << lines[index] << "\n" << result.err;
  EXPECT_EQ(ran, lines.size()) << result.err;

  // What the text beside the examples says they do.
  const std::string stock = Read("modStock.bas");
  const std::string form = Read("frmMain.frm");
  for (const char* text : {"' Author: Ann Lee\r\n", "Counts from one.\r\n",
                           "End Function\r\n\r\nPublic Function SalePrice(ByVal Price As Currency) As Currency\r\n"
                           "    SalePrice = PriceWithTax(Price, True)\r\nEnd Function\r\n\r\nPublic Function PriceWithTax("})
    EXPECT_NE(stock.find(text), std::string::npos) << text << "\n" << stock;
  for (const char* text : {"Implements Inventory.IStockItem\r\n", "Private Property Get IStockItem_Quantity()",
                           "Begin VB.TextBox txtTotal ", "Private Sub cmdInsert_Click()", "Private Sub tmrClock_Timer()",
                           "Begin VB.TextBox txtItem ", "    If Len(Trim$(txtItem.Text)) = 0 Then"})
    EXPECT_NE(form.find(text), std::string::npos) << text;
  EXPECT_EQ(form.find("Begin VB.Timer tmrClock"), std::string::npos);
  EXPECT_NE(Read("clsProduct.cls").find("Public Property Get Price() As Currency"), std::string::npos);
  EXPECT_EQ(Read("pieces.txt").rfind("vb6kit settings 1\n", 0), 0u);
  // The dry run printed the rename, form and code, and git apply made it.
  const std::string diff = Read("rename.diff");
  EXPECT_NE(diff.find("+   Begin VB.TextBox txtItem "), std::string::npos) << diff;
  EXPECT_NE(diff.find("+    If Len(Trim$(txtItem.Text)) = 0 Then"), std::string::npos) << diff;
  EXPECT_EQ(form.find("txtName"), std::string::npos);

  EXPECT_TRUE(testing_support::SoundStructure(files::Workspace::Load(project / "Inventory.vbp").vbe()));
}

}  // namespace
}  // namespace cli_test
