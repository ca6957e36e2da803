// Interface classes in the shapes that real class libraries give them, implemented through the
// dialog: each implementing module compared whole and checked for what VB6's compiler demands of
// it; and interfaces implemented a second time.
#include <algorithm>

#include "morrowgate_fixture.h"
#include "support/module_structure.h"

namespace morrowgate_test {
namespace {

using memhost::HostBuilder;
using memhost::Lines;

const Text kListClass = Lines({u"Option Explicit", u"Private mItems As Collection", u"",
                               u"Private Sub Class_Initialize()", u"    Set mItems = New Collection", u"End Sub"});

class RealInterfacesTest : public MorrowgateTest {
 protected:
  // Ticks the interfaces for clsList in the open dialog and clicks OK; every module must then
  // pass the structural check.
  void Implement(std::initializer_list<Text> interfaces) {
    morrowgate::frmAddIn& dialog = OpenDialog();
    ASSERT_TRUE(dialog.cboClasses.Choose(u"Project1.clsList"));
    for (const Text& entry : interfaces) Tick(dialog, entry);
    scripted::Click(dialog, u"cmdOK");
    EXPECT_TRUE(home.toolkit.messages().empty());
    EXPECT_TRUE(testing_support::SoundStructure(vbe));
  }
};

// clsList after IList was implemented: the Implements line, then the stubs where the IDE puts
// added procedures (after the declarations), then the class's own procedure.
Text ListClassWith(const std::vector<vb::TextView>& stubLines) {
  Text code = Lines({u"Option Explicit", u"", u"Implements Project1.IList", u"Private mItems As Collection"});
  for (vb::TextView line : stubLines) code += u"\r\n" + Text(line);
  return code + u"\r\n" + Lines({u"", u"Private Sub Class_Initialize()", u"    Set mItems = New Collection", u"End Sub"});
}

TEST_F(RealInterfacesTest, EachShapeOfInterfaceGivesAModuleThatCompiles) {
  struct Case {
    const char* what;
    Text interfaceCode;
    Text expected;
  };
  const std::vector<Case> cases = {
      {"one-line procedures and comments",
       Lines({u"Option Explicit", u"' What every list of the library can do.",
              u"Public Sub Clear(): End Sub",
              u"Public Sub CopyTo(ByRef Arr As Variant, ByVal Index As Long): End Sub ' from Index on",
              u"Public Function Compare(ByRef a As Variant, ByRef b As Variant) As Long: End Function"}),
       ListClassWith({u"Private Sub IList_Clear()", u"\t' place your code here", u"", u"End Sub", u"", u"",
                      u"Private Sub IList_CopyTo(ByRef Arr As Variant, ByVal Index As Long)",
                      u"\t' place your code here", u"", u"End Sub", u"", u"",
                      u"Private Function IList_Compare(ByRef a As Variant, ByRef b As Variant) As Long",
                      u"\t' place your code here", u"", u"End Function", u"", u""})},
      {"property procedures with parameters",
       Lines({u"Public Property Get Count() As Long", u"End Property",
              u"Public Property Get Item(ByVal Index As Long) As Variant", u"End Property",
              u"Public Property Let Item(ByVal Index As Long, ByRef Value As Variant)", u"End Property",
              u"Public Property Set Item(ByVal Index As Long, ByVal Value As Object)", u"End Property"}),
       ListClassWith({u"Private Property Get IList_Count() As Long",
                      u"\t' put your code here to return the Count property", u"", u"End Property", u"", u"",
                      u"Private Property Get IList_Item(ByVal Index As Long) As Variant",
                      u"\t' put your code here to return the Item property", u"", u"End Property", u"", u"",
                      u"Private Property Let IList_Item(ByVal Index As Long, ByRef Value As Variant)",
                      u"\t' put your code here to store the variable passed in", u"", u"End Property", u"", u"",
                      u"Private Property Set IList_Item(ByVal Index As Long, ByVal Value As Object)",
                      u"\t' put your code here to store the object", u"", u"End Property", u"", u""})},
      {"variables with comments, several on a line, without a type, in brackets",
       Lines({u"Public Count As Long ' items", u"Public Left As Single, Data", u"Public [Type] As Integer"}),
       ListClassWith({u"Private Property Get IList_Count () As Long",
                      u"\t' put your code here to return the Count property", u"", u"End Property", u"", u"",
                      u"Private Property Let IList_Count (byval RHS as Long)",
                      u"\t' put your code here to store the variable passed in", u"", u"End Property", u"", u"",
                      u"Private Property Get IList_Left () As Single",
                      u"\t' put your code here to return the Left property", u"", u"End Property", u"", u"",
                      u"Private Property Let IList_Left (byval RHS as Single)",
                      u"\t' put your code here to store the variable passed in", u"", u"End Property", u"", u"",
                      u"Private Property Get IList_Data () As Variant",
                      u"\t' put your code here to return the Data property", u"", u"End Property", u"", u"",
                      u"Private Property Let IList_Data ( RHS as Variant)",
                      u"\t' put your code here to store the variable passed in", u"", u"End Property", u"", u"",
                      u"Private Property Set IList_Data ( RHS as Variant)",
                      u"\t' put your code here to store the object", u"", u"End Property", u"", u"",
                      u"Private Property Get IList_Type () As Integer",
                      u"\t' put your code here to return the Type property", u"", u"End Property", u"", u"",
                      u"Private Property Let IList_Type (byval RHS as Integer)",
                      u"\t' put your code here to store the variable passed in", u"", u"End Property", u"", u""})},
      {"continuation lines, defaults with commas and parentheses, ParamArray, arrays, objects, user types",
       Lines({u"Public Function Find(ByVal Text As String, _",
              u"                     Optional ByVal Delimiters As String = \"a, b\", _",
              u"                     Optional ByVal Start As Long = (1 + 2)) As Long", u"End Function",
              u"Public Sub Log(ByVal Level As Long, ParamArray Args() As Variant)", u"End Sub",
              u"Public Function Values(ByRef a() As Long) As Long()", u"End Function",
              u"Public Sub Attach(ByVal Owner As Object, ByRef Where As PointAPI)", u"End Sub",
              u"Public Sub [Select](Optional ByVal Index As Long = -1)", u"End Sub"}),
       ListClassWith({u"Private Function IList_Find(ByVal Text As String, _",
                      u"                     Optional ByVal Delimiters As String = \"a, b\", _",
                      u"                     Optional ByVal Start As Long = (1 + 2)) As Long",
                      u"\t' place your code here", u"", u"End Function", u"", u"",
                      u"Private Sub IList_Log(ByVal Level As Long, ParamArray Args() As Variant)",
                      u"\t' place your code here", u"", u"End Sub", u"", u"",
                      u"Private Function IList_Values(ByRef a() As Long) As Long()", u"\t' place your code here", u"",
                      u"End Function", u"", u"",
                      u"Private Sub IList_Attach(ByVal Owner As Object, ByRef Where As PointAPI)",
                      u"\t' place your code here", u"", u"End Sub", u"", u"",
                      u"Private Sub IList_Select(Optional ByVal Index As Long = -1)", u"\t' place your code here", u"",
                      u"End Sub", u"", u""})},
      {"a declaration continued from one block of lines that is read to the next",
       [] {
         Text code;
         for (int i = 0; i < 1023; ++i) code += u"' one of many comment lines\r\n";
         return code + Lines({u"Public Function Find(ByVal Text As String, _", u"    ByVal Start As Long) As Long",
                              u"End Function"});
       }(),
       ListClassWith({u"Private Function IList_Find(ByVal Text As String, _", u"    ByVal Start As Long) As Long",
                      u"\t' place your code here", u"", u"End Function", u"", u""})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Connect(HostBuilder().project(u"Project1").classModule(u"IList", c.interfaceCode).classModule(u"clsList", kListClass).build());
    Implement({u"Project1.IList"});
    EXPECT_EQ(vbe->Code(u"clsList"), c.expected);
    const std::vector<Text>& shown = home.toolkit.shownForms();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), u"frmPropertyDetermine"), 0) << "built-in types ask nothing";
    Disconnect(0);
  }
}

// Stub lines of Sub IList_<name><parameters>.
std::vector<Text> SubLines(const Text& nameAndParameters) {
  return {u"Private Sub IList_" + nameAndParameters, u"\t' place your code here", u"", u"End Sub", u"", u""};
}

Text ListClassWithLines(const std::vector<std::vector<Text>>& groups) {
  std::vector<vb::TextView> lines;
  for (const std::vector<Text>& group : groups) lines.insert(lines.end(), group.begin(), group.end());
  return ListClassWith(lines);
}

// Interfaces with #If blocks: each branch's stubs go under the same directives, so that the class
// compiles in every configuration (the structural check tries each one).
TEST_F(RealInterfacesTest, StubsKeepTheInterfacesIfBlocks) {
  struct Case {
    const char* what;
    Text interfaceCode;
    std::vector<std::vector<Text>> expected;
  };
  const std::vector<Case> cases = {
      {"a member declared in both branches, each with its own End",
       Lines({u"#If UNICODE_API Then", u"Public Sub Load(ByVal Path As String, ByVal Flags As Long)", u"End Sub",
              u"#Else", u"Public Sub Load(ByVal Path As String)", u"End Sub", u"#End If", u"Public Sub Clear()",
              u"End Sub"}),
       {{u"#If UNICODE_API Then"}, SubLines(u"Load(ByVal Path As String, ByVal Flags As Long)"), {u"#Else"},
        SubLines(u"Load(ByVal Path As String)"), {u"#End If"}, SubLines(u"Clear()")}},
      {"declarations in the branches sharing one body, a member in one branch only",
       Lines({u"#If Win64 Then ' 64-bit handles", u"Public Sub Attach(ByVal Handle As LongLong)", u"#Else",
              u"Public Sub Attach(ByVal Handle As Long)", u"#End If", u"End Sub", u"#If UNICODE_API Then",
              u"#Else", u"Public Sub Narrow()", u"End Sub", u"#End If"}),
       {{u"#If Win64 Then ' 64-bit handles"}, SubLines(u"Attach(ByVal Handle As LongLong)"), {u"#Else"},
        SubLines(u"Attach(ByVal Handle As Long)"), {u"#End If", u"#If UNICODE_API Then", u"#Else"},
        SubLines(u"Narrow()"), {u"#End If"}}},
      {"an #ElseIf chain and a nested block",
       Lines({u"#If VBA7 Then", u"  #If Win64 Then", u"Public Sub Move(ByVal By As LongLong)", u"End Sub",
              u"  #Else", u"Public Sub Move(ByVal By As LongPtr)", u"End Sub", u"  #End If",
              u"#ElseIf Win32 Then", u"Public Sub Move(ByVal By As Long)", u"End Sub", u"#Else",
              u"Public Sub Move(ByVal By As Integer)", u"End Sub", u"#End If"}),
       {{u"#If VBA7 Then", u"  #If Win64 Then"}, SubLines(u"Move(ByVal By As LongLong)"), {u"  #Else"},
        SubLines(u"Move(ByVal By As LongPtr)"), {u"  #End If", u"#ElseIf Win32 Then"},
        SubLines(u"Move(ByVal By As Long)"), {u"#Else"}, SubLines(u"Move(ByVal By As Integer)"), {u"#End If"}}},
      {"a variable of another type in each branch",
       Lines({u"#If Win64 Then", u"Public Handle As LongLong, Count As Long", u"#Else",
              u"Public Handle As Long", u"#End If"}),
       {{u"#If Win64 Then", u"Private Property Get IList_Handle () As LongLong",
         u"\t' put your code here to return the Handle property", u"", u"End Property", u"", u"",
         u"Private Property Let IList_Handle (byval RHS as LongLong)",
         u"\t' put your code here to store the variable passed in", u"", u"End Property", u"", u"", u"#Else",
         u"Private Property Get IList_Handle () As Long", u"\t' put your code here to return the Handle property",
         u"", u"End Property", u"", u"", u"Private Property Let IList_Handle (byval RHS as Long)",
         u"\t' put your code here to store the variable passed in", u"", u"End Property", u"", u"", u"#End If",
         u"#If Win64 Then", u"Private Property Get IList_Count () As Long", u"\t' put your code here to return the Count property",
         u"", u"End Property", u"", u"", u"Private Property Let IList_Count (byval RHS as Long)",
         u"\t' put your code here to store the variable passed in", u"", u"End Property", u"", u"", u"#End If"}}},
      {"a name of another kind in each branch: a variable and a property, a function and a property",
       Lines({u"#If Win64 Then", u"Public Tag As LongLong", u"#Else", u"Public Property Get Tag() As Long",
              u"End Property", u"#End If", u"#If UNICODE_API Then", u"Public Function Item(ByVal i As Long) As Long",
              u"End Function", u"#Else", u"Public Property Get Item(ByVal i As Long) As Long", u"End Property",
              u"#End If"}),
       {{u"#If Win64 Then", u"Private Property Get IList_Tag () As LongLong",
         u"\t' put your code here to return the Tag property", u"", u"End Property", u"", u"",
         u"Private Property Let IList_Tag (byval RHS as LongLong)",
         u"\t' put your code here to store the variable passed in", u"", u"End Property", u"", u"", u"#Else",
         u"Private Property Get IList_Tag() As Long", u"\t' put your code here to return the Tag property", u"",
         u"End Property", u"", u"", u"#End If", u"#If UNICODE_API Then",
         u"Private Function IList_Item(ByVal i As Long) As Long", u"\t' place your code here", u"", u"End Function",
         u"", u"", u"#Else", u"Private Property Get IList_Item(ByVal i As Long) As Long",
         u"\t' put your code here to return the Item property", u"", u"End Property", u"", u"", u"#End If"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Connect(HostBuilder().project(u"Project1").classModule(u"IList", c.interfaceCode).classModule(u"clsList", kListClass).build());
    home.toolkit.On(u"frmPropertyDetermine", [](ui::Form& form) { scripted::Click(form, u"cmdOK"); });
    Implement({u"Project1.IList"});
    EXPECT_EQ(vbe->Code(u"clsList"), ListClassWithLines(c.expected));
    Disconnect(0);
  }

  // Implemented before: a stub that stands in the same branch, or outside every block, is there
  // already; one in another branch of the same block is not.
  const Text partly = Lines({u"Option Explicit", u"Implements IList", u"#If UNICODE_API Then",
                             u"Private Sub IList_Load(ByVal Path As String, ByVal Flags As Long)", u"End Sub",
                             u"#End If", u"Private Sub IList_Clear()", u"End Sub"});
  Connect(HostBuilder().project(u"Project1").classModule(u"IList", cases[0].interfaceCode).classModule(u"clsList", partly).build());
  Implement({u"Project1.IList"});
  EXPECT_EQ(vbe->Code(u"clsList"),
            vb::Replace(partly, u"Implements IList\r\n",
                        u"Implements IList\r\n#If UNICODE_API Then\r\n#Else\r\n" +
                            vb::Join(SubLines(u"Load(ByVal Path As String)"), u"\r\n") + u"\r\n#End If\r\n"));
  const Text outside = Lines({u"Implements IList", u"Private Sub IList_Load(ByVal Path As String)", u"End Sub",
                              u"Private Sub IList_Clear()", u"End Sub"});
  vbe->SetCode(u"clsList", outside);
  morrowgate::frmAddIn& dialog = OpenDialog();
  ASSERT_TRUE(dialog.cboClasses.Choose(u"Project1.clsList"));
  Tick(dialog, u"Project1.IList");
  scripted::Click(dialog, u"cmdOK");
  EXPECT_EQ(vbe->Code(u"clsList"), outside) << "a second Load would not compile when UNICODE_API is set";
}

TEST_F(RealInterfacesTest, ImplementingAgainAddsOnlyWhatIsMissing) {
  const Text shape = Lines({u"Public Sub Draw(): End Sub", u"Public Color As Long"});
  Connect(HostBuilder()
              .project(u"Project1")
              .classModule(u"IShape", shape)
              .classModule(u"IList", u"Public Owner As Polygon")
              .classModule(u"clsList", kListClass)
              .build());
  int questions = 0;
  home.toolkit.On(u"frmPropertyDetermine", [&questions](ui::Form& form) {
    ++questions;
    scripted::Click(form, u"cmdOK");
  });
  Implement({u"Project1.IShape", u"Project1.IList"});
  const Text once = vbe->Code(u"clsList");
  EXPECT_EQ(questions, 1);

  // Twice in a row: the same module, nothing asked, both interfaces named as done already.
  Implement({u"Project1.IShape", u"Project1.IList"});
  EXPECT_EQ(vbe->Code(u"clsList"), once);
  EXPECT_EQ(questions, 1) << "Owner's Let is there: nothing to ask";
  const auto& done = connect.mainDialog()->alreadyImplemented;
  ASSERT_EQ(done.size(), 2u);
  EXPECT_EQ(done[0].interfaceEntry, u"Project1.IList");
  EXPECT_FALSE(done[0].addedMissing);
  EXPECT_EQ(done[1].interfaceEntry, u"Project1.IShape");

  // The interface grew a method and the class lost a stub, and the Implements line is written
  // without its project: only the two missing stubs go in.
  vbe->SetCode(u"IShape", shape + u"\r\nPublic Function Area() As Double\r\nEnd Function");
  Text edited = vb::Replace(once, u"Implements Project1.IShape", u"Implements ishape");
  edited = vb::Replace(edited,
                       u"Private Sub IShape_Draw()\r\n\t' place your code here\r\n\r\nEnd Sub\r\n\r\n\r\n", u"");
  vbe->SetCode(u"clsList", edited);
  Implement({u"Project1.IShape"});
  EXPECT_EQ(vbe->Code(u"clsList"),
            vb::Replace(edited, u"Private Property Get IShape_Color",
                        u"Private Sub IShape_Draw()\r\n\t' place your code here\r\n\r\nEnd Sub\r\n\r\n\r\n"
                        u"Private Function IShape_Area() As Double\r\n\t' place your code here\r\n\r\nEnd "
                        u"Function\r\n\r\n\r\nPrivate Property Get IShape_Color"));
  ASSERT_EQ(connect.mainDialog()->alreadyImplemented.size(), 1u);
  EXPECT_TRUE(connect.mainDialog()->alreadyImplemented[0].addedMissing);

  // A procedure of the stub's name but of another kind is the developer's own: no second
  // procedure of that name goes in beside it.
  const Text own = Lines({u"Option Explicit", u"Private Function IShape_Draw() As Long", u"End Function"});
  vbe->SetCode(u"clsList", own);
  vbe->SetCode(u"IShape", shape);
  morrowgate::frmAddIn& dialog = OpenDialog();
  ASSERT_TRUE(dialog.cboClasses.Choose(u"Project1.clsList"));
  Tick(dialog, u"Project1.IShape");
  scripted::Click(dialog, u"cmdOK");
  EXPECT_EQ(vbe->Code(u"clsList"),
            Lines({u"Option Explicit", u"", u"Implements Project1.IShape", u"Private Property Get IShape_Color () As Long",
                   u"\t' put your code here to return the Color property", u"", u"End Property", u"", u"",
                   u"Private Property Let IShape_Color (byval RHS as Long)",
                   u"\t' put your code here to store the variable passed in", u"", u"End Property", u"", u"",
                   u"Private Function IShape_Draw() As Long", u"End Function"}));
}

}  // namespace
}  // namespace morrowgate_test
