#include "cli_fixture.h"

namespace cli_test {
namespace {

using ControlTest = CliTest;

TEST_F(ControlTest, AddAnswersTheControlDialogByFieldNames) {
  const Result result = Run({"control", "add", File("frmMain.frm"), "TextBox", "--field", "txtName=txtTotal",
                             "--field", "chkEnabled=0", "--font", "Arial,12,bold"});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out, "txtTotal\n");
  const std::string text = Read("frmMain.frm");
  const auto begin = text.find("   Begin VB.TextBox txtTotal \r\n");
  ASSERT_NE(begin, std::string::npos) << text;
  const std::string block = text.substr(begin, text.find("   End\r\n", begin) - begin);
  EXPECT_NE(block.find("      Enabled         =   0   'False\r\n"), std::string::npos) << block;
  EXPECT_NE(block.find("         Name            =   \"Arial\"\r\n"), std::string::npos) << block;
  EXPECT_NE(block.find("         Size            =   12\r\n"), std::string::npos) << block;
  EXPECT_NE(block.find("         Weight          =   700\r\n"), std::string::npos) << block;
  // The rest of the form's file is as it was.
  EXPECT_EQ(text.substr(0, begin), Original("frmMain.frm").substr(0, begin));
}

TEST_F(ControlTest, ARejectedValuePrintsTheMessageAndSavesNothing) {
  const auto before = Snapshot();
  const Result result = Run({"control", "add", File("frmMain.frm"), "TextBox", "--field", "txtName=1st"});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err,
            "Invalid Property Value: An error occurred trying to set the property value for Name.\n"
            "The error was: Invalid property value\n");
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ControlTest, AddRefusesUnknownClassesAndFields) {
  const auto before = Snapshot();
  Result result = Run({"control", "add", File("frmMain.frm"), "Gizmo"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("unknown control class 'Gizmo'"), std::string::npos) << result.err;
  result = Run({"control", "add", File("frmMain.frm"), "TextBox", "--field", "txtColour=red"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("--field txtColour: frmTextBox has no such field"), std::string::npos) << result.err;
  result = Run({"control", "add", File("modStock.bas"), "TextBox"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("not a form"), std::string::npos) << result.err;
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ControlTest, RenameFollowsTheNameInCodeUnlessDeclined) {
  Result result = Run({"control", "rename", File("frmMain.frm"), "cmdAdd", "cmdInsert"});
  ASSERT_EQ(result.code, 0) << result.err;
  std::string text = Read("frmMain.frm");
  EXPECT_NE(text.find("   Begin VB.CommandButton cmdInsert \r\n"), std::string::npos);
  EXPECT_NE(text.find("Private Sub cmdInsert_Click()\r\n"), std::string::npos);
  EXPECT_EQ(text.find("cmdAdd"), std::string::npos);

  WriteFile(project / "frmMain.frm", Original("frmMain.frm"));
  result = Run({"control", "rename", File("frmMain.frm"), "cmdAdd", "cmdInsert", "--code", "no"});
  ASSERT_EQ(result.code, 0) << result.err;
  text = Read("frmMain.frm");
  EXPECT_NE(text.find("   Begin VB.CommandButton cmdInsert \r\n"), std::string::npos);
  EXPECT_NE(text.find("Private Sub cmdAdd_Click()\r\n"), std::string::npos);

  const auto before = Snapshot();
  result = Run({"control", "rename", File("frmMain.frm"), "cmdGone", "cmdX"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("no control 'cmdGone'"), std::string::npos);
  // The designer refuses a name that another control has.
  result = Run({"control", "rename", File("frmMain.frm"), "cmdInsert", "txtName"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("the name 'txtName' is refused"), std::string::npos) << result.err;
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ControlTest, RemoveDeletesTheEventProceduresNotKept) {
  const Result result = Run({"control", "remove", File("frmMain.frm"), "tmrClock"});
  ASSERT_EQ(result.code, 0) << result.err;
  const std::string text = Read("frmMain.frm");
  EXPECT_EQ(text.find("tmrClock"), std::string::npos) << text;

  WriteFile(project / "frmMain.frm", Original("frmMain.frm"));
  const Result kept = Run({"control", "remove", File("frmMain.frm"), "tmrClock", "--keep", "tmrClock_Timer"});
  ASSERT_EQ(kept.code, 0) << kept.err;
  EXPECT_EQ(Read("frmMain.frm").find("Begin VB.Timer tmrClock"), std::string::npos);
  EXPECT_NE(Read("frmMain.frm").find("Private Sub tmrClock_Timer()"), std::string::npos);
}

TEST_F(ControlTest, OptionsAreShownAndChangedThroughTheOptionsDialog) {
  Result result = Run({"options", "--prompt", "TextBox=off", "--prompt", "masked edit box=off", "--remove-code", "off",
                       "--font", "Tahoma,9,italic"});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out, "");
  result = Run({"options", "--show"});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_NE(result.out.find("  [x] ListBox\n  [x] ListView\n  [ ] Masked Edit Box\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("  [ ] TextBox\n"), std::string::npos);
  EXPECT_NE(result.out.find("Remove code: off\nRename code: on\nFont: Tahoma, 9, italic\n"), std::string::npos)
      << result.out;

  // Without the prompt the control is placed as the IDE names it, and --field has nothing to answer.
  result = Run({"control", "add", File("frmMain.frm"), "TextBox"});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out, "Text1\n");
  result = Run({"control", "add", File("frmMain.frm"), "TextBox", "--field", "txtName=txtX"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("does not prompt for TextBox"), std::string::npos);

  result = Run({"options", "--prompt", "Button=on"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("unknown control type 'Button'"), std::string::npos);
}

}  // namespace
}  // namespace cli_test
