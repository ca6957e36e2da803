// Code modules of the in-memory IDE: the line rules of InsertLines, AddFromString and Lines,
// read-only modules and injected failures, compared on whole module texts.
#include <gtest/gtest.h>

#include "host_test_util.h"
#include "hosts/memory/memory_host.h"

namespace {

using hosts_test::ErrorNumberOf;
using hosts_test::U8;
using memhost::HostBuilder;
using memhost::Lines;
using vb::Text;

Text CodeAfter(Text code, const std::function<void(host::CodeModule&)>& edit) {
  auto vbe = HostBuilder().project(u"Project1").module(u"modMain", code).build();
  edit(*vbe->Component(u"modMain")->CodeModule());
  return vbe->Code(u"modMain");
}

TEST(CodeModule, InsertLinesSplitsTheTextAndEndsItsLastLineAtAFinalBreak) {
  struct Case {
    const char* what;
    Text text;
    Text expected;
  };
  const Text before = Lines({u"Option Explicit", u"End Sub"});
  const Case cases[] = {
      {"one line", u"' one", Lines({u"Option Explicit", u"' one", u"End Sub"})},
      {"three lines", Lines({u"Public Sub A()", u"    Beep", u"End Sub"}),
       Lines({u"Option Explicit", u"Public Sub A()", u"    Beep", u"End Sub", u"End Sub"})},
      {"final CR LF adds no line", u"End Property\r\n", Lines({u"Option Explicit", u"End Property", u"End Sub"})},
      {"two final breaks add one empty line", u"End Property\r\n\r\n",
       Lines({u"Option Explicit", u"End Property", u"", u"End Sub"})},
      {"empty text is one empty line", u"", Lines({u"Option Explicit", u"", u"End Sub"})},
      {"a lone break is one empty line", u"\r\n", Lines({u"Option Explicit", u"", u"End Sub"})},
      {"lone LF breaks too", u"a\nb", Lines({u"Option Explicit", u"a", u"b", u"End Sub"})},
      {"a lone CR breaks, and a final one ends the last line", u"a\rb\r", Lines({u"Option Explicit", u"a", u"b", u"End Sub"})},
  };
  for (const Case& c : cases) {
    Text after = CodeAfter(before, [&](host::CodeModule& m) { m.InsertLines(2, c.text); });
    EXPECT_EQ(U8(after), U8(c.expected)) << c.what;
  }
  // At the very end and into an empty module.
  EXPECT_EQ(U8(CodeAfter(before, [](host::CodeModule& m) { m.InsertLines(3, u"x\r\ny"); })),
            U8(Lines({u"Option Explicit", u"End Sub", u"x", u"y"})));
  EXPECT_EQ(U8(CodeAfter(u"", [](host::CodeModule& m) { m.InsertLines(1, u"x\r\ny\r\n"); })), U8(Lines({u"x", u"y"})));
}

TEST(CodeModule, AddFromStringGoesBeforeTheFirstProcedureBlock) {
  const Text property = Lines({u"Public Property Get Width() As Long", u"    Width = mWidth", u"End Property", u""});
  struct Case {
    const char* what;
    Text code;
    Text expected;
  };
  const Case cases[] = {
      {"empty module gets it as its content", u"",
       Lines({u"Public Property Get Width() As Long", u"    Width = mWidth", u"End Property"})},
      {"declarations only: at the end", Lines({u"Option Explicit", u"Private mWidth As Long"}),
       Lines({u"Option Explicit", u"Private mWidth As Long", u"Public Property Get Width() As Long",
              u"    Width = mWidth", u"End Property"})},
      {"comment and blank lines stay with the first procedure",
       Lines({u"Option Explicit", u"Private mWidth As Long", u"", u"' Draws the shape", u"Public Sub Draw()",
              u"End Sub"}),
       Lines({u"Option Explicit", u"Private mWidth As Long", u"Public Property Get Width() As Long",
              u"    Width = mWidth", u"End Property", u"", u"' Draws the shape", u"Public Sub Draw()", u"End Sub"})},
      {"no declarations: at the top",
       Lines({u"' header", u"Private Sub Form_Load()", u"End Sub"}),
       Lines({u"Public Property Get Width() As Long", u"    Width = mWidth", u"End Property", u"' header",
              u"Private Sub Form_Load()", u"End Sub"})},
      {"first procedure inside #If: before the #If, compiled on both branches",
       Lines({u"Option Explicit", u"#If VBA7 Then", u"  #If Win64 Then", u"Private Const Size As Long = 8",
              u"Public Function Handle() As LongPtr", u"End Function", u"  #End If", u"#Else",
              u"Public Function Handle() As Long", u"End Function", u"#End If"}),
       Lines({u"Option Explicit", u"Public Property Get Width() As Long", u"    Width = mWidth", u"End Property",
              u"#If VBA7 Then", u"  #If Win64 Then", u"Private Const Size As Long = 8",
              u"Public Function Handle() As LongPtr", u"End Function", u"  #End If", u"#Else",
              u"Public Function Handle() As Long", u"End Function", u"#End If"})},
      {"an #If block closed in the declarations stays above",
       Lines({u"#If VBA7 Then", u"Private Declare PtrSafe Sub Sleep Lib \"kernel32\" (ByVal ms As Long)", u"#Else",
              u"Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)", u"#End If", u"Sub Main()",
              u"End Sub"}),
       Lines({u"#If VBA7 Then", u"Private Declare PtrSafe Sub Sleep Lib \"kernel32\" (ByVal ms As Long)", u"#Else",
              u"Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)", u"#End If",
              u"Public Property Get Width() As Long", u"    Width = mWidth", u"End Property", u"Sub Main()",
              u"End Sub"})},
  };
  for (const Case& c : cases) {
    Text after = CodeAfter(c.code, [&](host::CodeModule& m) { m.AddFromString(property); });
    EXPECT_EQ(U8(after), U8(c.expected)) << c.what;
    // A text handed over goes to the same place.
    after = CodeAfter(c.code, [&](host::CodeModule& m) { m.AddFromString(Text(property)); });
    EXPECT_EQ(U8(after), U8(c.expected)) << c.what << ", handed over";
  }
}

TEST(CodeModule, CountOfDeclarationLinesEndsAtTheLastDeclaration) {
  struct Case {
    Text code;
    long expected;
  };
  const Case cases[] = {
      {u"", 0},
      {Lines({u"' only a comment", u"Sub A()", u"End Sub"}), 0},
      {Lines({u"Option Explicit", u"", u"' about A", u"Sub A()", u"End Sub"}), 1},
      {Lines({u"Option Explicit", u"Private Type Pt", u"  X As Long", u"End Type", u"Dim a As Long, _",
              u"    b As Long", u"", u"Sub A()", u"End Sub", u"Dim late As Long"}),
       6},
      {Lines({u"Option Explicit", u"Private mX As Long", u"' trailing comment"}), 2},
  };
  for (const Case& c : cases) {
    auto vbe = HostBuilder().module(u"modMain", c.code).build();
    EXPECT_EQ(vbe->Component(u"modMain")->CodeModule()->CountOfDeclarationLines(), c.expected) << U8(c.code);
  }
}

TEST(CodeModule, ReplaceDeleteAndLinesWithinTheModule) {
  auto vbe = HostBuilder().classModule(u"Class1", Lines({u"a", u"b", u"c", u"d"})).build();
  auto m = vbe->Component(u"Class1")->CodeModule();
  EXPECT_EQ(m->CountOfLines(), 4);
  EXPECT_EQ(U8(m->Lines(2, 2)), U8(Lines({u"b", u"c"})));
  EXPECT_EQ(U8(m->Lines(1, 0)), "");
  EXPECT_EQ(U8(m->Lines(5, 0)), "");
  m->ReplaceLine(2, u"B1\r\nB2");
  m->DeleteLines(4);
  EXPECT_EQ(U8(vbe->Code(u"Class1")), U8(Lines({u"a", u"B1", u"B2", u"d"})));
  m->DeleteLines(1, 2);
  EXPECT_EQ(U8(vbe->Code(u"Class1")), U8(Lines({u"B2", u"d"})));

  // Lines outside the module are refused and nothing changes.
  struct Bad {
    const char* what;
    std::function<void()> call;
  };
  const Bad bad[] = {
      {"Lines from 0", [&] { m->Lines(0, 1); }},
      {"Lines past the end", [&] { m->Lines(2, 2); }},
      {"Lines after the end", [&] { m->Lines(3, 1); }},
      {"Lines negative count", [&] { m->Lines(1, -1); }},
      {"InsertLines past the end", [&] { m->InsertLines(4, u"x"); }},
      {"ReplaceLine past the end", [&] { m->ReplaceLine(3, u"x"); }},
      {"DeleteLines past the end", [&] { m->DeleteLines(2, 2); }},
      {"DeleteLines from 0", [&] { m->DeleteLines(0); }},
  };
  for (const Bad& b : bad) EXPECT_EQ(ErrorNumberOf(b.call), vb::err::kSubscriptOutOfRange) << b.what;
  EXPECT_EQ(U8(vbe->Code(u"Class1")), U8(Lines({u"B2", u"d"})));
}

// Long runs of edits up and down a module (the lines move around the store's gap, replaced text
// is reclaimed, lines of characters below U+0100 and lines of others are kept apart, a text
// handed over keeps its lines in its own room) leave exactly the lines a plain list of lines has
// after the same edits.
TEST(CodeModule, LongRunsOfEditsKeepEveryLine) {
  std::vector<Text> model;
  for (int i = 0; i < 300; ++i) model.push_back(u"    x = " + vb::ToText(i));
  Text code;
  for (const Text& line : model) code += line + u"\r\n";
  auto vbe = HostBuilder().module(u"modMain", code).build();
  auto module = vbe->Component(u"modMain")->CodeModule();
  // Handed over with lines of every kind: wide ones, empty ones, lone CR and LF breaks, the last
  // line with or without a break. With no procedure in the module, AddFromString adds at the end.
  auto handOver = [&](int lines, const Text& tag, bool lastBreak = true) {
    Text block;
    for (int i = 0; i < lines; ++i) {
      Text line = i % 7 == 3 ? Text() : i % 5 == 1 ? u"' \u2018" + tag + vb::ToText(i) : u"\u00e9 " + tag + vb::ToText(i);
      model.push_back(line);
      if (i + 1 == lines && !lastBreak) block += line;
      // (No lone CR before an empty line that ends in LF: the two would be one CR LF.)
      else block += line + (i % 11 == 4 ? u"\n" : i % 13 == 6 && (i + 1) % 7 != 3 ? u"\r" : u"\r\n");
    }
    module->AddFromString(std::move(block));
  };
  handOver(201, u"first ", false);
  handOver(30, u"second, copied while the first has lines ");
  const memhost::LineStore copy = vbe->ModuleLines(u"modMain").Copy();
  ASSERT_EQ(copy.size(), model.size());
  for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(U8(copy.Join(i, 1)), U8(model[i])) << "copy, line " << i;
  std::uint64_t seed = 11;
  auto next = [&](std::size_t n) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::size_t>((seed >> 33) % n);
  };
  for (int pass = 0; pass < 6; ++pass)
    for (std::size_t line = 1; line <= model.size(); ++line) {
      model[line - 1] = (line % 3 == 0 ? u"\u2018" : u"'\u00e9") + model[line - 1];
      module->ReplaceLine(static_cast<long>(line), model[line - 1]);
    }
  handOver(100, u"third, once the first is replaced ");
  for (int edit = 0; edit < 2000; ++edit) {
    const std::size_t at = next(model.size());
    if (edit % 3 == 0) {
      model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), {u"a" + vb::ToText(edit), u""});
      module->InsertLines(static_cast<long>(at + 1), u"a" + vb::ToText(edit) + u"\r\n\r\n");
    } else if (edit % 3 == 1) {
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
      module->DeleteLines(static_cast<long>(at + 1));
    } else {
      model[at] = Text(next(40), edit % 4 == 2 ? u'\u20ac' : u'b');
      module->ReplaceLine(static_cast<long>(at + 1), model[at]);
    }
  }
  // Lines kept as bytes of every short length, bytes above 0x7F among them.
  for (std::size_t i = 0; i < 48 && i * 3 < model.size(); ++i) {
    model[i * 3] = Text(i, static_cast<char16_t>(0x7A + i));
    module->ReplaceLine(static_cast<long>(i * 3 + 1), model[i * 3]);
  }
  ASSERT_EQ(module->CountOfLines(), static_cast<long>(model.size()));
  for (std::size_t line = 1; line <= model.size(); ++line)
    ASSERT_EQ(U8(module->Lines(static_cast<long>(line), 1)), U8(model[line - 1])) << "line " << line;
  // Read bottom up into one string, as a line-by-line reader keeps it: no line keeps a part of the
  // longer one before it.
  Text reused = u"a line longer than every line of the module: a line longer than every line";
  for (std::size_t line = model.size(); line >= 1; --line) {
    module->Lines(static_cast<long>(line), 1, reused);
    ASSERT_EQ(U8(reused), U8(model[line - 1])) << "line " << line;
  }
  module->Lines(2, 3, reused);
  EXPECT_EQ(U8(reused), U8(module->Lines(2, 3)));
}

TEST(CodeModule, ReadOnlyModuleRefusesEveryEditWith40198) {
  const Text code = Lines({u"Option Explicit", u"Sub A()", u"End Sub"});
  auto vbe = HostBuilder().module(u"modMain", code).build();
  auto m = vbe->Component(u"modMain")->CodeModule();
  vbe->SetReadOnly(u"modMain", true);
  const std::function<void()> edits[] = {
      [&] { m->InsertLines(1, u"x"); }, [&] { m->ReplaceLine(1, u"x"); }, [&] { m->DeleteLines(1); },
      [&] { m->AddFromString(u"Sub B()\r\nEnd Sub"); }};
  for (const auto& edit : edits) {
    Text description;
    EXPECT_EQ(ErrorNumberOf(edit, &description), vb::err::kReadOnlyModule);
    EXPECT_EQ(U8(description), "Can't edit module");
  }
  EXPECT_EQ(U8(vbe->Code(u"modMain")), U8(code));
  EXPECT_EQ(U8(m->Lines(1, 1)), "Option Explicit");
  vbe->SetReadOnly(u"modMain", false);
  m->DeleteLines(1);
  EXPECT_EQ(U8(vbe->Code(u"modMain")), U8(Lines({u"Sub A()", u"End Sub"})));
}

TEST(CodeModule, InjectedFailureHitsTheNthCallOnly) {
  auto vbe = HostBuilder().module(u"modMain", u"a").build();
  auto m = vbe->Component(u"modMain")->CodeModule();
  vbe->InjectFailure("CodeModule.InsertLines", 2, 7, u"Out of memory");
  m->InsertLines(1, u"first");
  Text description;
  EXPECT_EQ(ErrorNumberOf([&] { m->InsertLines(1, u"second"); }, &description), 7);
  EXPECT_EQ(U8(description), "Out of memory");
  m->InsertLines(1, u"third");
  EXPECT_EQ(U8(vbe->Code(u"modMain")), U8(Lines({u"third", u"first", u"a"})));

  vbe->InjectFailure("CodeModule.Lines", 1, 9, u"Subscript out of range");
  EXPECT_EQ(ErrorNumberOf([&] { m->Lines(1, 1); }), 9);
  EXPECT_EQ(U8(m->Lines(1, 1)), "third");
}

TEST(Projects, ComponentsOfEveryTypeAndLookupByName) {
  auto vbe = HostBuilder()
                 .project(u"Shapes")
                 .module(u"modMain", u"Option Explicit")
                 .classModule(u"IShape")
                 .form(u"frmMain")
                 .userControl(u"ucDial")
                 .component(u"Resources", host::vbext_ct_ResFile, std::nullopt)
                 .project(u"Tools")
                 .module(u"modTools")
                 .build();
  ASSERT_EQ(vbe->VBProjects()->Count(), 2);
  EXPECT_EQ(U8(vbe->ActiveVBProject()->Name()), "Shapes");
  auto components = vbe->VBProjects()->Item(u"Shapes")->VBComponents();
  ASSERT_EQ(components->Count(), 5);
  const int types[] = {1, 2, 5, 8, 4};
  for (long i = 1; i <= 5; ++i) EXPECT_EQ(components->Item(i)->Type(), types[i - 1]);
  EXPECT_EQ(components->Item(u"resources")->CodeModule(), nullptr);
  EXPECT_NE(components->Item(u"frmmain")->Designer(), nullptr);
  EXPECT_EQ(components->Item(u"IShape")->Designer(), nullptr);
  EXPECT_EQ(components->Item(u"IShape")->CodeModule()->Parent(), components->Item(u"IShape"));
  EXPECT_EQ(ErrorNumberOf([&] { components->Item(u"Missing"); }), vb::err::kSubscriptOutOfRange);
  EXPECT_EQ(U8(vbe->Code(u"Tools.modTools")), "");
  // One pane per module with code, none active until asked for.
  EXPECT_EQ(vbe->CodePanes()->Count(), 5);
  EXPECT_EQ(vbe->ActiveCodePane(), nullptr);
}

}  // namespace
