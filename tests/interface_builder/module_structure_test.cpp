// The structural check that the tests run on the code the add-ins write: what it accepts and
// each fault it names.
#include <gtest/gtest.h>

#include <map>

#include "hosts/memory/memory_host.h"
#include "support/module_structure.h"

namespace {

using memhost::Lines;
using testing_support::StructureProblems;
using vb::Text;

const std::map<Text, Text> kInterfaces{
    {u"IList", Lines({u"Option Explicit", u"Public Count As Long ' items", u"Public Owner As Object, Tag",
                      u"Public Event Changed()", u"Private Declare Function GetTickCount Lib \"kernel32\" () As Long",
                      u"Public Sub Clear(): End Sub",
                      u"Public Function Find(ByVal s As String, Optional ByVal d As String = \"a, b\") As Long",
                      u"End Function", u"Property Get Item(ByVal i As Long) As Variant", u"End Property",
                      u"Friend Sub Hidden()", u"End Sub", u"Private Sub Helper()", u"End Sub"})},
    {u"IWide", Lines({u"#If Win64 Then", u"Public Sub Resize(ByVal Size As LongLong)", u"#Else",
                      u"Public Sub Resize(ByVal Size As Long)", u"#End If", u"End Sub"})},
};

testing_support::InterfaceSource Source() {
  return [](vb::TextView, vb::TextView name) -> std::optional<Text> {
    auto found = kInterfaces.find(Text(name));
    if (found == kInterfaces.end()) return std::nullopt;
    return found->second;
  };
}

TEST(ModuleStructureTest, NamesEachFault) {
  const Text sound = Lines({
      u"Implements Project1.IList",
      u"#If Win64 Then",
      u"Private Declare PtrSafe Function Tick Lib \"kernel32\" () As LongLong",
      u"Private Sub Twice()",
      u"#Else",
      u"Private Declare Function Tick Lib \"kernel32\" () As Long",
      u"Private Sub Twice()",
      u"#End If",
      u"  MsgBox \"End Sub: ' not the end\"",
      u"End Sub",
      u"Private Property Get IList_Count () As Long",
      u"End Property",
      u"Private Property Let IList_Count (byval RHS as Long)",
      u"End Property",
      u"private property get IList_Owner() as object: end property",
      u"Private Property Set IList_Owner(ByVal Value As Object): End Property",
      u"Private Property Get IList_Tag() As Variant: End Property",
      u"Private Property Let IList_Tag( RHS as Variant): End Property",
      u"Private Property Set IList_Tag( RHS as Variant): End Property",
      u"Private Sub IList_Clear(): End Sub",
      u"Private Function IList_Find(ByVal text As String, _",
      u"    Optional ByVal d As String = \"a, b\") As Long",
      u"End Function",
      u"Private Property Get IList_Item(ByVal index As Long) As Variant",
      u"  Set x = Nothing: Let y = 1",
      u"End Property",
  });
  struct Case {
    const char* what;
    Text module;
    std::vector<std::string> problems;
  };
  std::vector<Case> cases = {
      {"a sound implementation", sound, {}},
      {"a block inside another",
       Lines({u"Sub A()", u"Public Function B() As Long", u"End Function"}),
       {"line 2: Function B opens inside Sub A of line 1"}},
      {"a one-line procedure closed twice",
       Lines({u"Public Sub CopyTo(ByRef Arr As Variant): End Sub", u"End Sub"}),
       {"line 2: End Sub closes no procedure"}},
      {"the wrong End", Lines({u"Sub A()", u"End Function"}), {"line 2: End Function closes Sub A"}},
      {"a block never closed", Lines({u"Sub A()", u"End Sub", u"Property Get B()"}),
       {"line 3: Property Get B is never closed"}},
      {"a procedure twice",
       Lines({u"Sub A()", u"End Sub", u"Property Get P()", u"End Property", u"Property Let P(v)", u"End Property",
              u"Function a()", u"End Function"}),
       {"line 7: a second Function a (the first is on line 1)"}},
      {"an interface twice and one nobody has",
       Lines({u"Implements INone", u"Implements IList", u"Implements IList"}),
       {"line 1: Implements INone: no such class to check against", "no Sub IList_Clear (Implements IList)",
        "no Function IList_Find (Implements IList)", "no Property Get IList_Item (Implements IList)",
        "no Property Get IList_Count (Implements IList)", "no Property Let IList_Count (Implements IList)",
        "no Property Get IList_Owner (Implements IList)", "no Property Set IList_Owner (Implements IList)",
        "no Property Get IList_Tag (Implements IList)", "no Property Let IList_Tag (Implements IList)",
        "no Property Set IList_Tag (Implements IList)", "line 3: a second Implements IList"}},
  };
  Text mismatched = vb::Replace(sound, u"Private Function IList_Find(ByVal text As String, _",
                           u"Private Function IList_Find(text As String, _");
  mismatched = vb::Replace(mismatched, u"Private Property Let IList_Count (byval RHS as Long)",
                           u"Private Property Let IList_Count (byval RHS as Integer)");
  cases.push_back({"stubs that do not match",
                   mismatched,
                   {"line 21: Function IList_Find(string, Optional ByVal string) As long does not match Function "
                    "Find(ByVal string, Optional ByVal string) As long (Implements Project1.IList)",
                    "line 13: Property Let IList_Count(ByVal integer) does not match the variable Count As long "
                    "(Implements Project1.IList)"}});
  cases.push_back({"a stub for one configuration only",
                   Lines({u"Implements IWide", u"#If Not Win64 Then", u"Private Sub IWide_Resize(ByVal n As Long)",
                          u"End Sub", u"#End If"}),
                   {"with win64: no Sub IWide_Resize (Implements IWide)"}});
  for (const Case& c : cases) EXPECT_EQ(StructureProblems(c.module, Source()), c.problems) << c.what;
}

}  // namespace
