// The declaration scanner's outline of a module: kinds, lines of each statement and block ends,
// which the files host relies on to put member attributes back.
#include <gtest/gtest.h>

#include "host_test_util.h"
#include "hosts/memory/declaration_scanner.h"
#include "hosts/memory/line_store.h"

namespace {

using memhost::DeclarationKind;
using K = DeclarationKind;

struct Row {
  K kind;
  std::string name;
  bool withEvents;
  long first, last, end;
  bool operator==(const Row&) const = default;
};

void PrintTo(const Row& r, std::ostream* os) {
  *os << static_cast<int>(r.kind) << " " << r.name << (r.withEvents ? " WithEvents" : "") << " " << r.first << "-"
      << r.last << " end " << r.end;
}

TEST(DeclarationScanner, OutlineOfAFormModule) {
  const std::vector<vb::Text> lines = {
      u"Option Explicit",                                  // 1
      u"Implements IShape",                                // 2
      u"DefInt A-Z",                                       // 3
      u"Private WithEvents mTimer As clsTimer",            // 4
      u"#If Win32 Then",                                   // 5
      u"Private Declare PtrSafe Function GetTickCount _",   // 6
      u"    Lib \"kernel32\" () As Long",                  // 7
      u"#End If",                                          // 8
      u"Private Type Pt: X As Long: End Type",             // 9
      u"",                                                 // 10
      u"Public Property Get Item(ByVal i As Long) As Object",  // 11
      u"End Property",                                     // 12
      u"Private Sub Form_Load()",                          // 13
      u"    If mTimer Is Nothing Then Exit Sub",           // 14
      u"End Sub   ' done",                                 // 15
      u"Public Static Function Counter() As Long",         // 16
  };
  memhost::ModuleOutline outline = memhost::ScanModule(lines);
  std::vector<Row> rows;
  for (const auto& d : outline.declarations)
    rows.push_back({d.kind, hosts_test::U8(outline.Name(d)), d.withEvents, d.firstLine, d.lastLine, d.endLine});
  const std::vector<Row> expected = {
      {K::Option, "", false, 1, 1, 0},         {K::Implements, "IShape", false, 2, 2, 0},
      {K::Other, "", false, 3, 3, 0},          {K::Variable, "mTimer", true, 4, 4, 0},
      {K::Other, "", false, 5, 5, 0},          {K::Declare, "GetTickCount", false, 6, 7, 0},
      {K::Other, "", false, 8, 8, 0},          {K::Type, "Pt", false, 9, 9, 9},
      {K::PropertyGet, "Item", false, 11, 11, 12}, {K::Sub, "Form_Load", false, 13, 13, 15},
      {K::Function, "Counter", false, 16, 16, 0},
  };
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(outline.declarationLines, 9);
  EXPECT_EQ(outline.firstProcedureLine, 11);
}

// Inside a procedure the scanner only looks for what may end it, on the line's bytes or 16-bit
// units as the line is kept and across " _" joins; it must find the ends a full read finds.
TEST(DeclarationScanner, ProcedureEndsAmongLinesThatLookLikeThem) {
  const std::vector<vb::Text> procedures = {
      u"Sub A()",
      u"    Select Case x",
      u"    Case 1: y = \"End Sub: \"",
      u"    End Select",
      u"    EndTime = 0: Debug.Print \"a: b\" ' note: End Sub",
      u"    If x Then y = 1 Else y = 2",
      u"    End If",
      u"Rem x: End Sub",
      u"End Sub",
      u"Private Sub B(): x = 1",
      u"x = \"\"\"\": end  sub",
      u"Function C()",
      u"    y = 2: End\tFunction ' done",
      u"Property Get D()",
      u"End Property:",
      u"Sub E()",
      u"    z = 1 _",
      u"    : End Sub",
      u"Sub F()",
      u"  End Sub",
      u"Sub G()",
      u"    x = \"\u20AC\" & y: z = 1",  // kept as 16-bit units, as every line with a \u20AC below
      u"    ' \u20AC note: End Sub",
      u"    x = \"a _",
      u"b\": End _",
      u"    Sub",
      u"Sub H()",
      u"    ' note _",
      u"    : End Sub",
      u"Done: End Sub",
      u"#If Win32 Then",
      u"Sub I(ByVal a As Long)",
      u"#Else",
      u"Sub I(ByVal a As Integer)",
      u"#End If",
      u"    y = 1 _",
      u"        + 2: End Sub ' \u20AC",
      u"Sub J()",
      u"10  EndTime = 1",
      u"20  End Sub",
      u"Sub K(): Beep",
      u"100 End Sub",
  };
  vb::Text code;
  for (const vb::Text& line : procedures) code += line + u"\r\n";
  auto rowsOf = [](const memhost::ModuleOutline& outline) {
    std::vector<Row> rows;
    for (const auto& d : outline.declarations)
      rows.push_back({d.kind, hosts_test::U8(outline.Name(d)), d.withEvents, d.firstLine, d.lastLine, d.endLine});
    return rows;
  };
  const std::vector<Row> expected = {
      {K::Sub, "A", false, 1, 1, 9},         {K::Sub, "B", false, 10, 10, 11},
      {K::Function, "C", false, 12, 12, 13}, {K::PropertyGet, "D", false, 14, 14, 15},
      {K::Sub, "E", false, 16, 16, 18},      {K::Sub, "F", false, 19, 19, 20},
      {K::Sub, "G", false, 21, 21, 26},      {K::Sub, "H", false, 27, 27, 30},
      {K::Other, "", false, 31, 31, 0},      {K::Sub, "I", false, 32, 32, 37},
      {K::Sub, "J", false, 38, 38, 40},      {K::Sub, "K", false, 41, 41, 42},
  };
  EXPECT_EQ(rowsOf(memhost::ScanModule(procedures)), expected);
  EXPECT_EQ(rowsOf(memhost::ScanModule(memhost::LineStore(code))), expected);
}

}  // namespace
