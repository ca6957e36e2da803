#include <tuple>

#include "cli_fixture.h"
#include "hosts/files/workspace.h"
#include "support/module_structure.h"

namespace cli_test {
namespace {

using EditTest = CliTest;

TEST_F(EditTest, EveryChangingCommandSaysWhatChangedUnlessQuiet) {
  const std::string stock = File("modStock.bas");
  const std::string form = File("frmMain.frm");
  const std::string values = (root / "values.txt").string();
  struct Case {
    std::vector<std::string> args;
    std::string said;
  };
  // In order on one copy of the example project.
  const std::vector<Case> cases = {
      {{"comment", stock, "--lines", "43-45"}, stock + ": 3 lines commented out"},
      {{"uncomment", stock, "--lines", "43-45"}, stock + ": 3 lines un-commented"},
      {{"uncomment", stock, "--lines", "43-45"}, stock + ": nothing changed"},
      {{"header", stock, "--line", "43", "--author", "A"}, stock + ": function header added (13 lines)"},
      {{"revision", stock, "--line", "50", "--author", "A"}, stock + ": revision entry added (2 lines)"},
      {{"property", File("clsProduct.cls"), "--name", "Price"},
       File("clsProduct.cls") + ": property Price added (9 lines)"},
      // cmdAdd_Click names txtName on three lines.
      {{"control", "rename", form, "txtName", "txtItem"},
       form + ": control txtName renamed to txtItem, 3 code lines changed"},
      {{"control", "remove", form, "tmrClock"}, form + ": control tmrClock removed, 3 code lines removed"},
      {{"control", "add", form, "TextBox", "--field", "txtName=txtTotal"}, form + ": control txtTotal (TextBox) added"},
      {{"control", "remove", form, "optCategory", "--index", "1"},
       form + ": control optCategory(1) removed, 0 code lines removed"},
      {{"piece", "store", "T", "-"}, "piece T stored"},
      {{"piece", "insert", "T", stock, "--line", "1"}, stock + ": piece T inserted above line 1 (2 lines)"},
      {{"piece", "menu", "T", "on"}, "piece T offered in the menu"},
      {{"piece", "menu", "T", "on"}, "piece T was already offered in the menu"},
      {{"piece", "edit", "T", "-"}, "piece T changed"},
      {{"piece", "delete", "T"}, "piece T deleted"},
      {{"options", "--rename-code", "off"}, "control editor options saved"},
      {{"settings", "import", values}, "2 values imported from " + values},
  };
  WriteFile(values,
            "vb6kit settings 1\nRavlen\tOptions\tRemoveCode\tFalse\nComment\tHeader\tAuthor\tA\n"
            "end of vb6kit settings\n");
  for (const Case& c : cases) {
    const Result result = Run(c.args, "' one\n' two\n");
    EXPECT_EQ(result.code, 0) << c.said << ": " << result.err;
    EXPECT_EQ(result.err, c.said + "\n");
  }
  // Quiet, or a dry run (whose diff says it), says nothing.
  for (const char* flag : {"-q", "--quiet", "--dry-run"}) {
    const Result result = Run({"comment", stock, "--lines", "1", flag});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err, "") << flag;
  }
}

TEST_F(EditTest, PropertyScopesAndAssignment) {
  struct Case {
    std::vector<std::string> options;
    std::string text;
  };
  const std::vector<Case> cases = {
      {{"--type", "Currency", "--scope", "public-read"},
       CrLf({"Private propPrice As Currency", "Public Property Get Price() As Currency", "\tPrice = propPrice",
             "End Property", "", "Private Property Let Price (ByVal value as Currency)", "\tpropPrice = value",
             "End Property", ""})},
      {{"--type", "clsProduct", "--scope", "friend", "--use-set"},
       CrLf({"Private propPrice As clsProduct", "Friend Property Get Price() As clsProduct",
             "\tSet Price = propPrice", "End Property", "", "Friend Property Set Price (ByVal value as clsProduct)",
             "\tSet propPrice = value", "End Property", ""})},
      {{"--type", " adodb.Property ", "--scope", "private"},
       CrLf({"Private propPrice As  adodb.Property ", "Private Property Get Price() As  adodb.Property ",
             "\tPrice = propPrice", "End Property", "", "Private Property Let Price (ByVal value as  adodb.Property )",
             "\tpropPrice = value", "End Property", ""})},
      {{"--type", "  ", "--scope", "public"},
       CrLf({"Private propPrice As Variant", "Public Property Get Price() As Variant", "\tPrice = propPrice",
             "End Property", "", "Public Property Let Price (ByVal value as Variant)", "\tpropPrice = value",
             "End Property", ""})},
      {{"--scope", "none"},
       CrLf({"Private propPrice As Variant", "Property Get Price() As Variant", "\tPrice = propPrice",
             "End Property", "", "Property Let Price (ByVal value as Variant)", "\tpropPrice = value", "End Property",
             ""})},
  };
  for (const Case& c : cases) {
    WriteFile(project / "clsProduct.cls", Original("clsProduct.cls"));
    std::vector<std::string> args = {"property", File("clsProduct.cls"), "--name", "Price"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Result result = Run(args);
    ASSERT_EQ(result.code, 0) << result.err;
    const std::string text = Read("clsProduct.cls");
    // The declarations end after mQuantity; the new code goes in right there.
    EXPECT_NE(text.find("Private mQuantity As Long\r\n" + c.text + "\r\nPublic Property Get Name() As String\r\n"
                        "Attribute Name.VB_UserMemId = 0\r\n"),
              std::string::npos)
        << c.options[1] << "\n"
        << text;
  }
}

TEST_F(EditTest, PropertyRefusesBadInput) {
  WriteFile(File("modTotals.bas"), "Attribute VB_Name = \"modTotals\"\r\nPrivate propTotal As Long\r\n");
  WriteFile(File("modWin.bas"), "Attribute VB_Name = \"modWin\"\r\n#If Win64 Then\r\nPrivate propHandle As LongLong\r\n"
                                "#Else\r\nPrivate propHandle As Long\r\n#End If\r\n");
  const auto before = Snapshot();
  for (const auto& [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"property", File("clsProduct.cls")}, "missing --name"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--scope", "global"}, "--scope must be one of"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--line", "999"}, "past the end"},
           {{"property", File("clsProduct.cls"), "--name", "Unit Price"}, "--name Unit Price: not a VB name"},
           {{"property", File("clsProduct.cls"), "--name", ""}, "--name : not a VB name"},
           {{"property", File("clsProduct.cls"), "--name", "2nd"}, "--name 2nd: not a VB name"},
           {{"property", File("clsProduct.cls"), "--name", "Next"}, "--name Next: not a VB name"},
           {{"property", File("clsProduct.cls"), "--name", std::string(252, 'x')}, "not a VB name"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--type", "Long) As"}, "--type Long) As: not a type"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--type", "String * 10"}, "--type String * 10:"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--type", "Long()"}, "--type Long():"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--type", "New Collection"}, "--type New Collection:"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--type", "Decimal"}, "--type Decimal:"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--type", "Any"}, "--type Any:"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--type", "Long.Count"}, "--type Long.Count:"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--type", "A.B.C"}, "--type A.B.C:"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--type", "\tLong"}, "--type \tLong:"},
           // A name the module declares already, in any letter case, stops it compiling.
           {{"property", File("clsProduct.cls"), "--name", "quantity"}, "--name quantity: the module declares Quantity already"},
           {{"property", File("clsProduct.cls"), "--name", "QuantityChanged"}, "declares QuantityChanged"},
           {{"property", File("frmMain.frm"), "--name", "txtName"}, "--name txtName: the module declares txtName already"},
           {{"property", File("modTotals.bas"), "--name", "Total"}, "--name Total: the module declares propTotal already"},
           {{"property", File("modWin.bas"), "--name", "Handle"}, "--name Handle: the module declares propHandle already"},
       }) {
    const Result result = Run(args);
    EXPECT_EQ(result.code, 2) << message;
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
  }
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(EditTest, ImplementWritesTheImplementsLineAndStubs) {
  const Result result =
      Run({"implement", File("Inventory.vbp"), "--class", "Inventory.frmMain", "--interface", "Inventory.IStockItem"});
  ASSERT_EQ(result.code, 0) << result.err;
  const std::string text = Read("frmMain.frm");
  EXPECT_NE(text.find("Option Explicit\r\n\r\nImplements Inventory.IStockItem\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find(CrLf({"Private Function IStockItem_Describe() As String", "\t' place your code here", "",
                            "End Function"})),
            std::string::npos)
      << text;
  // Only the implementing form changed.
  for (const char* other : {"clsProduct.cls", "IStockItem.cls", "modStock.bas", "Inventory.vbp"})
    EXPECT_EQ(Read(other), Original(other)) << other;
}

TEST_F(EditTest, TheReadmeImplementCompilesAndImplementingAgainAddsNothing) {
  const std::vector<std::string> readme = {"implement", File("Inventory.vbp"), "--class", "Inventory.frmMain",
                                           "--interface", "Inventory.IStockItem", "--unknown", "both", "-q"};
  Result result = Run(readme);
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(testing_support::SoundStructure(files::Workspace::Load(project / "Inventory.vbp").vbe()));
  const auto once = Snapshot();

  result = Run(readme);
  EXPECT_EQ(result.code, 0);
  EXPECT_EQ(result.err, "vb6kit implement: Inventory.frmMain implements Inventory.IStockItem already: nothing added\n");
  EXPECT_EQ(Snapshot(), once);
  // clsProduct implements it by hand, written without the project.
  result = Run({"implement", File("Inventory.vbp"), "--class", "Inventory.clsProduct", "--interface",
                "Inventory.IStockItem", "-q"});
  EXPECT_EQ(result.code, 0);
  EXPECT_EQ(result.err, "vb6kit implement: Inventory.clsProduct implements Inventory.IStockItem already: nothing added\n");
  EXPECT_EQ(Snapshot(), once);
}

TEST_F(EditTest, ImplementAnswersTheQuestionAboutUnknownTypes) {
  WriteFile(project / "IPriced.cls",
            "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\nAttribute VB_Name = \"IPriced\"\r\n"
            "Attribute VB_GlobalNameSpace = False\r\nAttribute VB_Creatable = True\r\n"
            "Attribute VB_PredeclaredId = False\r\nAttribute VB_Exposed = False\r\nOption Explicit\r\n\r\n"
            "Public Product As clsProduct\r\n");
  std::string vbp = Original("Inventory.vbp");
  const std::string last = "Class=clsProduct; clsProduct.cls\r\n";
  vbp.insert(vbp.find(last) + last.size(), "Class=IPriced; IPriced.cls\r\n");
  WriteFile(project / "Inventory.vbp", vbp);
  for (const auto& [answer, let, set] : std::vector<std::tuple<std::string, bool, bool>>{
           {"set", false, true}, {"both", true, true}, {"let", true, false}}) {
    WriteFile(project / "clsProduct.cls", Original("clsProduct.cls"));
    const Result result = Run({"implement", File("Inventory.vbp"), "--class", "Inventory.clsProduct", "--interface",
                               "Inventory.IPriced", "--unknown", answer});
    ASSERT_EQ(result.code, 0) << result.err;
    const std::string text = Read("clsProduct.cls");
    EXPECT_NE(text.find("Implements Inventory.IPriced\r\n"), std::string::npos) << answer;
    EXPECT_NE(text.find("Private Property Get IPriced_Product () As clsProduct\r\n"), std::string::npos) << answer;
    EXPECT_EQ(text.find("Private Property Let IPriced_Product (byval RHS as clsProduct)\r\n") != std::string::npos, let)
        << answer;
    EXPECT_EQ(text.find("Private Property Set IPriced_Product (byval RHS as clsProduct)\r\n") != std::string::npos, set)
        << answer;
  }
}

TEST_F(EditTest, ImplementNamesAnUnknownClassOrInterface) {
  const auto before = Snapshot();
  Result result = Run({"implement", File("Inventory.vbp"), "--class", "Inventory.frmNone", "--interface",
                       "Inventory.IStockItem"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("--class Inventory.frmNone"), std::string::npos) << result.err;
  result = Run({"implement", File("Inventory.vbp"), "--class", "Inventory.frmMain", "--interface", "Inventory.modStock"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("--interface Inventory.modStock"), std::string::npos) << result.err;
  EXPECT_EQ(Snapshot(), before);
}

}  // namespace
}  // namespace cli_test
