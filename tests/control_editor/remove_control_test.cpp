// Deleting a control offers to delete its procedures from the form's code.
#include "ravlen_fixture.h"

namespace ravlen_test {
namespace {

const Text kSaveCode = memhost::Lines({
    u"Option Explicit",
    u"",
    u"' Saves the document",
    u"Private Sub cmdSave_Click()",
    u"    Save",
    u"End Sub ' click",
    u"",
    u"Private Sub Form_Load()",
    u"    cmdSave.Enabled = False",
    u"End Sub",
    u"",
    u"Private Sub cmdSave_GotFocus()",
    u"    Beep",
    u"End Sub",
});

TEST_F(RavlenTest, ConfirmingRemovesEveryTickedProcedure) {
  Start(kSaveCode, {PlacedControl{u"CommandButton", u"cmdSave"}});
  std::vector<Text> rows;
  std::vector<bool> ticks;
  home.toolkit.Once(u"frmRemoveControl", [&](ui::Form& form) {
    EXPECT_EQ(form.caption(), u"Remove Code for Control");
    EXPECT_EQ(Field<ui::Label>(form, u"lblCtlName").caption(), u"Control Name : cmdSave");
    auto& list = Field<ui::ListBox>(form, u"lstMembers");
    for (int i = 0; i < list.listCount(); ++i) {
      rows.push_back(list.List(i));
      ticks.push_back(list.Selected(i));
    }
    scripted::Click(form, u"cmdOK");
    EXPECT_FALSE(form.loaded());
  });
  vbe->DeleteControl(kForm, u"cmdSave");

  EXPECT_EQ(rows, (std::vector<Text>{u"cmdSave_Click", u"cmdSave_GotFocus"}));
  EXPECT_EQ(ticks, (std::vector<bool>{true, true}));
  EXPECT_EQ(vbe->Code(kForm), memhost::Lines({
                                  u"Option Explicit",
                                  u"",
                                  u"' Saves the document",
                                  u"",
                                  u"Private Sub Form_Load()",
                                  u"    cmdSave.Enabled = False",
                                  u"End Sub",
                                  u"",
                              }));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
}

TEST_F(RavlenTest, UntickedRowsAreLeftAlone) {
  Start(kSaveCode, {PlacedControl{u"CommandButton", u"cmdSave"}});
  home.toolkit.Once(u"frmRemoveControl", [&](ui::Form& form) {
    scripted::Tick(form, u"lstMembers", u"cmdSave_Click");
    scripted::Tick(form, u"lstMembers", u"cmdSave_GotFocus");
    scripted::Click(form, u"cmdOK");
  });
  vbe->DeleteControl(kForm, u"cmdSave");
  EXPECT_EQ(Shown(), std::vector<Text>{u"frmRemoveControl"});
  EXPECT_EQ(vbe->Code(kForm), kSaveCode);

  // Unticking one of them removes only the other.
  Disconnect(1);
  Start(kSaveCode, {PlacedControl{u"CommandButton", u"cmdSave"}});
  home.toolkit.Once(u"frmRemoveControl", [&](ui::Form& form) {
    scripted::Tick(form, u"lstMembers", u"cmdSave_Click");
    scripted::Click(form, u"cmdOK");
  });
  vbe->DeleteControl(kForm, u"cmdSave");
  EXPECT_EQ(vbe->Code(kForm), memhost::Lines({
                                  u"Option Explicit",
                                  u"",
                                  u"' Saves the document",
                                  u"Private Sub cmdSave_Click()",
                                  u"    Save",
                                  u"End Sub ' click",
                                  u"",
                                  u"Private Sub Form_Load()",
                                  u"    cmdSave.Enabled = False",
                                  u"End Sub",
                                  u"",
                              }));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
}

TEST_F(RavlenTest, RemovalIsOfferedForNameAndUnderscoreOnly) {
  struct Case {
    const char16_t* control;
    Text code;
    std::vector<Text> rows;  // empty: not offered
  };
  const Case cases[] = {
      {u"Text1", memhost::Lines({u"Private Sub Text10_Change()", u"End Sub"}), {}},
      {u"Text1", memhost::Lines({u"Private Sub text1_Change()", u"End Sub"}), {}},
      {u"Text1", memhost::Lines({u"Private Text1_Count As Long", u"Private Sub Form_Load()", u"End Sub"}), {}},
      {u"A", memhost::Lines({u"Private Sub A_B_Click()", u"End Sub"}), {u"A_B_Click"}},
      {u"Text1",
       memhost::Lines({u"Private Text1_Count As Long", u"Private Sub Text1_Change()", u"End Sub",
                       u"Private Function Text1_Valid() As Boolean", u"End Function"}),
       {u"Text1_Change", u"Text1_Valid"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.code));
    testing_support::TestHome caseHome;
    auto host = HostBuilder().project(u"Project1").form(kForm, c.code, {PlacedControl{u"TextBox", c.control}}).build();
    ravlen::Connect addIn;
    addIn.OnConnection(host, addin::ext_cm_AfterStartup);
    std::vector<Text> rows;
    caseHome.toolkit.Once(u"frmRemoveControl", [&](ui::Form& form) {
      auto& list = Field<ui::ListBox>(form, u"lstMembers");
      for (int i = 0; i < list.listCount(); ++i) rows.push_back(list.List(i));
      scripted::Tick(form, u"lstMembers", list.List(0));  // keep the code
      scripted::Click(form, u"cmdOK");
    });
    host->DeleteControl(kForm, c.control);
    EXPECT_EQ(caseHome.toolkit.shownForms().size(), c.rows.empty() ? 0u : 1u);
    EXPECT_EQ(rows, c.rows);
  }
}

// A frame holding an option-button array, a button cmd and a button cmd_Save.
const Text kCategoryCode = memhost::Lines({
    u"Option Explicit",
    u"Private Sub fraCategory_DragDrop(Source As Control, X As Single, Y As Single)",
    u"End Sub",
    u"Private Sub optCategory_Click(Index As Integer)",
    u"    mCategory = Index",
    u"End Sub",
    u"Private Sub cmd_Click()",
    u"End Sub",
    u"Private Sub cmd_Save_Click()",
    u"End Sub",
});

std::vector<PlacedControl> CategoryControls() {
  auto option = [](std::int16_t index) {
    return PlacedControl{u"OptionButton", u"optCategory", {{u"Index", vb::Variant(index)}}, u"fraCategory"};
  };
  return {PlacedControl{u"Frame", u"fraCategory"}, option(0), option(1), PlacedControl{u"CheckBox", u"chkAll", {}, u"fraCategory"},
          PlacedControl{u"CommandButton", u"cmd"}, PlacedControl{u"CommandButton", u"cmd_Save"}};
}

TEST_F(RavlenTest, AnArrayOrAContainerOffersEachControlsCodeOnceWhenItsLastControlGoes) {
  struct Deletion {
    const char16_t* name;
    int index;
  };
  struct Case {
    const char* what;
    std::vector<Deletion> deletions;
    std::vector<std::string> offered;  // each remove dialog: the control's name and its rows
    std::vector<int> removedProcedures;  // 0 fraCategory, 1 optCategory, 2 cmd, 3 cmd_Save
  };
  const Case cases[] = {
      {"one element of two", {{u"optCategory", 1}}, {}, {}},
      {"both elements, one after the other",
       {{u"optCategory", 1}, {u"optCategory", 0}},
       {"optCategory: optCategory_Click"},
       {1}},
      {"the frame with everything inside it",
       {{u"fraCategory", -1}},
       {"fraCategory: fraCategory_DragDrop", "optCategory: optCategory_Click"},
       {0, 1}},
      {"cmd beside cmd_Save", {{u"cmd", -1}}, {"cmd: cmd_Click"}, {2}},
  };
  const Text procedures[] = {u"fraCategory_DragDrop", u"optCategory_Click", u"cmd_Click", u"cmd_Save_Click"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing_support::TestHome caseHome;
    auto host = HostBuilder().project(u"Project1").form(kForm, kCategoryCode, CategoryControls()).build();
    ravlen::Connect addIn;
    addIn.OnConnection(host, addin::ext_cm_AfterStartup);
    std::vector<std::string> offered;
    caseHome.toolkit.On(u"frmRemoveControl", [&](ui::Form& form) {
      std::string shown = vb::ToUtf8(Field<ui::Label>(form, u"lblCtlName").caption().substr(15)) + ":";
      auto& list = Field<ui::ListBox>(form, u"lstMembers");
      for (int i = 0; i < list.listCount(); ++i) shown += " " + vb::ToUtf8(list.List(i));
      offered.push_back(shown);
      scripted::Click(form, u"cmdOK");
    });
    for (const Deletion& d : c.deletions) host->DeleteControl(kForm, d.name, d.index);
    EXPECT_EQ(offered, c.offered);
    Text expected = kCategoryCode;
    for (int removed : c.removedProcedures) {
      const Text& name = procedures[removed];
      const std::size_t start = expected.find(u"Private Sub " + name);
      const std::size_t end = expected.find(u"End Sub", start) + 9;
      expected.erase(start, std::min(end, expected.size()) - start);
    }
    if (vb::EndsWith(expected, u"\r\n")) expected.resize(expected.size() - 2);
    EXPECT_EQ(host->Code(kForm), expected);
    EXPECT_TRUE(testing_support::SoundStructure(host));
    addIn.OnDisconnection(1);
  }
}

TEST_F(RavlenTest, FunctionsAndPropertiesEndAtTheirOwnEndLine) {
  const Text code = memhost::Lines({
      u"Private Text1_Count As Long",
      u"Private Function Text1_Valid() As Boolean",
      u"    Text1_Valid = Len(Text1.Text) > 0",
      u"End Function",
      u"Private Sub Text1_GotFocus(): Text1.SelStart = 0: End Sub",
      u"Private Sub Text1_Change()",
      u"10  Text1.Tag = \"\"",
      u"20  End Sub",
      u"Private Sub Text1_LostFocus()",
      u"Done: End Sub",
      u"Public Property Get Text1_Value() As String",
      u"    Text1_Value = Text1.Text",
      u"End Property",
      u"Public Property Let Text1_Value(ByVal s As String)",
      u"    Text1.Text = s",
      u"End Property",
      u"Private Sub Form_Load()",
      u"    Text1_Count = 0",
      u"End Sub",
  });
  Start(code, {PlacedControl{u"TextBox", u"Text1"}});
  home.toolkit.Once(u"frmRemoveControl", [&](ui::Form& form) { scripted::Click(form, u"cmdOK"); });
  vbe->DeleteControl(kForm, u"Text1");
  EXPECT_EQ(vbe->Code(kForm), memhost::Lines({
                                  u"Private Text1_Count As Long",
                                  u"Private Sub Form_Load()",
                                  u"    Text1_Count = 0",
                                  u"End Sub",
                              }));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
}

TEST_F(RavlenTest, ProcedureWithoutItsEndLineIsNotDeleted) {
  const Text code = memhost::Lines({
      u"Private Sub Text1_Change()",
      u"    Beep",
      u"Private Sub Form_Load()",
      u"End Sub",
      u"Private Sub Text1_KeyPress(KeyAscii As Integer)",
      u"    KeyAscii = 0",
  });
  Start(code, {PlacedControl{u"TextBox", u"Text1"}});
  home.toolkit.Once(u"frmRemoveControl", [&](ui::Form& form) { scripted::Click(form, u"cmdOK"); });
  vbe->DeleteControl(kForm, u"Text1");
  EXPECT_EQ(Shown(), std::vector<Text>{u"frmRemoveControl"});
  EXPECT_EQ(vbe->Code(kForm), code);
}

TEST_F(RavlenTest, RemovalOffIsNotOffered) {
  Setting(u"RemoveCode", u"False");
  Start(kSaveCode, {PlacedControl{u"CommandButton", u"cmdSave"}});
  vbe->DeleteControl(kForm, u"cmdSave");
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(vbe->Code(kForm), kSaveCode);
}

}  // namespace
}  // namespace ravlen_test
