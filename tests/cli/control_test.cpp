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
            "vb6kit control add: Invalid Property Value: An error occurred trying to set the property value for Name.\n"
            "The error was: Invalid property value\n");
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ControlTest, AddRefusesUnknownClassesAndFields) {
  const auto before = Snapshot();
  Result result = Run({"control", "add", File("frmMain.frm"), "Gizmo"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("unknown control class 'Gizmo'"), std::string::npos) << result.err;
  result = Run({"control", "add", File("modStock.bas"), "TextBox"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("not a form"), std::string::npos) << result.err;
  // An MDI form holds only controls that align to its edges and controls without a window.
  WriteFile(project / "mdiMain.frm",
            "VERSION 5.00\r\nBegin VB.MDIForm mdiMain \r\n   Caption         =   \"Main\"\r\nEnd\r\n"
            "Attribute VB_Name = \"mdiMain\"\r\n");
  const auto mdi = Snapshot();
  result = Run({"control", "add", File("mdiMain.frm"), "TextBox", "--field", "txtName=txtFind"});
  EXPECT_EQ(result.code, 2);
  EXPECT_EQ(result.err, "vb6kit control add: " + File("mdiMain.frm") +
                            ": an MDI form holds only controls that align to its edges (an Align property) and "
                            "controls without a window, not a TextBox\n");
  EXPECT_EQ(Snapshot(), mdi);
  for (const char* fits : {"PictureBox", "Timer"})
    EXPECT_EQ(Run({"control", "add", File("mdiMain.frm"), fits, "--field", std::string("txtName=ctl") + fits}).code, 0) << fits;
  std::filesystem::remove(project / "mdiMain.frm");
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
  // The command refuses a name that the form's code declares.
  result = Run({"control", "rename", File("frmMain.frm"), "cmdInsert", "form_load"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("the name 'form_load' is refused: the form's code declares Form_Load already"),
            std::string::npos)
      << result.err;
  // With the editor's "rename code" option off nothing offers to rename code: asking for it is
  // refused; without asking, the designer alone changes, as in the IDE.
  ASSERT_EQ(Run({"options", "--rename-code", "off"}).code, 0);
  for (const std::vector<std::string>& asked : std::vector<std::vector<std::string>>{
           {"control", "rename", File("frmMain.frm"), "txtName", "txtItem", "--code", "yes"},
           {"control", "add", File("frmMain.frm"), "CheckBox", "--field", "txtName=chkAgree", "--code", "yes"}}) {
    result = Run(asked);
    EXPECT_EQ(result.code, 2) << asked[1];
    EXPECT_NE(result.err.find("--code yes: the control editor's option \"rename code\" is off"), std::string::npos)
        << result.err;
  }
  EXPECT_EQ(Snapshot(), before);
  result = Run({"control", "rename", File("frmMain.frm"), "txtName", "txtItem"});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.err, File("frmMain.frm") + ": control txtName renamed to txtItem, 0 code lines changed\n");
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

  // Declared in two #If branches, the procedure has no end of its own to delete to: kept, and said.
  std::string branches = Original("frmMain.frm");
  const std::string header = "Private Sub tmrClock_Timer()\r\n";
  branches.replace(branches.find(header), header.size(),
                   "#If DEBUG_MODE Then\r\n" + header + "#Else\r\n" + header + "#End If\r\n");
  WriteFile(project / "frmMain.frm", branches);
  const Result left = Run({"control", "remove", File("frmMain.frm"), "tmrClock", "-q"});
  ASSERT_EQ(left.code, 0) << left.err;
  EXPECT_EQ(left.err, "vb6kit control remove: " + File("frmMain.frm") +
                          ": event procedure tmrClock_Timer left in place: its end could not be found\n");
  EXPECT_NE(Read("frmMain.frm").find("#Else\r\n" + header), std::string::npos);
}

TEST_F(ControlTest, ArraysAndContainersAreRenamedAndRemovedWholeOrByElement) {
  const std::string original = Original("frmMain.frm");
  // A control's block: from its Begin line to the End line of its indent.
  auto block = [&](const std::string& begin, std::size_t from = 0) {
    const std::size_t at = original.find(begin, from);
    const std::string end = "\r\n" + begin.substr(0, begin.find("Begin")) + "End\r\n";
    return original.substr(at, original.find(end, at) + end.size() - at);
  };
  const std::string option0 = block("      Begin VB.OptionButton optCategory \r\n");
  const std::string option1 = block("      Begin VB.OptionButton optCategory \r\n", original.find(option0) + 1);
  const std::string frame = block("   Begin VB.Frame fraCategory \r\n");
  const std::string procedure = "Private Sub optCategory_Click(Index As Integer)\r\n    mCategory = Index\r\nEnd Sub\r\n";
  auto with = [&](std::vector<std::pair<std::string, std::string>> edits) {
    std::string text = original;
    for (const auto& [from, to] : edits) text.replace(text.find(from), from.size(), to);
    return text;
  };
  auto renamed = [](std::string text) {
    for (std::size_t at = text.find("optCategory"); at != std::string::npos; at = text.find("optCategory", at))
      text.replace(at, 11, "optKind");
    return text;
  };
  struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string expected;
  };
  const Case cases[] = {
      {"rename the array", {"rename", "optCategory", "optKind"}, renamed(original)},
      {"rename one element", {"rename", "optCategory", "optKind", "--index", "1"}, with({{option1, renamed(option1)}})},
      {"remove the array", {"remove", "optCategory"}, with({{option0, ""}, {option1, ""}, {procedure, ""}})},
      {"remove one element", {"remove", "optCategory", "--index", "0"}, with({{option0, ""}})},
      {"remove the frame", {"remove", "fraCategory"}, with({{frame, ""}, {procedure, ""}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(project / "frmMain.frm", original);
    std::vector<std::string> args{"control", c.args[0], File("frmMain.frm")};
    args.insert(args.end(), c.args.begin() + 1, c.args.end());
    const Result result = Run(args);
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(Read("frmMain.frm"), c.expected);
  }
  WriteFile(project / "frmMain.frm", original);
  const auto before = Snapshot();
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"remove", File("frmMain.frm"), "optCategory", "--index", "2"},
       "--index 2: optCategory has no element of that index (its elements: 0, 1)"},
      {{"rename", File("frmMain.frm"), "tmrClock", "tmrTick", "--index", "0"}, "--index 0: tmrClock is no control array"},
  };
  for (const auto& [args, message] : refused) {
    std::vector<std::string> full{"control"};
    full.insert(full.end(), args.begin(), args.end());
    const Result result = Run(full);
    EXPECT_EQ(result.code, 2);
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
  }
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ControlTest, AddAnswersTheRenameQuestionFromCodeAndNoByDefault) {
  // Code left behind by an earlier Check1 of this form.
  const std::string original = Original("frmMain.frm");
  const std::string left = "\r\nPrivate Sub Check1_Click()\r\n    Check1.Value = 0\r\nEnd Sub\r\n";
  const std::string followed = "\r\nPrivate Sub chkAgree_Click()\r\n    chkAgree.Value = 0\r\nEnd Sub\r\n";
  for (const char* code : {"", "no", "yes"}) {
    SCOPED_TRACE(code);
    WriteFile(project / "frmMain.frm", original + left);
    std::vector<std::string> args{"control", "add", File("frmMain.frm"), "CheckBox", "--field", "txtName=chkAgree"};
    if (*code) args.insert(args.end(), {"--code", code});
    const Result result = Run(args);
    ASSERT_EQ(result.code, 0) << result.err;
    const std::string text = Read("frmMain.frm");
    EXPECT_NE(text.find("Begin VB.CheckBox chkAgree"), std::string::npos);
    const std::string code_ = text.substr(text.find("Attribute VB_Name"));
    EXPECT_EQ(code_, original.substr(original.find("Attribute VB_Name")) + (std::string(code) == "yes" ? followed : left));
  }
}

// A value the dialog will not take as given ends the command with exit 1; a field or font the
// dialog does not have is bad usage (exit 2). Nothing is written either way.
TEST_F(ControlTest, FieldsTheDialogWillNotTakeAreRefused) {
  const auto before = Snapshot();
  const std::string longName(45, 'x');
  const struct {
    std::vector<std::string> args;
    int code;
    std::string message;
  } cases[] = {
      {{"HScrollBar", "--field", "txtMin=-10"}, 1,
       "--field txtMin=-10: txtMin takes digits 0 to 9 only; typed there the value reads \"10\""},
      {{"VScrollBar", "--field", "txtMax=1.5e3"}, 1,
       "--field txtMax=1.5e3: txtMax takes digits 0 to 9 only; typed there the value reads \"153\""},
      {{"RichTextBox", "--field", "txtName=" + longName}, 1,
       "--field txtName=" + longName + ": txtName takes a name without spaces or periods, at most 40 characters"},
      {{"TextBox", "--field", "txtName=txt.Total"}, 1,
       "txtName takes a name without spaces or periods; typed there the value reads \"txtTotal\""},
      {{"SSTab", "--field", "txtTabs=123"}, 1, "txtTabs takes digits 0 to 9 only, at most 2 characters"},
      {{"CommandButton", "--field", "txtIndex=-1"}, 1, "--field txtIndex=-1: txtIndex takes digits 0 to 9 only"},
      {{"CheckBox", "--field", "chkEnabled=2"}, 1, "--field chkEnabled: a check box takes 0 or 1"},
      // An image has no caption and no font: the dialog shows both disabled.
      {{"Image", "--field", "txtControlCaption=Logo"}, 1,
       "--field txtControlCaption: the field is disabled for this control"},
      {{"Image", "--font", "Arial,10"}, 1, "--font: the font is disabled for this control"},
      {{"Timer", "--field", "txtInterval=100", "--font", "Arial,10"}, 2, "--font: this control's dialog has no font"},
      {{"TextBox", "--field", "txtColour=red"}, 2, "--field txtColour: frmTextBox has no such field"},
      // A control and a member of the form's code of one name (letter case aside) do not compile.
      {{"TextBox", "--field", "txtName=mcategory"}, 2,
       "the name 'mcategory' is refused: the form's code declares mCategory already"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> full{"control", "add", File("frmMain.frm")};
    full.insert(full.end(), c.args.begin(), c.args.end());
    const Result result = Run(full);
    EXPECT_EQ(result.code, c.code) << c.message;
    EXPECT_EQ(result.err.rfind("vb6kit control add: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
  EXPECT_EQ(Snapshot(), before);
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
  result = Run({"options", "--format", "json"});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out,
            "{\"prompt\": {\"CheckBox\": true, \"ComboBox\": true, \"CommandButton\": true, \"Frame\": true, "
            "\"HScrollBar\": true, \"Label\": true, \"ListBox\": true, \"ListView\": true, \"Masked Edit Box\": false, "
            "\"OptionButton\": true, \"Other Controls\": true, \"RichTextBox\": true, \"SSTab (Tabbed Dialog)\": true, "
            "\"TextBox\": false, \"Timer\": true, \"TreeView\": true, \"VScrollBar\": true}, "
            "\"removeCode\": false, \"renameCode\": true, \"font\": {\"name\": \"Tahoma\", \"size\": 9, "
            "\"bold\": false, \"italic\": true, \"underline\": false, \"strikethru\": false}, \"unreadable\": {}}\n");

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
