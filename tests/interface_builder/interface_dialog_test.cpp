// The interface dialog, driven through the menu entry.
#include "morrowgate_fixture.h"
#include "support/module_structure.h"

namespace morrowgate_test {
namespace {

using memhost::HostBuilder;
using memhost::Lines;

const Text kDrawStub = SubStub(u"IShape", u"Draw");

// IShape with one method, IColor with one variable of a built-in type: short, known stubs.
HostBuilder Shapes(const Text& circleCode) {
  HostBuilder builder;
  builder.project(u"Project1")
      .classModule(u"IShape", Lines({u"Public Sub Draw()", u"End Sub"}))
      .module(u"Module1", u"Public Sub Main()\r\nEnd Sub")
      .classModule(u"IColor", u"Public Shade As Long")
      .form(u"Form1")
      .classModule(u"Circle", circleCode)
      .userControl(u"Dial")
      .project(u"Lib")
      .classModule(u"IBase")
      .classModule(u"Circle");
  return builder;
}

const Text kShadeStubs =
    u"Private Property Get IColor_Shade () As Long\r\n\t' put your code here to return the Shade property\r\n\r\nEnd "
    u"Property\r\n\r\n\r\nPrivate Property Let IColor_Shade (byval RHS as Long)\r\n\t' put your code here to store the "
    u"variable passed in\r\n\r\nEnd Property\r\n\r\n\r\n";

// Code as the module holds it: the stubs' last line break ends their last line.
Text Module(std::initializer_list<Text> parts) {
  Text code;
  for (const Text& part : parts) code += part;
  if (vb::EndsWith(code, u"\r\n")) code.resize(code.size() - 2);
  return code;
}

TEST_F(MorrowgateTest, FillsBothListsAndPreselectsTheActivePanesComponent) {
  Connect(Shapes(u"Option Explicit").activePane(u"Project1.Circle").build());
  morrowgate::frmAddIn& dialog = OpenDialog();
  EXPECT_EQ(dialog.caption(), u"Add Interface(s) to Component");
  EXPECT_EQ(ComboEntries(dialog), (std::vector<Text>{u"Project1.IShape", u"Project1.IColor", u"Project1.Form1",
                                                     u"Project1.Circle", u"Project1.Dial", u"Lib.IBase", u"Lib.Circle"}));
  EXPECT_EQ(ListEntries(dialog), (std::vector<Text>{u"Lib.Circle", u"Lib.IBase", u"Project1.Circle", u"Project1.IColor",
                                                    u"Project1.IShape"}));
  EXPECT_EQ(dialog.lstClasses.selCount(), 0);
  EXPECT_EQ(dialog.cboClasses.text(), u"Project1.Circle");
  EXPECT_EQ(dialog.cboClasses.listIndex(), 3);
  EXPECT_TRUE(connect.FormDisplayed);
}

TEST_F(MorrowgateTest, PreselectionFollowsTheActivePane) {
  struct Case {
    const char* what;
    std::function<void(memhost::MemoryVBE&)> arrange;
    Text text;
  };
  const std::vector<Case> cases = {
      {"no active pane: the first entry", [](memhost::MemoryVBE& host) { host.ClearActivePane(); }, u"Project1.IShape"},
      {"a pane of the second project", [](memhost::MemoryVBE& host) { host.SetActivePane(u"Lib.Circle"); },
       u"Lib.Circle"},
      {"a standard module has no entry", [](memhost::MemoryVBE& host) { host.SetActivePane(u"Module1"); }, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Connect(Shapes(u"").build());
    c.arrange(*vbe);
    morrowgate::frmAddIn& dialog = OpenDialog();
    EXPECT_EQ(dialog.cboClasses.text(), c.text);
    scripted::Click(dialog, u"cmdOK");
    Disconnect(0);
  }
}

TEST_F(MorrowgateTest, TheImplementsLineGoesAfterLeadingOptionLines) {
  struct Case {
    const char* what;
    Text before;
    Text after;
  };
  const Text implementsLine = u"\r\nImplements Project1.IShape\r\n";
  const std::vector<Case> cases = {
      {"after Option lines", Lines({u"Option Explicit", u"Option Compare Text", u"Private mRadius As Double"}),
       Module({u"Option Explicit\r\nOption Compare Text\r\n", implementsLine, u"Private mRadius As Double\r\n", kDrawStub})},
      {"before a first comment line", Lines({u"' A circle", u"Option Explicit", u"Private mRadius As Double"}),
       Module({implementsLine, u"' A circle\r\nOption Explicit\r\nPrivate mRadius As Double\r\n", kDrawStub})},
      {"before a first empty line", Lines({u"", u"Private mRadius As Double"}),
       Module({implementsLine, u"\r\nPrivate mRadius As Double\r\n", kDrawStub})},
      {"\"option\" in other letter case is no Option line", Lines({u"option explicit"}),
       Module({implementsLine, u"option explicit\r\n", kDrawStub})},
      {"at the end of a module of Option lines only", u"Option Explicit",
       Module({u"Option Explicit\r\n", implementsLine, kDrawStub})},
      {"in an empty module", u"", Module({implementsLine, kDrawStub})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Connect(Shapes(c.before).activePane(u"Project1.Circle").build());
    morrowgate::frmAddIn& dialog = OpenDialog();
    Tick(dialog, u"Project1.IShape");
    scripted::Click(dialog, u"cmdOK");
    EXPECT_EQ(vbe->Code(u"Circle"), c.after);
    EXPECT_TRUE(testing_support::SoundStructure(vbe));
    EXPECT_EQ(home.toolkit.OpenForm(u"frmAddIn"), nullptr) << "OK closes the dialog";
    EXPECT_TRUE(home.toolkit.messages().empty());
    Disconnect(0);
  }
}

TEST_F(MorrowgateTest, TwoInterfacesAreProcessedAlphabetically) {
  Connect(Shapes(Lines({u"Option Explicit", u"Private mRadius As Double"})).activePane(u"Project1.Circle").build());
  morrowgate::frmAddIn& dialog = OpenDialog();
  Tick(dialog, u"Project1.IShape");
  Tick(dialog, u"Project1.IColor");
  scripted::Click(dialog, u"cmdOK");
  // IColor first: its Implements line ends up below IShape's, and its stubs went in first, at
  // the end; IShape's stubs were then placed by the IDE after the declarations.
  EXPECT_EQ(vbe->Code(u"Circle"),
            Module({u"Option Explicit\r\n\r\nImplements Project1.IShape\r\n\r\nImplements Project1.IColor\r\n"
                    u"Private mRadius As Double\r\n",
                    kDrawStub, kShadeStubs}));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
}

TEST_F(MorrowgateTest, TheImplementingClassIsNeverItsOwnInterface) {
  Connect(Shapes(u"Option Explicit").activePane(u"Project1.Circle").build());
  morrowgate::frmAddIn& dialog = OpenDialog();
  Tick(dialog, u"Project1.Circle");
  Tick(dialog, u"Project1.IShape");
  scripted::Click(dialog, u"cmdOK");
  EXPECT_EQ(vbe->Code(u"Circle"), Module({u"Option Explicit\r\n\r\nImplements Project1.IShape\r\n", kDrawStub}));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
}

TEST_F(MorrowgateTest, InterfacesFromAnotherProjectAndAFormAsImplementer) {
  Connect(Shapes(u"").build());
  vbe->SetCode(u"Lib.IBase", u"Public Sub Init()\r\nEnd Sub");
  morrowgate::frmAddIn& dialog = OpenDialog();
  ASSERT_TRUE(dialog.cboClasses.Choose(u"Project1.Form1"));
  Tick(dialog, u"Lib.IBase");
  scripted::Click(dialog, u"cmdOK");
  EXPECT_EQ(vbe->Code(u"Form1"), Module({u"\r\nImplements Lib.IBase\r\n", SubStub(u"IBase", u"Init")}));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
}

TEST_F(MorrowgateTest, WithoutAChosenComponentOkWritesNothing) {
  struct Case {
    const char* what;
    Text typed;  // empty: nothing selected at all
  };
  const Case cases[] = {{"nothing selected", u""}, {"typed text that names no entry", u"Circle"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Connect(Shapes(u"Option Explicit").activePane(u"Project1.Module1").build());
    morrowgate::frmAddIn& dialog = OpenDialog();
    ASSERT_EQ(dialog.cboClasses.listIndex(), -1);
    if (!c.typed.empty()) scripted::Type(dialog, u"cboClasses", c.typed);
    Tick(dialog, u"Project1.IShape");
    scripted::Click(dialog, u"cmdOK");
    EXPECT_EQ(vbe->Code(u"Circle"), u"Option Explicit");
    EXPECT_EQ(vbe->Code(u"Module1"), u"Public Sub Main()\r\nEnd Sub");
    EXPECT_EQ(home.toolkit.OpenForm(u"frmAddIn"), nullptr);
    EXPECT_TRUE(home.toolkit.messages().empty());
    Disconnect(0);
  }
}

TEST_F(MorrowgateTest, TypingAFullEntryChoosesIt) {
  Connect(Shapes(u"Option Explicit").activePane(u"Project1.Module1").build());
  morrowgate::frmAddIn& dialog = OpenDialog();
  scripted::Type(dialog, u"cboClasses", u"Project1.Circle");
  Tick(dialog, u"Project1.IShape");
  scripted::Click(dialog, u"cmdOK");
  EXPECT_EQ(vbe->Code(u"Circle"), Module({u"Option Explicit\r\n\r\nImplements Project1.IShape\r\n", kDrawStub}));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
}

TEST_F(MorrowgateTest, AFailureMidwayIsReportedAndKeepsWhatWasWritten) {
  Connect(Shapes(u"Option Explicit").activePane(u"Project1.Circle").build());
  morrowgate::frmAddIn& dialog = OpenDialog();
  Tick(dialog, u"Project1.IColor");
  Tick(dialog, u"Project1.IShape");
  vbe->InjectFailure("CodeModule.AddFromString", 2, 40198, u"Can't edit module");
  scripted::Click(dialog, u"cmdOK");
  EXPECT_EQ(home.toolkit.messages(),
            (std::vector<scripted::MessageBox>{
                {u"The following error occurred : Can't edit module", ui::vbInformation, u"Error Occurred"}}));
  // IColor is complete; IShape's stubs failed, and its Implements line, which comes after them,
  // was never written: the module still compiles.
  EXPECT_EQ(vbe->Code(u"Circle"), Module({u"Option Explicit\r\n\r\nImplements Project1.IColor\r\n", kShadeStubs}));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
  // The dialog stays open with the choice made.
  EXPECT_EQ(home.toolkit.OpenForm(u"frmAddIn"), &dialog);
  EXPECT_EQ(dialog.lstClasses.selCount(), 2);
}

TEST_F(MorrowgateTest, AReadOnlyModuleIsReportedAndNothingIsWritten) {
  Connect(Shapes(u"Option Explicit").activePane(u"Project1.Circle").build());
  vbe->SetReadOnly(u"Circle", true);
  morrowgate::frmAddIn& dialog = OpenDialog();
  Tick(dialog, u"Project1.IShape");
  scripted::Click(dialog, u"cmdOK");
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.toolkit.messages()[0].prompt, u"The following error occurred : Can't edit module");
  EXPECT_EQ(vbe->Code(u"Circle"), u"Option Explicit");
}

TEST_F(MorrowgateTest, AnUnknownPropertyTypeIsAskedDuringOk) {
  Connect(Shapes(u"Option Explicit").activePane(u"Project1.Circle").build());
  vbe->SetCode(u"Lib.IBase", u"Public Parent As Shape");
  home.toolkit.Once(u"frmPropertyDetermine", [](ui::Form& form) {
    scripted::Click(form, u"optProperty");  // the first of the array: Let
    scripted::Click(form, u"cmdOK");
  });
  morrowgate::frmAddIn& dialog = OpenDialog();
  Tick(dialog, u"Lib.IBase");
  scripted::Click(dialog, u"cmdOK");
  EXPECT_EQ(vbe->Code(u"Circle"),
            Module({u"Option Explicit\r\n\r\nImplements Lib.IBase\r\n",
                    u"Private Property Get IBase_Parent () As Shape\r\n\t' put your code here to return the Parent "
                    u"property\r\n\r\nEnd Property\r\n\r\n\r\nPrivate Property Let IBase_Parent (byval RHS as "
                    u"Shape)\r\n\t' put your code here to store the variable passed in\r\n\r\nEnd Property\r\n\r\n\r\n"}));
  EXPECT_EQ(home.toolkit.shownForms(), (std::vector<Text>{u"frmAddIn", u"frmPropertyDetermine"}));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
}

TEST_F(MorrowgateTest, AnotherActivationAddsOnlyWhatIsNew) {
  Connect(Shapes(u"Option Explicit").activePane(u"Project1.Circle").build());
  morrowgate::frmAddIn& dialog = OpenDialog();
  Tick(dialog, u"Project1.IShape");
  vbe->AddComponent(u"ISize", host::vbext_ct_ClassModule, Text(u"Public Sub Grow()\r\nEnd Sub"));
  dialog.Activate();
  EXPECT_EQ(ListEntries(dialog), (std::vector<Text>{u"Lib.Circle", u"Lib.IBase", u"Project1.Circle",
                                                    u"Project1.IColor", u"Project1.IShape", u"Project1.ISize"}));
  EXPECT_EQ(ComboEntries(dialog).size(), 8u);
  EXPECT_EQ(dialog.lstClasses.selCount(), 1);
  EXPECT_TRUE(dialog.lstClasses.Selected(dialog.lstClasses.FindRow(u"Project1.IShape")));
}

TEST_F(MorrowgateTest, TheDialogIsKeptAndRefilledForTheNextUse) {
  Connect(Shapes(u"Option Explicit").activePane(u"Project1.Circle").build());
  morrowgate::frmAddIn& first = OpenDialog();
  Tick(first, u"Project1.IShape");
  scripted::Click(first, u"cmdOK");
  morrowgate::frmAddIn& second = OpenDialog();
  EXPECT_EQ(&second, &first);
  EXPECT_EQ(ListEntries(second).size(), 5u);
  EXPECT_EQ(second.lstClasses.selCount(), 0);
  EXPECT_EQ(second.cboClasses.text(), u"Project1.Circle");
}

TEST_F(MorrowgateTest, EntryHideAndDisconnection) {
  auto host = Shapes(u"").build();
  std::vector<Text> before = host->Captions(u"Add-Ins");
  Connect(host);
  std::vector<Text> after = before;
  after.push_back(kEntry);
  EXPECT_EQ(vbe->Captions(u"Add-Ins"), after);

  OpenDialog();
  connect.Hide();
  EXPECT_FALSE(connect.FormDisplayed);
  EXPECT_EQ(home.toolkit.OpenForm(u"frmAddIn"), nullptr);

  Disconnect(0);
  EXPECT_EQ(vbe->Captions(u"Add-Ins"), before);
  EXPECT_EQ(vbe->ClickSinkCount(), 0);
  EXPECT_EQ(connect.mainDialog(), nullptr);
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST_F(MorrowgateTest, ExternalConnectionCreatesNoEntry) {
  auto host = Shapes(u"").build();
  std::vector<Text> before = host->Captions(u"Add-Ins");
  Connect(host, addin::ext_cm_External);
  EXPECT_EQ(vbe->Captions(u"Add-Ins"), before);
}

}  // namespace
}  // namespace morrowgate_test
