// The procedures written for an interface class, compared whole.
#include "morrowgate_fixture.h"

#include "interface_builder/frm_property_determine.h"
#include "support/module_structure.h"

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
  // The type ends where the variable's item ends: at a comment, a ":" or the next variable.
  cases.push_back({u"Public Count As Long ' items", Get(u"IShape", u"Count", u"Long") +
                                                        Let(u"IShape", u"Count", u"byval RHS as Long")});
  cases.push_back({u"Public Left As Single, Top As String: Public Data, [Type] As Integer",
                   Get(u"IShape", u"Left", u"Single") + Let(u"IShape", u"Left", u"byval RHS as Single") +
                       Get(u"IShape", u"Top", u"String") + Let(u"IShape", u"Top", u"byval RHS as String") +
                       Get(u"IShape", u"Data", u"Variant") + Let(u"IShape", u"Data", u" RHS as Variant") +
                       Set(u"IShape", u"Data", u" RHS as Variant") + Get(u"IShape", u"Type", u"Integer") +
                       Let(u"IShape", u"Type", u"byval RHS as Integer")});
  cases.push_back({u"Public Width As Long, _\r\n       Height$, Owner As Object ' parent",
                   Get(u"IShape", u"Width", u"Long") + Let(u"IShape", u"Width", u"byval RHS as Long") +
                       Get(u"IShape", u"Height", u"String") + Let(u"IShape", u"Height", u"byval RHS as String") +
                       Get(u"IShape", u"Owner", u"Object") + Set(u"IShape", u"Owner", u"byval RHS as Object")});
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

TEST_F(BuildInterfaceTest, TheAnswerChoosesTheWriteProcedures) {
  const Text code = Lines({u"Public Shape As Polygon", u"Public Items As New Collection ' created on first use",
                           u"Public Lower As long"});
  const std::pair<Text, Text> variables[] = {{u"Shape", u"Polygon"}, {u"Items", u"Collection"}, {u"Lower", u"long"}};
  for (int option : {1, 2, 3}) {
    SCOPED_TRACE(option);
    Text expected;
    for (const auto& [name, type] : variables) {
      expected += Get(u"IShape", name, type);
      if (option & 1) expected += Let(u"IShape", name, u"byval RHS as " + type);
      if (option & 2) expected += Set(u"IShape", name, u"byval RHS as " + type);
    }
    questions.clear();
    AnswerQuestions(option);
    EXPECT_EQ(BuildFrom(code), expected);
    // Type names compare with letter case: "long" is not "Long".
    EXPECT_EQ(questions, (std::vector<Text>{u"Unknown Data Type: Polygon", u"Unknown Data Type: Collection",
                                            u"Unknown Data Type: long"}));
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

Text Stub(const Text& header, const Text& comment, const Text& end) {
  return header + u"\r\n\t" + comment + u"\r\n\r\n" + end + u"\r\n\r\n\r\n";
}
Text SubStubWith(const Text& header) { return Stub(header, u"' place your code here", u"End Sub"); }
Text FunctionStub(const Text& header) { return Stub(header, u"' place your code here", u"End Function"); }

TEST_F(BuildInterfaceTest, ProcedureHeadersRepeatTheDeclaration) {
  struct Case {
    Text code;
    Text expected;
  };
  const Case cases[] = {
      {Lines({u"Public Sub Draw(ByVal x As Long, Optional y As Long = 2)", u"End Sub"}),
       SubStubWith(u"Private Sub IShape_Draw(ByVal x As Long, Optional y As Long = 2)")},
      // A name that also occurs earlier in the line.
      {Lines({u"Public Sub Pub()", u"End Sub"}), SubStub(u"IShape", u"Pub")},
      {Lines({u"Public Function Fun() As Long", u"End Function"}), FunctionStub(u"Private Function IShape_Fun() As Long")},
      // The header ends with the statement: a comment or a one-line procedure's End stays out.
      {Lines({u"Function Public1(ByVal Public1x As Long) As String ' old", u"End Function"}),
       FunctionStub(u"Private Function IShape_Public1(ByVal Public1x As Long) As String")},
      {u"Public Sub CopyTo(ByRef Arr As Variant, ByVal Index As Long): End Sub",
       SubStubWith(u"Private Sub IShape_CopyTo(ByRef Arr As Variant, ByVal Index As Long)")},
      {u"Public Function Compare(ByRef a As Variant, ByRef b As Variant) As Long: End Function",
       FunctionStub(u"Private Function IShape_Compare(ByRef a As Variant, ByRef b As Variant) As Long")},
      {u"Public Function Quote(Optional ByVal s As String = \"it's: \"\"x\"\"\") As String: End Function ' q",
       FunctionStub(u"Private Function IShape_Quote(Optional ByVal s As String = \"it's: \"\"x\"\"\") As String")},
      {Lines({u"Public Static Function Counter() As Long", u"End Function"}),
       FunctionStub(u"Private Function IShape_Counter() As Long")},
      // Brackets and type characters.
      {Lines({u"Public Sub [Select](ByVal Index As Long)", u"End Sub"}),
       SubStubWith(u"Private Sub IShape_Select(ByVal Index As Long)")},
      {Lines({u"Public Function Title$(ByVal Row&)", u"End Function"}),
       FunctionStub(u"Private Function IShape_Title$(ByVal Row&)")},
      // Continued over several lines: the breaks and marks stay.
      {Lines({u"Public Function Area(ByVal w As Double, _", u"                     ByVal h As Double) _",
              u"                     As Double", u"End Function"}),
       FunctionStub(u"Private Function IShape_Area(ByVal w As Double, _\r\n                     ByVal h As Double) _"
                    u"\r\n                     As Double")},
      {Lines({u"Public Function Find(ByVal Text As String, _", u"    Optional ByVal Delimiters As String = \"a, b\", _",
              u"    Optional ByVal Start As Long = (1 + 2) * 3, ParamArray Rest() As Variant) As Long()",
              u"End Function"}),
       FunctionStub(u"Private Function IShape_Find(ByVal Text As String, _\r\n    Optional ByVal Delimiters As String = "
                    u"\"a, b\", _\r\n    Optional ByVal Start As Long = (1 + 2) * 3, ParamArray Rest() As Variant) "
                    u"As Long()")},
      {Lines({u"Public Sub Attach(ByVal Owner As Object, ByRef Points() As PointAPI, Optional Data As Variant)",
              u"End Sub"}),
       SubStubWith(u"Private Sub IShape_Attach(ByVal Owner As Object, ByRef Points() As PointAPI, Optional Data As "
                   u"Variant)")},
      // No scope word: public. Friend, Private and Declare: not part of the interface.
      {Lines({u"Sub Helper()", u"End Sub", u"Friend Sub Hidden()", u"End Sub",
              u"Private Declare Function GetTickCount Lib \"kernel32\" () As Long"}),
       SubStub(u"IShape", u"Helper")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.code));
    const Text text = BuildFrom(c.code);
    EXPECT_EQ(text, c.expected);
    EXPECT_TRUE(testing_support::SoundStructure(u"Implements IShape\r\n" + text,
                                                testing_support::InterfacesOf(vbe, u"Project1")));
  }
}

TEST_F(BuildInterfaceTest, EveryPublicPropertyProcedureGetsItsOwnStub) {
  const Text text = BuildFrom(Lines({
      u"Option Explicit",
      u"Public Property Get Count() As Long",
      u"End Property",
      u"Public Sub Clear(): End Sub",
      u"Public Property Get Item(ByVal Index As Long) As Variant",
      u"End Property",
      u"Property Get Name() As String: End Property ' no scope word",
      u"Public Property Let Item(ByVal Index As Long, ByRef Value As Variant)",
      u"End Property",
      u"Public Property Set Item(ByVal Index As Long, ByVal Value As Object)",
      u"End Property",
      u"Friend Property Let Name(ByVal Value As String)",
      u"End Property",
      u"Private Property Let Count(ByVal Value As Long)",
      u"End Property",
  }));
  EXPECT_EQ(text, Stub(u"Private Property Get IShape_Count() As Long", u"' put your code here to return the Count property",
                       u"End Property") +
                      SubStubWith(u"Private Sub IShape_Clear()") +
                      Stub(u"Private Property Get IShape_Item(ByVal Index As Long) As Variant",
                           u"' put your code here to return the Item property", u"End Property") +
                      Stub(u"Private Property Let IShape_Item(ByVal Index As Long, ByRef Value As Variant)",
                           u"' put your code here to store the variable passed in", u"End Property") +
                      Stub(u"Private Property Set IShape_Item(ByVal Index As Long, ByVal Value As Object)",
                           u"' put your code here to store the object", u"End Property") +
                      Stub(u"Private Property Get IShape_Name() As String",
                           u"' put your code here to return the Name property", u"End Property"));
  EXPECT_TRUE(testing_support::SoundStructure(u"Implements IShape\r\n" + text,
                                              testing_support::InterfacesOf(vbe, u"Project1")));
}

TEST_F(BuildInterfaceTest, OnlyPublicMembersGiveText) {
  EXPECT_EQ(BuildFrom(Lines({u"Option Explicit",
                             u"Private mHidden As Long",
                             u"Dim mAlsoHidden As String",
                             u"Friend Sub Helper()",
                             u"End Sub",
                             u"Private Function Secret() As Long",
                             u"End Function",
                             u"Public Event Changed()",
                             u"Public Const LIMIT As Long = 3",
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
