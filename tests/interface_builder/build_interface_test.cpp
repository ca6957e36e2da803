// The procedures written for an interface class, compared whole.
#include "morrowgate_fixture.h"

#include "interface_builder/frm_property_determine.h"

namespace morrowgate_test {
namespace {

using memhost::HostBuilder;
using memhost::Lines;

Text Get(const Text& i, const Text& n, const Text& t) {
  return u"Private Property Get " + i + u"_" + n + u" () As " + t + u"\r\n\t' put your code here to return the " + n +
         u" property\r\n\r\nEnd Property\r\n\r\n\r\n";
}
Text Let(const Text& i, const Text& n, const Text& parameter) {
  return u"Private Property Let " + i + u"_" + n + u" (" + parameter +
         u")\r\n\t' put your code here to store the variable passed in\r\n\r\nEnd Property\r\n\r\n\r\n";
}
Text Set(const Text& i, const Text& n, const Text& parameter) {
  return u"Private Property Set " + i + u"_" + n + u" (" + parameter +
         u")\r\n\t' put your code here to store the object\r\n\r\nEnd Property\r\n\r\n\r\n";
}

class BuildInterfaceTest : public MorrowgateTest {
 protected:
  Text BuildFrom(const Text& code) {
    Connect(HostBuilder().project(u"Project1").classModule(u"IShape", code).build());
    return Build(u"Project1", u"IShape");
  }
  // Every question asked: the caption of lblVarType when the dialog showed.
  std::vector<Text> questions;
  void AnswerQuestions(int option) {
    home.toolkit.On(u"frmPropertyDetermine", [this, option](ui::Form& form) {
      auto& dialog = dynamic_cast<morrowgate::frmPropertyDetermine&>(form);
      questions.push_back(dialog.lblVarType.caption());
      if (option > 0) dialog.optPropertyItem(option).Click();
      scripted::Click(form, u"cmdOK");
    });
  }
};

TEST_F(BuildInterfaceTest, AVariableAndAFunction) {
  EXPECT_EQ(BuildFrom(Lines({u"Public Area As Double", u"Public Function Scale(ByVal f As Double) As Boolean",
                             u"End Function"})),
            Crlf({u"Private Property Get IShape_Area () As Double",
                  u"\t' put your code here to return the Area property",
                  u"",
                  u"End Property",
                  u"",
                  u"",
                  u"Private Property Let IShape_Area (byval RHS as Double)",
                  u"\t' put your code here to store the variable passed in",
                  u"",
                  u"End Property",
                  u"",
                  u"",
                  u"Private Function IShape_Scale(ByVal f As Double) As Boolean",
                  u"\t' place your code here",
                  u"",
                  u"End Function",
                  u"",
                  u""}));
}

TEST_F(BuildInterfaceTest, VariablesByDeclaredType) {
  struct Case {
    Text declaration;
    Text expected;
  };
  std::vector<Case> cases = {
      {u"Public Anything", Get(u"IShape", u"Anything", u"Variant") + Let(u"IShape", u"Anything", u" RHS as Variant") +
                               Set(u"IShape", u"Anything", u" RHS as Variant")},
      {u"Public Anything As Variant", Get(u"IShape", u"Anything", u"Variant") +
                                          Let(u"IShape", u"Anything", u" RHS as Variant") +
                                          Set(u"IShape", u"Anything", u" RHS as Variant")},
      {u"Public Owner As Object", Get(u"IShape", u"Owner", u"Object") + Set(u"IShape", u"Owner", u"byval RHS as Object")},
      {u"Public   Padded As   Long   ", Get(u"IShape", u"Padded", u"Long") + Let(u"IShape", u"Padded", u"byval RHS as Long")},
  };
  for (const char16_t* type :
       {u"Boolean", u"Byte", u"Currency", u"Date", u"Double", u"Integer", u"Long", u"Single", u"String"})
    cases.push_back({u"Public Value As " + Text(type),
                     Get(u"IShape", u"Value", type) + Let(u"IShape", u"Value", u"byval RHS as " + Text(type))});
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.declaration));
    EXPECT_EQ(BuildFrom(c.declaration), c.expected);
  }
  EXPECT_TRUE(home.toolkit.shownForms().empty()) << "no built-in type asks";
}

TEST_F(BuildInterfaceTest, AnUnknownTypeIsAskedWithItsWholeTypeText) {
  AnswerQuestions(0);  // OK without touching the options
  EXPECT_EQ(BuildFrom(u"Public Count As Long ' items"),
            Get(u"IShape", u"Count", u"Long ' items") + Let(u"IShape", u"Count", u"byval RHS as Long ' items"));
  EXPECT_EQ(questions, std::vector<Text>{u"Unknown Data Type: Long ' items"});
}

TEST_F(BuildInterfaceTest, TheAnswerChoosesTheWriteProcedures) {
  const Text code = Lines({u"Public Shape As Polygon", u"Public Lower As long"});
  struct Case {
    int option;
    Text expected;
  };
  const Case cases[] = {
      {1, Get(u"IShape", u"Shape", u"Polygon") + Let(u"IShape", u"Shape", u"byval RHS as Polygon") +
              Get(u"IShape", u"Lower", u"long") + Let(u"IShape", u"Lower", u"byval RHS as long")},
      {2, Get(u"IShape", u"Shape", u"Polygon") + Set(u"IShape", u"Shape", u"byval RHS as Polygon") +
              Get(u"IShape", u"Lower", u"long") + Set(u"IShape", u"Lower", u"byval RHS as long")},
      {3, Get(u"IShape", u"Shape", u"Polygon") + Let(u"IShape", u"Shape", u"byval RHS as Polygon") +
              Set(u"IShape", u"Shape", u"byval RHS as Polygon") + Get(u"IShape", u"Lower", u"long") +
              Let(u"IShape", u"Lower", u"byval RHS as long") + Set(u"IShape", u"Lower", u"byval RHS as long")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    questions.clear();
    AnswerQuestions(c.option);
    EXPECT_EQ(BuildFrom(code), c.expected);
    // Type names compare with letter case: "long" is not "Long".
    EXPECT_EQ(questions, (std::vector<Text>{u"Unknown Data Type: Polygon", u"Unknown Data Type: long"}));
  }
}

TEST_F(BuildInterfaceTest, TheQuestionRemembersItsLastAnswer) {
  Connect(HostBuilder()
              .project(u"Project1")
              .classModule(u"IFirst", u"Public Pen As Brush")
              .classModule(u"ISecond", u"Public Ink As Brush")
              .build());
  home.toolkit.Once(u"frmPropertyDetermine", [](ui::Form& form) {
    auto& dialog = dynamic_cast<morrowgate::frmPropertyDetermine&>(form);
    EXPECT_TRUE(dialog.optPropertyItem(1).value()) << "Let is offered first";
    EXPECT_EQ(dialog.PropertyType(), 1);
    dialog.optPropertyItem(2).Click();
    scripted::Click(form, u"cmdOK");
  });
  EXPECT_EQ(Build(u"Project1", u"IFirst"), Get(u"IFirst", u"Pen", u"Brush") + Set(u"IFirst", u"Pen", u"byval RHS as Brush"));

  bool setStillChosen = false;
  home.toolkit.Once(u"frmPropertyDetermine", [&](ui::Form& form) {
    auto& dialog = dynamic_cast<morrowgate::frmPropertyDetermine&>(form);
    setStillChosen = dialog.optPropertyItem(2).value() && !dialog.optPropertyItem(1).value();
    EXPECT_EQ(dialog.lblVarType.caption(), u"Unknown Data Type: Brush");
    scripted::Click(form, u"cmdOK");
  });
  EXPECT_EQ(Build(u"Project1", u"ISecond"),
            Get(u"ISecond", u"Ink", u"Brush") + Set(u"ISecond", u"Ink", u"byval RHS as Brush"));
  EXPECT_TRUE(setStillChosen);
  EXPECT_EQ(home.toolkit.shownForms(), (std::vector<Text>{u"frmPropertyDetermine", u"frmPropertyDetermine"}));
}

TEST_F(BuildInterfaceTest, MethodHeadersKeepEverythingAfterTheName) {
  struct Case {
    Text code;
    Text expected;
  };
  const Case cases[] = {
      {Lines({u"Public Sub Draw(ByVal x As Long, Optional y As Long = 2)", u"End Sub"}),
       u"Private Sub IShape_Draw(ByVal x As Long, Optional y As Long = 2)\r\n\t' place your code here\r\n\r\nEnd "
       u"Sub\r\n\r\n\r\n"},
      // A name that also occurs earlier in the line.
      {Lines({u"Public Sub Pub()", u"End Sub"}), SubStub(u"IShape", u"Pub")},
      {Lines({u"Public Function Fun() As Long", u"End Function"}),
       u"Private Function IShape_Fun() As Long\r\n\t' place your code here\r\n\r\nEnd Function\r\n\r\n\r\n"},
      {Lines({u"Function Public1(ByVal Public1x As Long) As String ' old", u"End Function"}),
       u"Private Function IShape_Public1(ByVal Public1x As Long) As String ' old\r\n\t' place your code here\r\n\r\nEnd "
       u"Function\r\n\r\n\r\n"},
      {Lines({u"Public Static Function Counter() As Long", u"End Function"}),
       u"Private Function IShape_Counter() As Long\r\n\t' place your code here\r\n\r\nEnd Function\r\n\r\n\r\n"},
      // Continued over several lines: the breaks and marks stay.
      {Lines({u"Public Function Area(ByVal w As Double, _", u"                     ByVal h As Double) _",
              u"                     As Double", u"End Function"}),
       u"Private Function IShape_Area(ByVal w As Double, _\r\n                     ByVal h As Double) _\r\n            "
       u"         As Double\r\n\t' place your code here\r\n\r\nEnd Function\r\n\r\n\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.code));
    EXPECT_EQ(BuildFrom(c.code), c.expected);
  }
}

TEST_F(BuildInterfaceTest, OnlyPublicMethodsAndVariablesGiveText) {
  EXPECT_EQ(BuildFrom(Lines({u"Option Explicit",
                             u"Private mHidden As Long",
                             u"Dim mAlsoHidden As String",
                             u"Friend Sub Helper()",
                             u"End Sub",
                             u"Private Function Secret() As Long",
                             u"End Function",
                             u"Public Event Changed()",
                             u"Public Const LIMIT As Long = 3",
                             u"Public Property Get Size() As Long",
                             u"End Property",
                             u"Public Property Let Size(ByVal v As Long)",
                             u"End Property",
                             u"Public Sub Draw()",
                             u"End Sub"})),
            SubStub(u"IShape", u"Draw"));
  EXPECT_EQ(BuildFrom(Lines({u"Private Sub Class_Initialize()", u"End Sub"})), u"");
}

TEST_F(BuildInterfaceTest, AnUnknownClassFailsWithTheHostsError) {
  Connect(HostBuilder().project(u"Project1").classModule(u"IShape", u"Public Sub Draw()\r\nEnd Sub").build());
  EXPECT_THROW(Build(u"Project1", u"IMissing"), vb::Error);
  EXPECT_THROW(Build(u"NoProject", u"IShape"), vb::Error);
}

}  // namespace
}  // namespace morrowgate_test
