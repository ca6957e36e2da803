// The scripted toolkit and the runtime services: dialogs answered by name (nested modal ones
// included), message boxes, the font chooser, pop-up menus and the mouse pointer.
#include <gtest/gtest.h>

#include "framework/runtime.h"
#include "framework/ui/form.h"
#include "framework/vb_error.h"
#include "support/error_number.h"
#include "support/test_home.h"

namespace {

using scripted::MessageBox;
using vb::Text;

using testing_support::ErrorNumberOf;

// The results dialog opened from the selection dialog's OK button.
class frmResults : public ui::Form {
 public:
  frmResults() : ui::Form(u"frmResults", u"Code Counting Results") {
    cmdOk.SetDefault(true);
    cmdOk.OnClick = [this] {
      Hide();
      Unload();
    };
  }
  ui::Label lblTotal{*this, u"lblTotal", u"Total : "};
  ui::CommandButton cmdOk{*this, u"cmdOk", u"&Ok"};
  Text total;
  std::vector<Text>* trace = nullptr;

 protected:
  void Form_Activate() override {
    trace->push_back(u"frmResults activated");
    lblTotal.SetCaption(lblTotal.caption() + total);
  }
};

class frmChoose : public ui::Form {
 public:
  frmChoose() : ui::Form(u"frmChoose", u"Component Line Counter") {
    OKButton.SetDefault(true);
    CancelButton.SetCancel(true);
    OKButton.OnClick = [this] { OKButton_Click(); };
    CancelButton.OnClick = [this] { Hide(); };
  }
  ui::ListBox lstComponents{*this, u"lstComponents", false, ui::ListBox::Checkbox};
  ui::CommandButton OKButton{*this, u"OKButton", u"&Ok"};
  ui::CommandButton CancelButton{*this, u"CancelButton", u"&Cancel"};
  frmResults results;
  std::vector<Text> trace;

 protected:
  void Form_Activate() override {
    trace.push_back(u"frmChoose activated");
    lstComponents.Clear();
    for (const char16_t* name : {u"Form1", u"Module1", u"Class1"}) lstComponents.AddItem(name);
  }

 private:
  void OKButton_Click() {
    results.trace = &trace;
    results.total = vb::ToText(lstComponents.selCount());
    results.Show(ui::vbModal);
    trace.push_back(u"back in frmChoose, results " + Text(results.loaded() ? u"loaded" : u"unloaded"));
    CancelButton.Click();
  }
};

TEST(ScriptedToolkit, NestedModalDialogsAreAnsweredInTurn) {
  testing_support::TestHome home;
  frmChoose dialog;
  Text totalSeen;
  home.toolkit.On(u"frmChoose", [](ui::Form& form) {
    scripted::Tick(form, u"lstComponents", u"Module1");
    scripted::Tick(form, u"lstComponents", u"Class1");
    scripted::Click(form, u"OKButton");
  });
  home.toolkit.On(u"FRMRESULTS", [&](ui::Form& form) {
    totalSeen = form.Find<ui::Label>(u"lblTotal")->caption();
    form.PressEnter();
  });

  dialog.Show(ui::vbModal);
  dialog.trace.push_back(u"Show returned");

  EXPECT_EQ(totalSeen, u"Total : 2");
  EXPECT_EQ(home.toolkit.shownForms(), (std::vector<Text>{u"frmChoose", u"frmResults"}));
  EXPECT_EQ(dialog.trace, (std::vector<Text>{u"frmChoose activated", u"frmResults activated",
                                             u"back in frmChoose, results unloaded", u"Show returned"}));
  EXPECT_FALSE(dialog.visible());
  EXPECT_TRUE(dialog.loaded());  // hidden by Cancel, unloaded by its owner
  EXPECT_EQ(dialog.results.lblTotal.caption(), u"Total : ");  // design state back after Unload
}

class frmStubborn : public ui::Form {
 public:
  frmStubborn() : ui::Form(u"frmStubborn", u"Stubborn") {}
  ui::TextBox txtValue{*this, u"txtValue"};
  std::vector<int> modes;
  bool refuseControlMenu = false;

 protected:
  void Form_QueryUnload(int& cancel, int unloadMode) override {
    modes.push_back(unloadMode);
    if (refuseControlMenu && unloadMode == ui::vbFormControlMenu) cancel = 1;
  }
};

TEST(ScriptedToolkit, ADialogLeftOpenIsClosedWithTheCloseBox) {
  testing_support::TestHome home;
  frmStubborn form;
  home.toolkit.Once(u"frmStubborn", [](ui::Form& f) { scripted::Type(f, u"txtValue", u"typed"); });
  form.Show(ui::vbModal);
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(form.modes, (std::vector<int>{ui::vbFormControlMenu}));

  // No answer at all: shown, then closed the same way.
  form.Show(ui::vbModal);
  EXPECT_EQ(form.modes, (std::vector<int>{ui::vbFormControlMenu, ui::vbFormControlMenu}));
  EXPECT_EQ(home.toolkit.shownForms().size(), 2u);

  // A dialog that refuses the close box and is not closed by its answer cannot end its display.
  form.refuseControlMenu = true;
  Text description;
  EXPECT_EQ(ErrorNumberOf([&] { form.Show(ui::vbModal); }, &description), vb::err::kInvalidProcedureCall);
  EXPECT_NE(description.find(u"frmStubborn"), Text::npos);
}

TEST(ScriptedToolkit, OnceAnswersComeBeforeTheStandingOne) {
  testing_support::TestHome home;
  frmStubborn form;
  std::vector<Text> answered;
  home.toolkit.On(u"frmStubborn", [&](ui::Form& f) {
    answered.push_back(u"standing");
    f.Unload();
  });
  home.toolkit.Once(u"frmStubborn", [&](ui::Form& f) {
    answered.push_back(u"first");
    f.Unload();
  });
  home.toolkit.Once(u"frmStubborn", [&](ui::Form& f) {
    answered.push_back(u"second");
    f.Hide();
  });
  for (int i = 0; i < 4; ++i) form.Show(ui::vbModal);
  EXPECT_EQ(answered, (std::vector<Text>{u"first", u"second", u"standing", u"standing"}));
  // The second answer only hid the form, so it asked no QueryUnload.
  EXPECT_EQ(form.modes, (std::vector<int>{ui::vbFormCode, ui::vbFormCode, ui::vbFormCode}));
  EXPECT_FALSE(form.loaded());
}

TEST(ScriptedToolkit, ModelessFormsStayOpenUntilClosed) {
  testing_support::TestHome home;
  frmStubborn form;
  int activations = 0;
  home.toolkit.On(u"frmStubborn", [&](ui::Form&) { ++activations; });
  form.Show();
  EXPECT_EQ(home.toolkit.OpenForm(u"frmstubborn"), &form);
  form.txtValue.SetText(u"kept");
  form.Show();  // shown again as it is
  EXPECT_EQ(form.txtValue.text(), u"kept");
  EXPECT_EQ(activations, 2);
  EXPECT_EQ(ErrorNumberOf([&] { form.Show(ui::vbModal); }), vb::err::kFormAlreadyDisplayed);
  form.Hide();
  EXPECT_EQ(home.toolkit.OpenForm(u"frmStubborn"), nullptr);
  EXPECT_TRUE(form.loaded());
  form.Show();
  form.Unload();
  EXPECT_EQ(home.toolkit.OpenForm(u"frmStubborn"), nullptr);
  EXPECT_EQ(form.txtValue.text(), u"");
}

TEST(ScriptedToolkit, MessageBoxesAreRecordedAndAnswered) {
  testing_support::TestHome home;
  home.toolkit.AnswerMsgBox(ui::vbNo);
  EXPECT_EQ(vb::MsgBox(u"Delete the piece?", ui::vbYesNo + ui::vbQuestion, u"Pellmoss"), ui::vbNo);
  EXPECT_EQ(vb::MsgBox(u"Done."), ui::vbOK);
  EXPECT_EQ(home.toolkit.messages(),
            (std::vector<MessageBox>{{u"Delete the piece?", ui::vbYesNo + ui::vbQuestion, u"Pellmoss"},
                                     {u"Done.", ui::vbOKOnly, u""}}));
  home.toolkit.ClearMessages();
  EXPECT_TRUE(home.toolkit.messages().empty());
}

class frmFont : public ui::Form {
 public:
  frmFont() : ui::Form(u"frmFont", u"Font") {
    cmdFont.OnClick = [this] {
      cdlgFont.FontBold = false;
      cdlgFont.FontName = u"Times New Roman";
      cdlgFont.FontSize = 10;
      cdlgFont.Flags = 1;
      cdlgFont.ShowFont();
    };
  }
  ui::CommandButton cmdFont{*this, u"cmdFont", u"..."};
  ui::CommonDialog cdlgFont{*this, u"cdlgFont"};
};

TEST(ScriptedToolkit, FontChooserClosedWithoutAChoiceLeavesThePreset) {
  testing_support::TestHome home;
  frmFont form;
  // The person picks a font but then closes the chooser without a choice.
  home.toolkit.OnFont([](ui::FontChoice& font) {
    font.name = u"Arial";
    return false;
  });
  form.cmdFont.Click();
  EXPECT_EQ(form.cdlgFont.FontName, u"Times New Roman");
  EXPECT_EQ(form.cdlgFont.FontSize, 10);
  ui::FontChoice preset;
  preset.name = u"Times New Roman";
  preset.size = 10;
  preset.flags = 1;
  EXPECT_EQ(home.toolkit.fontPresets(), std::vector<ui::FontChoice>{preset});

  home.toolkit.OnFont([](ui::FontChoice& font) {
    font.name = u"Tahoma";
    font.size = 8.25;
    font.bold = font.underline = true;
    return true;
  });
  form.cmdFont.Click();
  EXPECT_EQ(form.cdlgFont.FontName, u"Tahoma");
  EXPECT_EQ(form.cdlgFont.FontSize, 8.25);
  EXPECT_TRUE(form.cdlgFont.FontBold);
  EXPECT_TRUE(form.cdlgFont.FontUnderline);
  EXPECT_FALSE(form.cdlgFont.FontItalic);

  // With CancelError set, closing without a choice is an error the caller can trap.
  home.toolkit.OnFont(nullptr);
  form.cdlgFont.CancelError = true;
  EXPECT_EQ(ErrorNumberOf([&] { form.cdlgFont.ShowFont(); }), vb::err::kCancelSelected);
}

class frmPick : public ui::Form {
 public:
  frmPick() : ui::Form(u"frmPick", u"Goto Function") {
    mnuPopup.SetVisible(false);
    mnuGotoCode.SetContainer(&mnuPopup);
    mnuGotoCode.OnClick = [this] { chosen = tvMembers.selectedItem()->text(); };
    tvMembers.MouseUp = [this](int button, int, float x, float y) {
      ui::Node* node = tvMembers.HitTest(x, y);
      if (button != ui::vbRightButton || !node) return;
      tvMembers.SetSelectedItem(node);
      PopupMenu(mnuPopup);
    };
  }
  ui::TreeView tvMembers{*this, u"tvMembers"};
  ui::Menu mnuPopup{*this, u"mnuPopup", u"Popup"};
  ui::Menu mnuGotoCode{*this, u"mnuGotoCode", u"&Goto Code Member"};
  Text chosen;
};

TEST(ScriptedToolkit, PopupMenuEntryIsClickedByTheAnswer) {
  testing_support::TestHome home;
  frmPick form;
  std::vector<Text> offered;
  home.toolkit.OnPopup([&](ui::Form&, ui::Menu& menu) -> ui::Menu* {
    for (ui::Menu* entry : menu.entries()) offered.push_back(entry->caption());
    return menu.entries().front();
  });
  ui::Node* root = form.tvMembers.Add(nullptr, ui::tvwLast, u"", u"Module1 Members");
  ui::Node* sub = form.tvMembers.Add(root, ui::tvwChild, u"", u"Main");
  form.tvMembers.RightClick(nullptr);  // empty space: no menu
  EXPECT_TRUE(offered.empty());
  form.tvMembers.RightClick(sub);
  EXPECT_EQ(offered, std::vector<Text>{u"&Goto Code Member"});
  EXPECT_EQ(form.chosen, u"Main");
}

TEST(ScriptedToolkit, PersonHelpersFindControlsByName) {
  testing_support::TestHome home;
  frmChoose form;
  ui::TextBox txtName{form, u"txtName", u"chk"};
  ui::CheckBox chkUseSet{form, u"chkUseSet"};
  ui::ComboBox cmbType{form, u"cmbType"};
  cmbType.AddItem(u"Long");
  int checkClicks = 0;
  chkUseSet.OnClick = [&] { ++checkClicks; };

  scripted::Type(form, u"txtName", u"chkOK");
  EXPECT_EQ(txtName.text(), u"chkOK");
  scripted::Type(form, u"cmbType", u"clsShape");
  EXPECT_EQ(cmbType.text(), u"clsShape");
  scripted::Choose(form, u"cmbType", u"Long");
  EXPECT_EQ(cmbType.listIndex(), 0);
  scripted::SetCheck(form, u"chkUseSet", 1);
  scripted::SetCheck(form, u"chkUseSet", 1);
  EXPECT_EQ(chkUseSet.value(), 1);
  EXPECT_EQ(checkClicks, 1);
  chkUseSet.SetValue(2);
  scripted::SetCheck(form, u"chkUseSet", 0);
  EXPECT_EQ(chkUseSet.value(), 0);

  Text description;
  EXPECT_EQ(ErrorNumberOf([&] { scripted::Click(form, u"cmdMissing"); }, &description), vb::err::kInvalidProcedureCall);
  EXPECT_NE(description.find(u"cmdMissing"), Text::npos);
  EXPECT_EQ(ErrorNumberOf([&] { scripted::Choose(form, u"cmbType", u"Short"); }, &description),
            vb::err::kInvalidProcedureCall);
  EXPECT_NE(description.find(u"Short"), Text::npos);
  EXPECT_EQ(ErrorNumberOf([&] { scripted::Click(form, u"txtName"); }), vb::err::kInvalidProcedureCall);
  EXPECT_EQ(ErrorNumberOf([&] { scripted::SetCheck(form, u"chkUseSet", 2); }), vb::err::kInvalidProcedureCall);
}

TEST(Runtime, ServicesGoToTheInstalledRuntime) {
  {
    testing_support::TestHome home;
    vb::SetMousePointer(ui::vbHourglass);
    vb::DoEvents();
    vb::DoEvents();
    EXPECT_EQ(vb::MousePointer(), ui::vbHourglass);
    vb::SetMousePointer(ui::vbDefault);
    EXPECT_EQ(home.toolkit.mousePointers(), (std::vector<int>{ui::vbHourglass, ui::vbDefault}));
    EXPECT_EQ(home.toolkit.doEventsCount(), 2);
    EXPECT_EQ(vb::Now(), (vb::DateTime{2026, 12, 7, 9, 30, 15}));
    vb::LogEvent(u"one line");
    EXPECT_EQ(home.log.lines, std::vector<Text>{u"one line"});

    // A nested scope puts the outer runtime back when it ends.
    {
      vb::RuntimeScope inner{vb::Runtime{}};
      EXPECT_EQ(vb::CurrentRuntime().toolkit, nullptr);
    }
    EXPECT_EQ(vb::CurrentRuntime().toolkit, &home.toolkit);
  }

  // Nothing installed: each service names what is missing; the log is silently skipped.
  EXPECT_EQ(vb::CurrentRuntime().toolkit, nullptr);
  Text description;
  EXPECT_EQ(ErrorNumberOf([] { vb::MsgBox(u"x"); }, &description), vb::err::kObjectNotSet);
  EXPECT_NE(description.find(u"toolkit"), Text::npos);
  EXPECT_EQ(ErrorNumberOf([] { vb::DoEvents(); }), vb::err::kObjectNotSet);
  EXPECT_EQ(ErrorNumberOf([] { vb::SetMousePointer(ui::vbHourglass); }), vb::err::kObjectNotSet);
  EXPECT_EQ(ErrorNumberOf([] { vb::GetSetting(u"Ravlen", u"Options", u"FontName", u"Arial"); }, &description),
            vb::err::kObjectNotSet);
  EXPECT_NE(description.find(u"settings"), Text::npos);
  EXPECT_EQ(ErrorNumberOf([] { vb::Now(); }), vb::err::kObjectNotSet);
  EXPECT_EQ(ErrorNumberOf([] { vb::LogEvent(u"nowhere"); }), 0);
}

TEST(Runtime, SettingsGoThroughTheStore) {
  testing_support::TestHome home;
  EXPECT_EQ(vb::GetSetting(u"Ravlen", u"Options", u"FontName", u"Times New Roman"), u"Times New Roman");
  vb::SaveSetting(u"Ravlen", u"Options", u"FontName", u"Tahoma");
  EXPECT_EQ(vb::GetSetting(u"ravlen", u"OPTIONS", u"fontname"), u"Tahoma");
}

}  // namespace
