// Renaming a control offers to follow the new name in the form's code.
#include "ravlen_fixture.h"

namespace ravlen_test {
namespace {

const Text kCode = memhost::Lines({
    u"Option Explicit",
    u"Private MyText1 As String",
    u"",
    u"Private Sub Text1_Change()",
    u"    ' Text1 mirrors Text10",
    u"    Text10.Text = Text1.Text",
    u"    MyText1 = \"Text1\"",
    u"End Sub",
});

const std::vector<PlacedControl> kBoxes = {PlacedControl{u"TextBox", u"Text1"}, PlacedControl{u"TextBox", u"Text10"}};

TEST_F(RavlenTest, ReplaceFollowsWholeNamesOnly) {
  Start(kCode, kBoxes);
  Text oldCaption, newCaption;
  home.toolkit.Once(u"frmRenameCode", [&](ui::Form& form) {
    EXPECT_EQ(form.caption(), u"Rename Code for Control");
    oldCaption = Field<ui::Label>(form, u"lblOldName").caption();
    newCaption = Field<ui::Label>(form, u"lblNewName").caption();
    EXPECT_TRUE(Field<ui::CommandButton>(form, u"cmdReplace").isDefault());
    scripted::Click(form, u"cmdReplace");
    EXPECT_FALSE(form.loaded());
  });
  vbe->RenameControl(kForm, u"Text1", u"txtName");

  EXPECT_EQ(Shown(), std::vector<Text>{u"frmRenameCode"});
  EXPECT_EQ(oldCaption, u"Old Control Name : Text1");
  EXPECT_EQ(newCaption, u"New Control Name : txtName");
  EXPECT_EQ(vbe->Code(kForm), memhost::Lines({
                                  u"Option Explicit",
                                  u"Private MyText1 As String",
                                  u"",
                                  u"Private Sub txtName_Change()",
                                  u"    ' txtName mirrors Text10",
                                  u"    Text10.Text = txtName.Text",
                                  u"    MyText1 = \"txtName\"",
                                  u"End Sub",
                              }));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(RavlenTest, RenameIsOfferedOnlyWhenTheOldNameOccursAsAWholeName) {
  struct Case {
    const char16_t* name;
    Text code;
    bool offered;
  };
  const Case cases[] = {
      {u"only in a comment", memhost::Lines({u"' see Text1 above", u"Private Sub Form_Load()", u"End Sub"}), true},
      {u"only in a string", memhost::Lines({u"Private Sub Form_Load()", u"    Caption = \"Text1\"", u"End Sub"}), true},
      {u"other letter case", memhost::Lines({u"Private Sub text1_Change()", u"End Sub"}), false},
      {u"only inside Text10", memhost::Lines({u"Private Sub Text10_Change()", u"End Sub"}), false},
      {u"not at all", memhost::Lines({u"Private Sub Form_Load()", u"End Sub"}), false},
      {u"only as another object's", memhost::Lines({u"Private Sub Form_Load()", u"    frmOther.Text1 = udt.Text1", u"End Sub"}),
       false},
      {u"through this form", memhost::Lines({u"Private Sub Form_Load()", u"    Form1.Text1 = \"\"", u"End Sub"}), true},
      {u"empty module", Text(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.name));
    testing_support::TestHome caseHome;
    auto host = HostBuilder().project(u"Project1").form(kForm, c.code, kBoxes).build();
    ravlen::Connect addIn;
    addIn.OnConnection(host, addin::ext_cm_AfterStartup);
    caseHome.toolkit.Once(u"frmRenameCode", [](ui::Form& form) { scripted::Click(form, u"cmdCancel"); });
    host->RenameControl(kForm, u"Text1", u"txtName");
    EXPECT_EQ(caseHome.toolkit.shownForms().size(), c.offered ? 1u : 0u);
    EXPECT_EQ(host->Code(kForm), c.code);  // cancelled or never offered: every line as it was
  }
}

TEST_F(RavlenTest, AnArraysCodeFollowsOnlyWhenItsLastElementIsRenamed) {
  const Text code = memhost::Lines({u"Private Sub optSize_Click(Index As Integer)", u"    optSize(Index).Tag = \"\"",
                                    u"End Sub"});
  auto element = [](std::int16_t index) {
    return PlacedControl{u"OptionButton", u"optSize", {{u"Index", vb::Variant(index)}}};
  };
  Start(code, {element(0), element(1)});
  home.toolkit.On(u"frmRenameCode", [](ui::Form& form) { scripted::Click(form, u"cmdReplace"); });
  // Element 0 keeps the old name, and with it the procedures it shares.
  vbe->RenameControl(kForm, u"optSize", u"optWeight", 1);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(vbe->Code(kForm), code);
  vbe->RenameControl(kForm, u"optSize", u"optWeight", 0);
  EXPECT_EQ(Shown(), std::vector<Text>{u"frmRenameCode"});
  EXPECT_EQ(vbe->Code(kForm), memhost::Lines({u"Private Sub optWeight_Click(Index As Integer)",
                                              u"    optWeight(Index).Tag = \"\"", u"End Sub"}));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
}

TEST_F(RavlenTest, RenameOffIsNotOffered) {
  Setting(u"RenameCode", u"0");
  Start(kCode, kBoxes);
  vbe->RenameControl(kForm, u"Text1", u"txtName");
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(vbe->Code(kForm), kCode);
}

TEST_F(RavlenTest, FailedWriteLeavesTheModuleAsItWasAndSaysSo) {
  Start(kCode, kBoxes);
  bool stayedOpen = false;
  home.toolkit.Once(u"frmRenameCode", [&](ui::Form& form) {
    // The third changed line cannot be written.
    vbe->InjectFailure("CodeModule.ReplaceLine", 3, 40198, u"The module is read-only");
    scripted::Click(form, u"cmdReplace");
    stayedOpen = form.visible();
  });
  vbe->RenameControl(kForm, u"Text1", u"txtName");

  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(vbe->Code(kForm), kCode);
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.toolkit.messages()[0].prompt, u"The following error occurred : The module is read-only");
  EXPECT_EQ(home.toolkit.messages()[0].title, u"");
}

TEST_F(RavlenTest, ReadOnlyModuleIsReportedAndUnchanged) {
  Start(kCode, kBoxes);
  vbe->SetReadOnly(kForm, true);
  home.toolkit.Once(u"frmRenameCode", [&](ui::Form& form) { scripted::Click(form, u"cmdReplace"); });
  vbe->RenameControl(kForm, u"Text1", u"txtName");
  EXPECT_EQ(vbe->Code(kForm), kCode);
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_TRUE(vb::StartsWith(home.toolkit.messages()[0].prompt, u"The following error occurred : "));
}

TEST_F(RavlenTest, NamingANewControlOffersTheRenameOnTopAndTheSaveGoesOn) {
  Start(memhost::Lines({u"Private Sub Check1_Click()", u"    Check1.Value = 1", u"End Sub"}));
  std::size_t writesWhileRenaming = 0;
  bool controlDialogOpen = false;
  home.toolkit.Once(u"frmCheckBox", [&](ui::Form& form) {
    TypeOn(form, u"txtName", u"Agree");
    scripted::Click(form, u"OKButton");
  });
  home.toolkit.Once(u"frmRenameCode", [&](ui::Form& form) {
    writesWhileRenaming = Writes().size();
    controlDialogOpen = !home.toolkit.shownForms().empty() && home.toolkit.shownForms()[0] == u"frmCheckBox";
    EXPECT_EQ(Field<ui::Label>(form, u"lblNewName").caption(), u"New Control Name : chkAgree");
    scripted::Click(form, u"cmdReplace");
  });
  vbe->PlaceControl(kForm, u"CheckBox");

  EXPECT_EQ(Shown(), (std::vector<Text>{u"frmCheckBox", u"frmRenameCode"}));
  EXPECT_TRUE(controlDialogOpen);
  EXPECT_EQ(writesWhileRenaming, 1u);  // only the name was written when the rename dialog opened
  EXPECT_EQ(Writes().size(), 5u + 6u);
  EXPECT_EQ(vbe->Code(kForm), memhost::Lines({u"Private Sub chkAgree_Click()", u"    chkAgree.Value = 1", u"End Sub"}));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
}

}  // namespace
}  // namespace ravlen_test
