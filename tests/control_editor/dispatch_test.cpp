// Failures around the designer events: nothing reaches the IDE and no dialog is left behind.
#include <algorithm>

#include "ravlen_fixture.h"

namespace ravlen_test {
namespace {

TEST_F(RavlenTest, OtherControlOpeningFailureIsReportedAndClosesTheDialog) {
  Setting(u"FontBold", u"perhaps");
  Start();
  bool answered = false;
  home.toolkit.Once(u"frmOtherControl", [&](ui::Form&) { answered = true; });
  vbe->PlaceControl(kForm, u"Data");
  EXPECT_FALSE(answered);  // closed before a person could act
  EXPECT_EQ(Shown(), std::vector<Text>{u"frmOtherControl"});
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.toolkit.messages()[0], (scripted::MessageBox{u"The following error occurred : Type mismatch", 0, u""}));
  EXPECT_TRUE(Writes().empty());
}

TEST_F(RavlenTest, FailedDisplayOfTheRemoveDialogLeavesItReadyForTheNextDeletion) {
  const Text code = memhost::Lines({u"Private Sub Text1_Change()", u"End Sub", u"Private Sub Text2_Change()", u"End Sub"});
  Start(code, {PlacedControl{u"TextBox", u"Text1"}, PlacedControl{u"TextBox", u"Text2"}});
  // The handler reads Members once to decide, the dialog once more when it opens: that one fails.
  vbe->InjectFailure("CodeModule.Members", 2, 5, u"Invalid procedure call or argument");
  vbe->DeleteControl(kForm, u"Text1");
  EXPECT_EQ(vbe->ControlNames(kForm), std::vector<Text>{u"Text2"});  // the IDE went on
  EXPECT_TRUE(home.toolkit.messages().empty());

  home.toolkit.Once(u"frmRemoveControl", [](ui::Form& form) { scripted::Click(form, u"cmdOK"); });
  vbe->DeleteControl(kForm, u"Text2");
  EXPECT_EQ(Shown(), (std::vector<Text>{u"frmRemoveControl", u"frmRemoveControl"}));
  EXPECT_EQ(vbe->Code(kForm), memhost::Lines({u"Private Sub Text1_Change()", u"End Sub"}));
}

TEST_F(RavlenTest, DisconnectionUnloadsAnOpenControlDialog) {
  Start();
  home.toolkit.Once(u"frmListView", [&](ui::Form& form) {
    Disconnect(0);
    EXPECT_FALSE(form.loaded());
  });
  vbe->PlaceControl(kForm, u"ListView");
  EXPECT_TRUE(Writes().empty());
  const auto captions = vbe->Captions(u"Add-Ins");
  EXPECT_EQ(std::find(captions.begin(), captions.end(), Text(u"&Ravlen Editor Options")), captions.end());
}

TEST_F(RavlenTest, EachPlacedControlGetsAFreshDialog) {
  Start();
  home.toolkit.Once(u"frmCheckBox", [](ui::Form& form) {
    scripted::Type(form, u"txtCaption", u"Left over");
    scripted::Click(form, u"chkChecked");
    TypeOn(form, u"txtName", u"One");
    scripted::Click(form, u"CancelButton");
  });
  home.toolkit.Once(u"frmCheckBox", [](ui::Form& form) {
    EXPECT_EQ(Field<ui::TextBox>(form, u"txtName").text(), u"chk");
    EXPECT_EQ(Field<ui::TextBox>(form, u"txtCaption").text(), u"");
    EXPECT_EQ(Field<ui::CheckBox>(form, u"chkChecked").value(), 0);
  });
  vbe->PlaceControl(kForm, u"CheckBox");
  vbe->PlaceControl(kForm, u"CheckBox");
  EXPECT_EQ(Shown().size(), 2u);
  EXPECT_TRUE(Writes().empty());
}

}  // namespace
}  // namespace ravlen_test
