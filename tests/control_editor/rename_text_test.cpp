// Which mentions of a control's name in its form's code refer to it, line after line.
#include <gtest/gtest.h>

#include "control_editor/rename_text.h"

namespace {

using ravlen::CodeRenamer;
using ravlen::RenameScope;
using vb::Text;

std::vector<Text> Renamed(const RenameScope& scope, const std::vector<Text>& lines) {
  CodeRenamer renamer(scope);
  std::vector<Text> out;
  for (const Text& line : lines) out.push_back(renamer.Line(line));
  return out;
}

TEST(RenameText, OnlyReferencesToThisFormsControlFollowTheNewName) {
  const RenameScope scope{u"Check1", u"chkAgree", u"Form2", {u"chkAgree", u"Check10", u"Text1"}};
  // Each pair: a line before and after; the lines run in order through one renamer.
  const std::vector<std::pair<Text, Text>> lines = {
      {u"Private Sub Check1_Click()", u"Private Sub chkAgree_Click()"},
      {u"    Check1.Value = Check10.Value", u"    chkAgree.Value = Check10.Value"},
      {u"    Me.Check1.Enabled = Form2.Check1.Value", u"    Me.chkAgree.Enabled = Form2.chkAgree.Value"},
      {u"    frmOther.Check1.Value = udt.Check1", u"    frmOther.Check1.Value = udt.Check1"},
      {u"    x = Me!Check1 + rs!Check1 + GetForm().Check1", u"    x = Me!chkAgree + rs!Check1 + GetForm().Check1"},
      {u"    MyCheck1 = check1 + Check1\u00e9 + _Check1", u"    MyCheck1 = check1 + Check1\u00e9 + _Check1"},
      {u"    s = \"Check1\" ' Check1 is the box", u"    s = \"chkAgree\" ' chkAgree is the box"},
      {u"    With Me", u"    With Me"},
      {u"        .Check1.Value = 1", u"        .chkAgree.Value = 1"},
      {u"        With udt", u"        With udt"},
      {u"            .Check1 = 2: Check1.Value = .Check1", u"            .Check1 = 2: chkAgree.Value = .Check1"},
      {u"        End With", u"        End With"},
      {u"        Call Show(.Check1)", u"        Call Show(.chkAgree)"},
      {u"    End With", u"    End With"},
      {u"    With frmOther: .Check1.Value = 0: End With: .Check1.Value = 1",
       u"    With frmOther: .Check1.Value = 0: End With: .chkAgree.Value = 1"},
      {u"    With Form2 ' .Check1 below", u"    With Form2 ' .chkAgree below"},
      {u"    Rem With udt", u"    Rem With udt"},
      {u"        .Check1.Refresh", u"        .chkAgree.Refresh"},
      {u"End Sub", u"End Sub"},
  };
  std::vector<Text> before, expected;
  for (const auto& [b, a] : lines) {
    before.push_back(b);
    expected.push_back(a);
  }
  EXPECT_EQ(Renamed(scope, before), expected);
}

TEST(RenameText, AnIdentifierBelongsToTheControlWithTheLongestName) {
  const RenameScope scope{u"cmd", u"cmdGo", u"frmMain", {u"cmdGo", u"cmd_Save", u"cmd_Save_As"}};
  const std::vector<Text> before = {
      u"Private Sub cmd_Click(): cmd_Save.Enabled = cmd.Enabled: End Sub",
      u"Private Sub cmd_Save_Click(): cmd_Save_As_Click: End Sub",
      u"Private Sub cmd_GotFocus(): cmd_Helper: End Sub",
  };
  EXPECT_EQ(Renamed(scope, before), (std::vector<Text>{
                                        u"Private Sub cmdGo_Click(): cmd_Save.Enabled = cmdGo.Enabled: End Sub",
                                        u"Private Sub cmd_Save_Click(): cmd_Save_As_Click: End Sub",
                                        u"Private Sub cmdGo_GotFocus(): cmdGo_Helper: End Sub",
                                    }));
  EXPECT_EQ(ravlen::OwnerOf(u"cmd_Save_As_Click", scope.controls), u"cmd_Save_As");
  EXPECT_EQ(ravlen::OwnerOf(u"Form_Load", scope.controls), u"");
  EXPECT_EQ(Renamed(RenameScope{u"", u"x", u"", {}}, {u"abc"}), std::vector<Text>{u"abc"});
}

}  // namespace
