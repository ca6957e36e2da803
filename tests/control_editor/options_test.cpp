// The editor's options: loading at connection, the options dialog and what it stores.
#include "control_editor/font_settings.h"
#include "ravlen_fixture.h"

namespace ravlen_test {
namespace {

constexpr const char16_t* kEntry = u"&Ravlen Editor Options";

const std::vector<Text> kSortedRows = {
    u"CheckBox",    u"ComboBox",       u"CommandButton", u"Frame",        u"HScrollBar", u"Label",
    u"ListBox",     u"ListView",       u"Masked Edit Box", u"OptionButton", u"Other Controls", u"RichTextBox",
    u"SSTab (Tabbed Dialog)", u"TextBox", u"Timer",      u"TreeView",     u"VScrollBar",
};

TEST_F(RavlenTest, NothingStoredMeansEverythingOnAndTimesNewRoman10) {
  Start();
  for (bool flag : connect.Options().PromptFlags) EXPECT_TRUE(flag);
  EXPECT_TRUE(connect.Options().RemoveCode);
  EXPECT_TRUE(connect.Options().RenameCode);
  EXPECT_EQ(ravlen::LoadDefaultFont(), (ravlen::FontSettings{u"Times New Roman", 10, false, false, false, false}));

  std::vector<Text> rows;
  std::vector<std::int32_t> types;
  home.toolkit.Once(u"frmAddInOptions", [&](ui::Form& form) {
    EXPECT_EQ(form.caption(), u"Ravlen Editor Options");
    auto& list = Field<ui::ListBox>(form, u"lstControls");
    for (int i = 0; i < list.listCount(); ++i) {
      rows.push_back(list.List(i));
      types.push_back(list.ItemData(i));
      EXPECT_TRUE(list.Selected(i));
    }
    EXPECT_EQ(Field<ui::CheckBox>(form, u"chkRemove").value(), 1);
    EXPECT_EQ(Field<ui::CheckBox>(form, u"chkRename").value(), 1);
    EXPECT_EQ(Field<ui::TextBox>(form, u"txtFont").text(), u"Times New Roman");
    scripted::Click(form, u"cmdOk");
    EXPECT_FALSE(form.loaded());
  });
  vbe->Click(u"Add-Ins", kEntry);
  EXPECT_EQ(rows, kSortedRows);
  EXPECT_EQ(types, (std::vector<std::int32_t>{0, 1, 2, 3, 15, 4, 5, 6, 11, 7, 16, 12, 13, 8, 9, 10, 14}));
  for (int k = 0; k < 17; ++k) EXPECT_EQ(Stored(vb::ToText(k) + u"UseCtl"), u"-1") << k;
}

TEST_F(RavlenTest, UntickingTimerStopsOnlyTheTimerDialogAfterReload) {
  Start();
  home.toolkit.Once(u"frmAddInOptions", [&](ui::Form& form) {
    scripted::Tick(form, u"lstControls", u"Timer");
    scripted::Click(form, u"cmdOk");
  });
  vbe->Click(u"Add-Ins", kEntry);
  EXPECT_EQ(Stored(u"9UseCtl"), u"0");
  EXPECT_EQ(Stored(u"8UseCtl"), u"-1");
  EXPECT_EQ(Stored(u"14UseCtl"), u"-1");

  // Reload the add-in: a new Connect reads the stored flags.
  Disconnect(1);
  ravlen::Connect reloaded;
  reloaded.OnConnection(vbe, addin::ext_cm_Startup);
  vbe->PlaceControl(kForm, u"Timer");
  EXPECT_TRUE(Shown().size() == 1u);  // only the options dialog so far
  const char16_t* others[] = {u"TextBox", u"CommandButton", u"CheckBox", u"Label", u"ListBox", u"ComboBox",
                              u"ListView", u"OptionButton", u"Frame", u"TreeView", u"MaskEdBox", u"RichTextBox",
                              u"SSTab", u"HScrollBar", u"VScrollBar", u"PictureBox"};
  for (const char16_t* className : others) vbe->PlaceControl(kForm, className);
  EXPECT_EQ(Shown().size(), 1u + std::size(others));
  EXPECT_EQ(Shown()[1], u"frmTextBox");
  EXPECT_EQ(Shown().back(), u"frmOtherControl");
  reloaded.OnDisconnection(1);
}

TEST_F(RavlenTest, UnlistedTypesFollowTheOtherControlsFlag) {
  Setting(u"16UseCtl", u"0");
  Start();
  vbe->PlaceControl(kForm, u"PictureBox");
  vbe->PlaceControl(kForm, u"textbox");
  EXPECT_TRUE(Shown().empty());
  home.toolkit.Once(u"frmTextBox", [](ui::Form& form) { scripted::Click(form, u"CancelButton"); });
  vbe->PlaceControl(kForm, u"TextBox");
  EXPECT_EQ(Shown(), std::vector<Text>{u"frmTextBox"});
}

TEST_F(RavlenTest, TheTwoSwitchesAreStoredAtOnce) {
  Start(memhost::Lines({u"Private Sub Text1_Change()", u"    Text1.Text = \"\"", u"End Sub"}),
        {PlacedControl{u"TextBox", u"Text1"}});
  home.toolkit.Once(u"frmAddInOptions", [&](ui::Form& form) {
    scripted::Click(form, u"chkRemove");
    scripted::Click(form, u"chkRename");
    EXPECT_EQ(Stored(u"RemoveCode"), u"0");
    EXPECT_EQ(Stored(u"RenameCode"), u"0");
    scripted::Click(form, u"cmdPromptNone");
    form.CloseBox();  // by the window frame: the list's changes are dropped
  });
  vbe->Click(u"Add-Ins", kEntry);
  EXPECT_FALSE(connect.Options().RemoveCode);
  EXPECT_FALSE(connect.Options().RenameCode);
  EXPECT_EQ(Stored(u"0UseCtl"), u"<none>");
  for (bool flag : connect.Options().PromptFlags) EXPECT_TRUE(flag);

  // Both take effect now: neither renaming nor deleting offers anything.
  vbe->RenameControl(kForm, u"Text1", u"txtName");
  vbe->DeleteControl(kForm, u"txtName");
  EXPECT_EQ(Shown().size(), 1u);

  // The dialog opens again showing them off; ticking one back stores "1".
  home.toolkit.Once(u"frmAddInOptions", [&](ui::Form& form) {
    EXPECT_EQ(Field<ui::CheckBox>(form, u"chkRemove").value(), 0);
    EXPECT_EQ(Field<ui::CheckBox>(form, u"chkRename").value(), 0);
    scripted::Click(form, u"chkRename");
    scripted::Click(form, u"cmdPromtAll");
    scripted::Click(form, u"cmdOk");
  });
  vbe->Click(u"Add-Ins", kEntry);
  EXPECT_EQ(Stored(u"RenameCode"), u"1");
  EXPECT_TRUE(connect.Options().RenameCode);
  EXPECT_EQ(Stored(u"16UseCtl"), u"-1");
}

TEST_F(RavlenTest, OptionsFontIsStoredEvenWithoutAChoice) {
  Setting(u"FontName", u"Arial");
  Setting(u"FontSize", u"9");
  Setting(u"FontItalic", u"True");
  Start();
  home.toolkit.OnFont([](ui::FontChoice&) { return false; });
  home.toolkit.Once(u"frmAddInOptions", [&](ui::Form& form) {
    scripted::Click(form, u"cmdFont");
    scripted::Click(form, u"cmdOk");
  });
  vbe->Click(u"Add-Ins", kEntry);
  ASSERT_EQ(home.toolkit.fontPresets().size(), 1u);
  EXPECT_EQ(home.toolkit.fontPresets()[0], (ui::FontChoice{u"Arial", 9, false, true, false, false, 1}));
  EXPECT_EQ(Stored(u"FontName"), u"Arial");
  EXPECT_EQ(Stored(u"FontSize"), u"9");
  EXPECT_EQ(Stored(u"FontBold"), u"False");
  EXPECT_EQ(Stored(u"FontItalic"), u"True");
  EXPECT_EQ(Stored(u"FontUnderline"), u"False");
  EXPECT_EQ(Stored(u"FontStrikeThru"), u"False");

  // A choice of 8.25 points is stored as 8.25 and applied as 8.
  home.toolkit.OnFont([](ui::FontChoice& font) {
    font.name = u"Tahoma";
    font.size = 8.25;
    font.bold = true;
    return true;
  });
  Text shown;
  home.toolkit.Once(u"frmAddInOptions", [&](ui::Form& form) {
    scripted::Click(form, u"cmdFont");
    shown = Field<ui::TextBox>(form, u"txtFont").text();
    scripted::Click(form, u"cmdOk");
  });
  vbe->Click(u"Add-Ins", kEntry);
  EXPECT_EQ(shown, u"Tahoma");
  EXPECT_EQ(Stored(u"FontSize"), u"8.25");
  EXPECT_EQ(Stored(u"FontBold"), u"True");
  EXPECT_EQ(ravlen::LoadDefaultFont(), (ravlen::FontSettings{u"Tahoma", 8, true, true, false, false}));
}

TEST_F(RavlenTest, UnreadableStoredFlagEndsTheConnectionWithItsMessage) {
  Setting(u"RenameCode", u"maybe");
  Start(memhost::Lines({u"Private Sub Text1_Change()", u"End Sub"}), {PlacedControl{u"TextBox", u"Text1"}});
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.toolkit.messages()[0], (scripted::MessageBox{u"Type mismatch", ui::vbOKOnly, u""}));
  // The entry was created before the options were read; the designer events were never bound.
  const auto captions = vbe->Captions(u"Add-Ins");
  EXPECT_EQ(captions.back(), kEntry);
  vbe->PlaceControl(kForm, u"CheckBox");
  vbe->DeleteControl(kForm, u"Text1");
  EXPECT_TRUE(Shown().empty());
}

}  // namespace
}  // namespace ravlen_test
