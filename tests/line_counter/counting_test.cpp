// The component line counter, driven through its menu entry and dialogs.
#include "tallowick_fixture.h"

namespace tallowick_test {
namespace {

using memhost::HostBuilder;
using memhost::Lines;

TEST_F(TallowickTest, ClassifiesEachLineOfAModule) {
  struct Case {
    const char* what;
    Text code;
    std::vector<Text> row;
  };
  const std::vector<Case> cases = {
      {"empty module", u"", Row(u"Module1", 0, 0, 0)},
      {"declaration, indented comment, empty, spaces, Rem, code with comment",
       Lines({u"Dim x As Long", u"   ' the count", u"", u"    ", u"Rem old style", u"x = 1 ' start"}),
       Row(u"Module1", 3, 1, 2)},
      {"a tab is no blank", u"\t", Row(u"Module1", 1, 0, 0)},
      {"a tab before a comment is code", u"\t' note", Row(u"Module1", 1, 0, 0)},
      {"continued statement, each line by itself", Lines({u"x = 1 + _", u"    2", u"' done _", u"  "}),
       Row(u"Module1", 2, 1, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    home.toolkit.ClearMessages();
    Connect(HostBuilder().project(u"Project1").module(u"Module1", c.code).build());
    CountResult result = Count([](tallowick::frmAddIn& form) { Tick(form, u"Module1"); });
    ASSERT_TRUE(result.shown);
    EXPECT_EQ(result.rows, std::vector<std::vector<Text>>{c.row});
    EXPECT_EQ(result.codeTotal, u"Code Lines : " + c.row[1]);
    EXPECT_EQ(result.commentTotal, u"Comment Lines : " + c.row[2]);
    EXPECT_EQ(result.blankTotal, u"Blank Lines : " + c.row[3]);
    EXPECT_TRUE(home.toolkit.messages().empty());
    Disconnect(0);
  }
}

TEST_F(TallowickTest, ListsTheComponentsOfTheActiveProjectUnticked) {
  Connect(HostBuilder()
              .project(u"Project1")
              .module(u"Module1", u"x = 1")
              .classModule(u"Class1")
              .form(u"Form1")
              .project(u"Other")
              .module(u"Elsewhere")
              .build());
  std::vector<Text> names;
  int ticked = -1;
  Text caption;
  home.toolkit.Once(u"frmAddIn", [&](ui::Form& form) {
    auto& dialog = dynamic_cast<tallowick::frmAddIn&>(form);
    caption = form.caption();
    for (int i = 0; i < dialog.lstComponents.listCount(); ++i) names.push_back(dialog.lstComponents.List(i));
    ticked = dialog.lstComponents.selCount();
    scripted::Click(form, u"CancelButton");
  });
  vbe->Click(u"Add-Ins", kCounterEntry);
  EXPECT_EQ(caption, u"Component Line Counter");
  EXPECT_EQ(names, (std::vector<Text>{u"Module1", u"Class1", u"Form1"}));
  EXPECT_EQ(ticked, 0);
  // Cancel counts nothing, and the dialog is dropped when it closes.
  EXPECT_EQ(home.toolkit.shownForms(), std::vector<Text>{u"frmAddIn"});
  EXPECT_EQ(connect.mainDialog(), nullptr);
  EXPECT_TRUE(connect.FormDisplayed);
}

TEST_F(TallowickTest, SelectAllCountsEveryComponentWithTotals) {
  Connect(HostBuilder()
              .project(u"Project1")
              .module(u"Module1", Lines({u"Option Explicit", u"", u"' helpers", u"Sub Main()", u"End Sub"}))
              .classModule(u"Class1", Lines({u"Private m As Long", u"'", u"' two"}))
              .form(u"Form1", Lines({u"", u"", u"Private Sub Form_Load()", u"  Show", u"End Sub", u"   "}))
              .build());
  CountResult result = Count([](tallowick::frmAddIn& form) { scripted::Click(form, u"cmdSelectAll"); });
  ASSERT_TRUE(result.shown);
  EXPECT_EQ(result.rows, (std::vector<std::vector<Text>>{Row(u"Module1", 3, 1, 1), Row(u"Class1", 1, 2, 0),
                                                         Row(u"Form1", 3, 0, 3)}));
  EXPECT_EQ(result.codeTotal, u"Code Lines : 7");
  EXPECT_EQ(result.commentTotal, u"Comment Lines : 3");
  EXPECT_EQ(result.blankTotal, u"Blank Lines : 4");
}

TEST_F(TallowickTest, CountsOnlyTheTickedComponentsInListOrder) {
  Connect(HostBuilder()
              .project(u"Project1")
              .module(u"Module1", Lines({u"a = 1", u"b = 2"}))
              .module(u"Module2", Lines({u"' skipped"}))
              .classModule(u"Class1", Lines({u"", u"' c"}))
              .build());
  // Ticked last-first; rows still follow the list.
  CountResult result = Count([](tallowick::frmAddIn& form) {
    Tick(form, u"Class1");
    Tick(form, u"Module1");
  });
  EXPECT_EQ(result.rows, (std::vector<std::vector<Text>>{Row(u"Module1", 2, 0, 0), Row(u"Class1", 0, 1, 1)}));
  EXPECT_EQ(result.codeTotal, u"Code Lines : 2");
  EXPECT_EQ(result.commentTotal, u"Comment Lines : 1");
  EXPECT_EQ(result.blankTotal, u"Blank Lines : 1");
}

TEST_F(TallowickTest, NoComponentChosenShowsNoRowsAndZeroTotals) {
  Connect(HostBuilder().project(u"Project1").module(u"Module1", u"x = 1").build());
  CountResult result = Count([](tallowick::frmAddIn&) {});
  ASSERT_TRUE(result.shown);
  EXPECT_TRUE(result.rows.empty());
  EXPECT_EQ(result.codeTotal, u"Code Lines : 0");
  EXPECT_EQ(result.commentTotal, u"Comment Lines : 0");
  EXPECT_EQ(result.blankTotal, u"Blank Lines : 0");
  EXPECT_EQ(connect.mainDialog(), nullptr);
}

TEST_F(TallowickTest, AComponentWithoutCodeCountsZero) {
  Connect(HostBuilder()
              .project(u"Project1")
              .module(u"Module1", Lines({u"x = 1", u"", u"y = 2"}))
              .component(u"Resources", host::vbext_ct_ResFile, std::nullopt)
              .build());
  CountResult result = Count([](tallowick::frmAddIn& form) { scripted::Click(form, u"cmdSelectAll"); });
  ASSERT_TRUE(result.shown);
  EXPECT_EQ(result.rows, (std::vector<std::vector<Text>>{Row(u"Module1", 2, 0, 1), Row(u"Resources", 0, 0, 0)}));
  EXPECT_EQ(result.codeTotal, u"Code Lines : 2");
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(TallowickTest, ShowsTheHourglassWhileCountingAndYieldsPerLine) {
  Connect(HostBuilder().project(u"Project1").module(u"Module1", Lines({u"a", u"b", u"c"})).build());
  int yieldsBefore = home.toolkit.doEventsCount();
  Count([](tallowick::frmAddIn& form) { Tick(form, u"Module1"); });
  EXPECT_EQ(home.toolkit.mousePointers(), (std::vector<int>{ui::vbHourglass, ui::vbDefault}));
  EXPECT_EQ(home.toolkit.doEventsCount() - yieldsBefore, 3);
}

TEST_F(TallowickTest, ADialogClosedOrCancelledWhileCountingShowsNoResults) {
  // The count lets messages through: a person may close or cancel the dialog meanwhile.
  const std::vector<std::function<void(ui::Form&)>> actions = {
      [](ui::Form& form) { form.CloseBox(); },
      [](ui::Form& form) { scripted::Click(form, u"CancelButton"); },
  };
  Connect(HostBuilder().project(u"Project1").module(u"Module1", Lines({u"a", u"b"})).module(u"Module2", u"c").build());
  for (const auto& action : actions) {
    CountResult result = Count([&](tallowick::frmAddIn& form) {
      scripted::Click(form, u"cmdSelectAll");
      home.toolkit.OnDoEvents([&form, &action] { action(form); });
    });
    EXPECT_FALSE(result.shown);
    EXPECT_TRUE(home.toolkit.messages().empty());
    EXPECT_EQ(home.toolkit.mousePointers().back(), ui::vbDefault);
  }
}

TEST_F(TallowickTest, AFailedCountIsReportedAndShowsNoResults) {
  Connect(HostBuilder()
              .project(u"Project1")
              .module(u"Module1", Lines({u"a", u"b"}))
              .module(u"Module2", Lines({u"c"}))
              .build());
  vbe->InjectFailure("CodeModule.Lines", 2, 50001, u"The module cannot be read");
  CountResult result = Count([](tallowick::frmAddIn& form) { scripted::Click(form, u"cmdSelectAll"); });
  EXPECT_FALSE(result.shown);
  EXPECT_EQ(home.toolkit.messages(),
            (std::vector<scripted::MessageBox>{{u"The following error occurred : The module cannot be read",
                                                ui::vbInformation, u"Error Occurred"}}));
  // The pointer does not stay busy after the failure.
  EXPECT_EQ(home.toolkit.mousePointers(), (std::vector<int>{ui::vbHourglass, ui::vbDefault}));
  EXPECT_EQ(connect.mainDialog(), nullptr);
}

TEST_F(TallowickTest, ACountCanBeRetriedAfterAFailure) {
  Connect(HostBuilder().project(u"Project1").module(u"Module1", Lines({u"a", u"' b"})).build());
  vbe->InjectFailure("CodeModule.CountOfLines", 1, 50002, u"Busy");
  CountResult result;
  home.toolkit.Once(u"frmAddIn", [&](ui::Form& form) {
    Tick(dynamic_cast<tallowick::frmAddIn&>(form), u"Module1");
    scripted::Click(form, u"OKButton");  // fails, the selection stays
    home.toolkit.Once(u"frmResults", [&](ui::Form& results) {
      result.rows.push_back(dynamic_cast<tallowick::frmResults&>(results).lvResults.Row(1));
      scripted::Click(results, u"cmdOk");
    });
    scripted::Click(form, u"OKButton");
  });
  vbe->Click(u"Add-Ins", kCounterEntry);
  EXPECT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(result.rows, (std::vector<std::vector<Text>>{Row(u"Module1", 1, 1, 0)}));
}

}  // namespace
}  // namespace tallowick_test
