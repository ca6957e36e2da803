// Reading VB statements: where one ends, list items, procedure headers.
#include <gtest/gtest.h>

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

}  // namespace
