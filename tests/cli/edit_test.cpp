#include "cli_fixture.h"

namespace cli_test {
namespace {

using EditTest = CliTest;

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
  const auto before = Snapshot();
  for (const auto& [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"property", File("clsProduct.cls")}, "missing --name"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--scope", "global"}, "--scope must be one of"},
           {{"property", File("clsProduct.cls"), "--name", "X", "--line", "999"}, "past the end"},
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
