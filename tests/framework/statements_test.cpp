// Reading VB statements: where one ends, list items, procedure headers.
#include <gtest/gtest.h>

#include "framework/conditional_compilation.h"
#include "framework/vb_statements.h"

namespace {

using vb::Text;

TEST(Statements, EndsListsAndHeaders) {
  // Where a statement ends: ":" or "'" outside strings, not ":=".
  EXPECT_EQ(vb::StatementsOfLine(u"a = \"x: 'y\": Call F(n:=1) ' c: d"),
            (std::vector<Text>{u"a = \"x: 'y\"", u" Call F(n:=1) "}));
  EXPECT_EQ(vb::SplitList(u"a As String = \"1, 2\", Optional b = Max(1, 2), c"),
            (std::vector<Text>{u"a As String = \"1, 2\"", u" Optional b = Max(1, 2)", u" c"}));
  EXPECT_TRUE(vb::SplitList(u"  ").empty());

  struct Case {
    Text statement;
    bool isHeader;
    vb::ProcedureKind kind;
    Text name;
    int scope;
    Text afterName;
  };
  const Case cases[] = {
      {u"Public Sub Clear(): End Sub", true, vb::ProcedureKind::Sub, u"Clear", 2, u"(): End Sub"},
      {u"  Private Static Function Count&()", true, vb::ProcedureKind::Function, u"Count", 1, u"&()"},
      {u"Property Get [Type]() As Long", true, vb::ProcedureKind::PropertyGet, u"Type", 2, u"() As Long"},
      {u"Friend Property _\r\n    Let Value(v)", true, vb::ProcedureKind::PropertyLet, u"Value", 3, u"(v)"},
      {u"Static Sub B()", true, vb::ProcedureKind::Sub, u"B", 2, u"()"},
      {u"Public Declare Function Tick Lib \"kernel32\" () As Long", false, {}, {}, 0, {}},
      {u"Public Event Changed()", false, {}, {}, 0, {}},
      {u"Public Property Count As Long", false, {}, {}, 0, {}},
      {u"public sub lower()", false, {}, {}, 0, {}},  // the IDE writes keywords capitalised
      {u"Subtotal = 1", false, {}, {}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.statement));
    const std::optional<vb::ProcedureHeader> header = vb::ReadProcedureHeader(c.statement);
    ASSERT_EQ(header.has_value(), c.isHeader);
    if (!header) continue;
    EXPECT_EQ(header->kind, c.kind);
    EXPECT_EQ(header->name, c.name);
    EXPECT_EQ(header->scope, c.scope);
    EXPECT_EQ(c.statement.substr(header->nameEnd), c.afterName);
  }
  EXPECT_EQ(vb::ProcedureEnd(u"  End Property ' x"), u"Property");
  EXPECT_EQ(vb::ProcedureEnd(u"End If"), u"");
  EXPECT_TRUE(vb::ContinuesOnNextLine(u"  a, _  "));
  EXPECT_FALSE(vb::ContinuesOnNextLine(u"Call my_"));
}

// The branches of a module's #If blocks: which one each line stands in, and whether code under
// the conditions of two branches may be compiled together.
TEST(Statements, ConditionalBranches) {
  const std::vector<Text> module = {
      u"Option Explicit",             // 1
      u"#If Win64 Then ' 64 bits",    // 2
      u"  # if VBA7 then",            // 3
      u"Public A As LongPtr",         // 4
      u"  #End If",                   // 5
      u"#ElseIf WIN32  Then",         // 6
      u"Public A As Long",            // 7
      u"#Else",                       // 8
      u"Public A As Integer",         // 9
      u"#EndIf",                      // 10
      u"#Else",                       // 11: no block to belong to
      u"#Const UNICODE_API = 1",      // 12
  };
  vb::ConditionalBranches branches;
  std::vector<vb::Directive> directives;
  for (std::size_t i = 0; i < module.size(); ++i) directives.push_back(branches.Read(module[i], static_cast<long>(i + 1)));
  using D = vb::Directive;
  EXPECT_EQ(directives, (std::vector<D>{D::None, D::If, D::If, D::None, D::EndIf, D::ElseIf, D::None, D::Else,
                                        D::None, D::EndIf, D::None, D::None}));
  const vb::BranchConditions nested{{u"#IF WIN64 THEN"}, {u"# IF VBA7 THEN"}}, elseIf{{u"#IF WIN64 THEN", u"#ELSEIF WIN32 THEN"}},
      otherwise{{u"#IF WIN64 THEN", u"#ELSEIF WIN32 THEN", u"#ELSE"}};
  EXPECT_EQ(branches.Conditions(branches.BranchAt(4)), nested);
  EXPECT_EQ(branches.Conditions(branches.BranchAt(5)), nested);
  EXPECT_EQ(branches.Conditions(branches.BranchAt(7)), elseIf);
  EXPECT_EQ(branches.Conditions(branches.BranchAt(9)), otherwise);
  EXPECT_EQ(branches.BranchAt(1), vb::ConditionalBranches::kOutside);
  EXPECT_EQ(branches.BranchAt(11), vb::ConditionalBranches::kOutside);
  EXPECT_EQ(branches.DirectiveLine(branches.Path(branches.BranchAt(4)).back()), u"  # if VBA7 then");

  struct Case {
    vb::BranchConditions a, b;
    bool together;
  };
  const vb::BranchConditions outside, win64{{u"#IF WIN64 THEN"}}, other{{u"#IF WIN32 THEN"}};
  const Case cases[] = {
      {outside, elseIf, true},         // outside every block: compiled with every branch
      {win64, nested, true},           // a block inside the branch
      {win64, elseIf, false},          // #If and #ElseIf of one chain
      {elseIf, otherwise, false},
      {other, win64, true},            // other conditions may both hold
      {{{u"#IF A THEN", u"#ELSEIF B THEN"}}, {{u"#IF A THEN", u"#ELSEIF C THEN"}}, true},
      {{{u"#IF A THEN"}, {u"#IF B THEN"}}, {{u"#IF A THEN"}, {u"#IF B THEN", u"#ELSE"}}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vb::MayCompileTogether(c.a, c.b), c.together);
    EXPECT_EQ(vb::MayCompileTogether(c.b, c.a), c.together);
  }
}

}  // namespace
