// Members computed from the code by the declaration scanner.
#include <gtest/gtest.h>

#include "host_test_util.h"
#include "hosts/memory/memory_host.h"

namespace {

using hosts_test::U8;
using memhost::HostBuilder;
using memhost::Lines;
using vb::Text;

struct Expected {
  std::string name;
  int type, scope;
  long line;
  bool operator==(const Expected&) const = default;
};

void PrintTo(const Expected& e, std::ostream* os) {
  *os << e.name << " type " << e.type << " scope " << e.scope << " line " << e.line;
}

std::vector<Expected> MembersOf(const std::shared_ptr<memhost::MemoryVBE>& vbe, const Text& component) {
  auto members = vbe->Component(component)->CodeModule()->Members();
  std::vector<Expected> result;
  for (long i = 1; i <= members->Count(); ++i) {
    auto m = members->Item(i);
    result.push_back({U8(m->Name()), m->Type(), m->Scope(), m->CodeLocation()});
  }
  return result;
}

std::vector<Expected> MembersOf(const Text& code, int componentType = host::vbext_ct_ClassModule) {
  return MembersOf(HostBuilder().component(u"Subject", componentType, code).build(), u"Subject");
}

constexpr int kMethod = host::vbext_mt_Method, kProperty = host::vbext_mt_Property, kVariable = host::vbext_mt_Variable,
              kEvent = host::vbext_mt_Event, kConst = host::vbext_mt_Const;
constexpr int kPrivate = host::vbext_Private, kPublic = host::vbext_Public, kFriend = host::vbext_Friend;

TEST(Members, RealisticClassModule) {
  const Text code = Lines({
      u"Option Explicit",                                                   // 1
      u"Implements IShape",                                                 // 2
      u"",                                                                  // 3
      u"' Raised when the shape moves",                                     // 4
      u"Public Event Moved(ByVal dx As Long, ByVal dy As Long)",            // 5
      u"Private Declare Function GetTickCount Lib \"kernel32\" () As Long",  // 6
      u"Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)",             // 7
      u"Public Const MAX_SIDES As Integer = 12, MIN_SIDES = 3",             // 8
      u"Const PI = 3.14159   ' private: no scope word",                     // 9
      u"Private Enum ShapeKind",                                            // 10
      u"    skCircle",                                                      // 11
      u"    skSquare",                                                      // 12
      u"End Enum",                                                          // 13
      u"Public Type Point",                                                 // 14
      u"    X As Single",                                                   // 15
      u"End Type",                                                          // 16
      u"Private mWidth As Long, mHeight(1 To 2, 3) As Long",                // 17
      u"Dim mName$",                                                        // 18
      u"Public WithEvents mTicker As clsTimer",                             // 19
      u"Public Caption As String, _",                                       // 20
      u"    Tag As Variant",                                                // 21
      u"",                                                                  // 22
      u"Public Property Get Width() As Long",                               // 23
      u"    Dim localValue As Long",                                        // 24
      u"    Width = mWidth",                                                // 25
      u"End Property",                                                      // 26
      u"",                                                                  // 27
      u"Public Property Let Width(ByVal value As Long)",                    // 28
      u"    mWidth = value",                                                // 29
      u"End Property",                                                      // 30
      u"",                                                                  // 31
      u"Friend Sub Resize(ByVal factor As Double)",                         // 32
      u"    Static calls As Long",                                          // 33
      u"End Sub",                                                           // 34
      u"",                                                                  // 35
      u"Function Area() As Double",                                         // 36
      u"    Area = mWidth * mHeight(1, 0)",                                 // 37
      u"End Function",                                                      // 38
      u"",                                                                  // 39
      u"Private Sub Class_Initialize(): End Sub",                           // 40
      u"Private Function IShape_Sides() As Long",                           // 41
      u"End Function",                                                      // 42
  });
  const std::vector<Expected> expected = {
      {"Moved", kEvent, kPublic, 5},          {"GetTickCount", kMethod, kPrivate, 6},
      {"Sleep", kMethod, kPublic, 7},         {"MAX_SIDES", kConst, kPublic, 8},
      {"MIN_SIDES", kConst, kPublic, 8},      {"PI", kConst, kPrivate, 9},
      {"mWidth", kVariable, kPrivate, 17},    {"mHeight", kVariable, kPrivate, 17},
      {"mName", kVariable, kPrivate, 18},     {"mTicker", kVariable, kPublic, 19},
      {"Caption", kVariable, kPublic, 20},    {"Tag", kVariable, kPublic, 20},
      {"Width", kProperty, kPublic, 23},      {"Resize", kMethod, kFriend, 32},
      {"Area", kMethod, kPublic, 36},         {"Class_Initialize", kMethod, kPrivate, 40},
      {"IShape_Sides", kMethod, kPrivate, 41},
  };
  EXPECT_EQ(MembersOf(code), expected);

  auto vbe = HostBuilder().classModule(u"Shape", code).build();
  EXPECT_EQ(vbe->Component(u"Shape")->CodeModule()->CountOfDeclarationLines(), 21);
}

TEST(Members, CommentsStringsAndContinuationsDoNotMakeMembers) {
  const Text code = Lines({
      u"Option Explicit",                             // 1
      u"' Dim commented As Long",                     // 2
      u"Rem Dim remarked As Long",                    // 3
      u"' a comment that goes on _",                  // 4
      u"Dim swallowed As Long",                       // 5 (still the comment)
      u"Private Const Q = \"it's: 'quoted'\"",        // 6
      u"Global gCount As Long: Dim gOther As Long",   // 7
      u"Private Sub _",                               // 8
      u"    Helper(ByVal a As Long)",                 // 9
      u"    Dim inner As Long",                       // 10
      u"End Sub",                                     // 11
      u"Public Property Set Target(ByVal o As Object)",  // 12
      u"End Property",                                // 13
      u"Public Property Get Target() As Object",      // 14
      u"End Property",                                // 15
      u"Public Function helper() As Long",            // 16: same name, other case
      u"End Function",                                // 17
      u"Public Property Get Caf\u00E9() As Long",     // 18: names beyond ASCII
      u"End Property",                                // 19
      u"Public Property Let CAF\u00C9(ByVal v As Long)",  // 20: the same name
      u"End Property",                                // 21
      u"Private Sub [Draw\u0394]()",                  // 22: a character above U+00FF
      u"End Sub",                                     // 23
  });
  const std::vector<Expected> expected = {
      {"Q", kConst, kPrivate, 6},        {"gCount", kVariable, kPublic, 7}, {"gOther", kVariable, kPrivate, 7},
      {"Helper", kMethod, kPrivate, 8},  {"Target", kProperty, kPublic, 12}, {"Caf\u00E9", kProperty, kPublic, 18},
      {"Draw\u0394", kMethod, kPrivate, 22},
  };
  EXPECT_EQ(MembersOf(code, host::vbext_ct_StdModule), expected);
  auto members = HostBuilder().module(u"Subject", code).build()->Component(u"Subject")->CodeModule()->Members();
  EXPECT_EQ(members->Item(u"caf\u00C9")->CodeLocation(), 18);
  EXPECT_EQ(members->Item(u"draw\u0394")->CodeLocation(), 22);
}

TEST(Members, FollowTheCodeAsItChanges) {
  auto vbe = HostBuilder().form(u"Form1", Lines({u"Private Sub Text1_Change()", u"End Sub"})).build();
  auto module = vbe->Component(u"Form1")->CodeModule();
  auto members = module->Members();
  ASSERT_EQ(members->Count(), 1);
  module->InsertLines(1, u"Private mDirty As Boolean\r\n");
  ASSERT_EQ(members->Count(), 2);
  EXPECT_EQ(U8(members->Item(1)->Name()), "mDirty");
  EXPECT_EQ(members->Item(2)->CodeLocation(), 2);
  EXPECT_EQ(hosts_test::ErrorNumberOf([&] { members->Item(3); }), vb::err::kSubscriptOutOfRange);
  // By name, letter case ignored.
  EXPECT_EQ(members->Item(u"MDIRTY")->CodeLocation(), 1);
  EXPECT_EQ(hosts_test::ErrorNumberOf([&] { members->Item(u"mClean"); }), vb::err::kSubscriptOutOfRange);
}

// The module keeps its outline up to date across edits by rescanning only near them; after any
// run of edits, members and the declarations section are what a fresh scan of the code gives.
TEST(Members, EditsKeepTheOutlineAsAFreshScanHasIt) {
  const std::vector<Text> pieces = {
      u"Option Explicit", u"Private mCount As Long, mName As String", u"Private Type Pt: X As Long: End Type",
      u"Public Enum Kind", u"    kOne = 1", u"End Enum", u"' note _", u"Dim swallowed As Long",
      u"Public Sub Work(ByVal a As Long, _", u"        ByVal b As Long)", u"    Dim inner As Long", u"End Sub",
      u"End Sub: Dim afterEnd As Long", u"Public Property Get Count() As Long", u"End Property",
      u"Public Property Let Count(ByVal v As Long)", u"End Property", u"Private Function Twice(x) As Long: End Function",
      u"Public Const LIMIT = 10 _", u"    + 1", u"", u"Sub Helper()", u"Event Changed()", u"Dim [m\u0394] As Long"};
  std::uint64_t seed = 7;
  auto next = [&](std::uint64_t n) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<long>((seed >> 33) % n);
  };
  for (int round = 0; round < 40; ++round) {
    Text code;
    for (int i = 0; i < 30; ++i) code += pieces[static_cast<std::size_t>(next(pieces.size()))] + u"\r\n";
    auto vbe = HostBuilder().module(u"Edited", code).build();
    auto module = vbe->Component(u"Edited")->CodeModule();
    module->Members()->Count();  // scanned once; the edits below are followed from here
    for (int edit = 0; edit < 12; ++edit) {
      const long count = module->CountOfLines();
      const Text piece = pieces[static_cast<std::size_t>(next(pieces.size()))];
      switch (next(4)) {
        case 0: module->ReplaceLine(1 + next(count), piece); break;
        case 1: module->InsertLines(1 + next(count + 1), piece + u"\r\n" + pieces[static_cast<std::size_t>(next(pieces.size()))]); break;
        case 2: if (count > 1) module->DeleteLines(1 + next(count - 1), 1 + next(2)); break;
        default: module->AddFromString(piece); break;
      }
      if (next(3) == 0) continue;  // several edits may come before the next question
      const Text now = vbe->Code(u"Edited");
      SCOPED_TRACE(U8(now));
      EXPECT_EQ(MembersOf(vbe, u"Edited"), MembersOf(now, host::vbext_ct_StdModule));
      auto fresh = HostBuilder().module(u"Fresh", now).build();
      EXPECT_EQ(module->CountOfDeclarationLines(), fresh->Component(u"Fresh")->CodeModule()->CountOfDeclarationLines());
    }
  }
}

}  // namespace
