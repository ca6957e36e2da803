#include <gtest/gtest.h>

#include "framework/connect.h"
#include "hosts/memory/memory_host.h"
#include "property_generator/connect.h"
#include "support/connected.h"
#include "support/module_structure.h"

namespace {

using memhost::HostBuilder;
using memhost::Lines;
using scripted::MessageBox;
using vb::Text;

constexpr const char16_t* kEntry = u"Add New &Property";

class QuenbyTest : public testing_support::AddInTest<quenby::Connect> {
 protected:
  // Fills the dialog as a person would and presses OK.
  static scripted::ScriptedToolkit::Answer Fill(Text name, Text type, const char16_t* option, bool useSet) {
    return [=](ui::Form& f) {
      scripted::Type(f, u"txtPropName", name);
      scripted::Type(f, u"cmbType", type);
      if (option) scripted::Click(f, option);
      if (useSet) scripted::SetCheck(f, u"chkUseSet", 1);
      scripted::Click(f, u"OKButton");
    };
  }
};

TEST_F(QuenbyTest, CountLongPublicReadWritesTheWholeProperty) {
  Connect(HostBuilder().project(u"Project1").classModule(u"Class1", u"Option Explicit").activePane(u"Class1").build());
  home.toolkit.On(u"frmAddIn", Fill(u"Count", u"Long", u"optPublicRead", false));

  vbe->Click(u"Add-Ins", kEntry);

  EXPECT_EQ(vbe->Code(u"Class1"), Lines({u"Option Explicit",
                                         u"Private propCount As Long",
                                         u"Public Property Get Count() As Long",
                                         u"\tCount = propCount",
                                         u"End Property",
                                         u"",
                                         u"Private Property Let Count (ByVal value as Long)",
                                         u"\tpropCount = value",
                                         u"End Property",
                                         u""}));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
  EXPECT_TRUE(home.toolkit.messages().empty());
  EXPECT_FALSE(connect.dialog()->loaded());
}

TEST_F(QuenbyTest, UseSetWritesSetProcedureAndSetAssignments) {
  Connect(HostBuilder().project(u"Project1").form(u"Form1").activePane(u"Form1").build());
  home.toolkit.On(u"frmAddIn", Fill(u"Target", u"Object", u"optPublic", true));

  vbe->Click(u"Code Window", kEntry);

  EXPECT_EQ(vbe->Code(u"Form1"), Lines({u"Private propTarget As Object",
                                        u"Public Property Get Target() As Object",
                                        u"\tSet Target = propTarget",
                                        u"End Property",
                                        u"",
                                        u"Public Property Set Target (ByVal value as Object)",
                                        u"\tSet propTarget = value",
                                        u"End Property",
                                        u""}));
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
}

TEST_F(QuenbyTest, ScopeOptionsGiveTheirPrefixes) {
  struct Case {
    const char16_t* option;
    Text getLine;
    Text letLine;
  };
  const Case cases[] = {
      {u"optPublic", u"Public Property Get P() As Long", u"Public Property Let P (ByVal value as Long)"},
      {u"optPrivate", u"Private Property Get P() As Long", u"Private Property Let P (ByVal value as Long)"},
      {u"optFriend", u"Friend Property Get P() As Long", u"Friend Property Let P (ByVal value as Long)"},
      {u"optPublicRead", u"Public Property Get P() As Long", u"Private Property Let P (ByVal value as Long)"},
  };
  Connect(HostBuilder().project(u"Project1").classModule(u"Class1").activePane(u"Class1").build());
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.option));
    vbe->SetCode(u"Class1", u"");
    home.toolkit.Once(u"frmAddIn", Fill(u"P", u"Long", c.option, false));
    vbe->Click(u"Add-Ins", kEntry);
    EXPECT_EQ(vbe->Code(u"Class1"), Lines({u"Private propP As Long", c.getLine, u"\tP = propP", u"End Property", u"",
                                           c.letLine, u"\tpropP = value", u"End Property", u""}));
    EXPECT_TRUE(testing_support::SoundStructure(vbe));
  }
}

TEST_F(QuenbyTest, BlankTypeBecomesVariantAndSurroundingBlanksAreKept) {
  Connect(HostBuilder().project(u"Project1").module(u"Module1").activePane(u"Module1").build());
  home.toolkit.Once(u"frmAddIn", Fill(u"A", u"   ", nullptr, false));
  vbe->Click(u"Add-Ins", kEntry);
  EXPECT_EQ(vb::SplitLines(vbe->Code(u"Module1")).front(), u"Private propA As Variant");
  EXPECT_TRUE(testing_support::SoundStructure(vbe));

  vbe->SetCode(u"Module1", u"");
  home.toolkit.Once(u"frmAddIn", Fill(u"B", u" Long ", nullptr, false));
  vbe->Click(u"Add-Ins", kEntry);
  EXPECT_EQ(vb::SplitLines(vbe->Code(u"Module1")).front(), u"Private propB As  Long ");
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
}

TEST_F(QuenbyTest, EmptyNameAndTypeWithNoOptionSet) {
  Connect(HostBuilder().project(u"Project1").module(u"Module1").activePane(u"Module1").build());
  home.toolkit.On(u"frmAddIn", [](ui::Form& f) {
    f.Find<ui::OptionButton>(u"optPublic")->SetValue(false);
    scripted::Click(f, u"OKButton");
  });

  vbe->Click(u"Add-Ins", kEntry);

  EXPECT_EQ(vbe->Code(u"Module1"), Lines({u"Private prop As Variant",
                                          u"Property Get () As Variant",
                                          u"\t = prop",
                                          u"End Property",
                                          u"",
                                          u"Property Let  (ByVal value as Variant)",
                                          u"\tprop = value",
                                          u"End Property",
                                          u""}));
}

TEST_F(QuenbyTest, TypeListOffersClassModulesAfterVariantInProjectOrder) {
  Connect(HostBuilder()
              .project(u"Project1")
              .classModule(u"Zebra")
              .module(u"Module1")
              .form(u"Form1")
              .classModule(u"Apple")
              .activePane(u"Module1")
              .build());
  std::vector<Text> items;
  auto record = [&items](ui::Form& f) {
    auto* combo = f.Find<ui::ComboBox>(u"cmbType");
    items.clear();
    for (int i = 0; i < combo->listCount(); ++i) items.push_back(combo->List(i));
    scripted::Click(f, u"CancelButton");
  };
  home.toolkit.On(u"frmAddIn", record);

  vbe->Click(u"Add-Ins", kEntry);
  const std::vector<Text> expected{u"Byte",   u"Boolean", u"Date",   u"Decimal", u"Double",  u"Float", u"Integer",
                                   u"Long",   u"Object",  u"String", u"Time",    u"Variant", u"Zebra", u"Apple"};
  EXPECT_EQ(items, expected);

  // Cancel unloads the dialog; loading it again lists the classes once, not twice.
  vbe->Click(u"Add-Ins", kEntry);
  EXPECT_EQ(items, expected);
  EXPECT_EQ(vbe->Code(u"Module1"), u"");
}

TEST_F(QuenbyTest, NoCodePaneShowsMessageAndNoDialog) {
  Connect(HostBuilder().project(u"Project1").module(u"Module1").build());

  vbe->Click(u"Add-Ins", kEntry);

  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.toolkit.messages()[0],
            (MessageBox{u"You must be in the code pane where you want to add the new property", ui::vbInformation,
                        u"No Code Pane Available"}));
  EXPECT_TRUE(home.toolkit.shownForms().empty());
}

TEST_F(QuenbyTest, OkWritesIntoThePaneActiveAtOk) {
  Connect(HostBuilder()
              .project(u"Project1")
              .classModule(u"First", u"Option Explicit")
              .classModule(u"Second", u"Option Explicit")
              .activePane(u"First")
              .build());
  vbe->Click(u"Add-Ins", kEntry);
  ui::Form* dialog = home.toolkit.OpenForm(u"frmAddIn");
  ASSERT_NE(dialog, nullptr);

  vbe->SetActivePane(u"Second");
  scripted::Type(*dialog, u"txtPropName", u"Size");
  scripted::Type(*dialog, u"cmbType", u"Integer");
  scripted::Click(*dialog, u"OKButton");

  EXPECT_EQ(vbe->Code(u"First"), u"Option Explicit");
  EXPECT_EQ(vb::SplitLines(vbe->Code(u"Second"))[1], u"Private propSize As Integer");
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
  EXPECT_EQ(home.toolkit.OpenForm(u"frmAddIn"), nullptr);
}

TEST_F(QuenbyTest, OneModelessDialogIsShownAgainAsItIs) {
  Connect(HostBuilder().project(u"Project1").module(u"Module1").activePane(u"Module1").build());
  vbe->Click(u"Add-Ins", kEntry);
  ui::Form* first = home.toolkit.OpenForm(u"frmAddIn");
  ASSERT_NE(first, nullptr);
  scripted::Type(*first, u"txtPropName", u"Half");

  vbe->Click(u"Code Window", kEntry);

  EXPECT_EQ(home.toolkit.OpenForm(u"frmAddIn"), first);
  EXPECT_EQ(first->Find<ui::TextBox>(u"txtPropName")->text(), u"Half");
}

TEST_F(QuenbyTest, OkWithoutActivePaneKeepsTheDialogAndSaysWhy) {
  Connect(HostBuilder().project(u"Project1").module(u"Module1").activePane(u"Module1").build());
  vbe->Click(u"Add-Ins", kEntry);
  ui::Form* dialog = home.toolkit.OpenForm(u"frmAddIn");
  ASSERT_NE(dialog, nullptr);

  vbe->ClearActivePane();
  scripted::Click(*dialog, u"OKButton");

  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.toolkit.messages()[0].title, u"No Code Pane Available");
  EXPECT_EQ(home.toolkit.OpenForm(u"frmAddIn"), dialog);
  EXPECT_EQ(vbe->Code(u"Module1"), u"");
}

TEST_F(QuenbyTest, FailureDuringOkIsReportedAndEarlierTextsStay) {
  Connect(HostBuilder().project(u"Project1").module(u"Module1").activePane(u"Module1").build());
  vbe->InjectFailure("CodeModule.AddFromString", 2, 40198, u"Can't edit module");
  home.toolkit.On(u"frmAddIn", Fill(u"N", u"Long", nullptr, false));

  vbe->Click(u"Add-Ins", kEntry);

  EXPECT_EQ(vbe->Code(u"Module1"), u"Private propN As Long");
  EXPECT_TRUE(testing_support::SoundStructure(vbe));
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.toolkit.messages()[0],
            (MessageBox{u"The following error occurred : Can't edit module", ui::vbInformation, u"Error Occurred"}));
}

}  // namespace
