// The function header dialog, opened from the code window's menu and answered as a person would.
#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include "comment_fixture.h"

namespace comment_test {
namespace {

const Text kStars = u"' **************************************************";

// The header lines the dialog should write, from literal parts.
std::vector<Text> Header(const Text& name, const Text& scope, const Text& author, std::vector<Text> parameters,
                         const Text& returnValue, std::vector<Text> description,
                         const Text& date = u"12/07/2026 09:30:15") {
  std::vector<Text> lines{kStars, u"' Method Name: " + name, u"' Method Scope: " + scope, u"' Author: " + author,
                          u"' Date: " + date, u"' Parameters: "};
  for (const Text& p : parameters) lines.push_back(u"'\t\t" + p);
  lines.push_back(u"' Return Value: " + returnValue);
  lines.push_back(u"' Description: ");
  for (const Text& d : description) lines.push_back(u"' \t" + d);
  lines.push_back(u"' REVISIONS:");
  lines.push_back(u"' END REVISIONS:");
  lines.push_back(kStars);
  return lines;
}

Text Join(std::vector<Text> before, const std::vector<Text>& middle, const std::vector<Text>& after) {
  before.insert(before.end(), middle.begin(), middle.end());
  before.insert(before.end(), after.begin(), after.end());
  return vb::Join(before, vb::kCrLf);
}

// Opens the header dialog with the caret on `caretLine`, types the author and description, adds.
void AddHeader(testing_support::TestHome& home, Connected& ide, const Text& description, const Text& author = u"jdoe") {
  home.toolkit.Once(u"frmFunction", [&](ui::Form& form) {
    scripted::Type(form, u"txtUsername", author);
    scripted::Type(form, u"txtDescr", description);
    scripted::Click(form, u"cmdAdd");
  });
  ide.vbe->Click(kBar, kHeader);
}

TEST(FunctionHeader, TotalGetsTheWholeBlockAboveItsDeclaration) {
  testing_support::TestHome home;
  const std::vector<Text> before{u"Option Explicit", u""};
  const std::vector<Text> procedure{u"Public Function Total(ByVal a As Long, b As String) As Currency",
                                    u"    Total = a + Len(b)", u"End Function"};
  Connected ide(HostBuilder().project(u"Project1").module(u"Module1", Join(before, procedure, {}))
                    .activePane(u"Module1", {4, 7, 4, 7}).build());
  Text nameShown;
  home.toolkit.Once(u"frmFunction", [&](ui::Form& form) {
    nameShown = form.Find<ui::TextBox>(u"txtFuncname")->text();
    scripted::Type(form, u"txtUsername", u"jdoe");
    scripted::Type(form, u"txtDescr", u"Adds the length of b to a.");
    scripted::Click(form, u"cmdAdd");
  });
  ide.vbe->Click(kBar, kHeader);

  EXPECT_EQ(nameShown, u"Total");
  const std::vector<Text> expected{kStars,
                                   u"' Method Name: Total",
                                   u"' Method Scope: Public",
                                   u"' Author: jdoe",
                                   u"' Date: 12/07/2026 09:30:15",
                                   u"' Parameters: ",
                                   u"'\t\tByVal a As Long",
                                   u"'\t\tb As String",
                                   u"' Return Value: As Currency",
                                   u"' Description: ",
                                   u"' \tAdds the length of b to a.",
                                   u"' REVISIONS:",
                                   u"' END REVISIONS:",
                                   kStars};
  EXPECT_EQ(ide.vbe->Code(u"Module1"), Join(before, expected, procedure));
  EXPECT_EQ(vb::GetSetting(u"Ravlen", u"Comment", u"Username"), u"jdoe");
  EXPECT_EQ(home.toolkit.shownForms(), std::vector<Text>{u"frmFunction"});
  EXPECT_TRUE(home.toolkit.messages().empty());
}

struct HeaderCase {
  const char* name;
  std::vector<Text> before, procedure, after;
  long caret;
  Text description;
  std::vector<Text> header;  // expected, inserted between before and procedure
};

TEST(FunctionHeader, DeclarationsAndDescriptions) {
  const Text a130 = Text(49, u'a') + u" " + Text(80, u'b');
  const Text exactly60 = u"one two three four five six seven eight nine ten eleven tw12";
  const Text long2 = u"Second line runs on past the sixtieth column and then it wraps here nicely";
  const HeaderCase cases[] = {
      {"sub without parameters", {}, {u"Private Sub Form_Load()", u"    Me.Caption = \"x\"", u"End Sub"}, {}, 2, u"Loads.",
       Header(u"Form_Load", u"Private", u"jdoe", {u""}, u"VOID", {u"Loads."})},
      {"a function named with Sub is VOID", {u"Option Explicit"},
       {u"Public Function SubTotal(x As Long) As Long", u"SubTotal = x", u"End Function"}, {}, 3, u"",
       Header(u"SubTotal", u"Public", u"jdoe", {u"x As Long"}, u"VOID", {u""})},
      {"no As clause is Variant", {}, {u"Friend Function Twice(x)", u"Twice = x * 2", u"End Function"}, {}, 1, u"Doubles.",
       Header(u"Twice", u"Friend", u"jdoe", {u"x"}, u"Variant", {u"Doubles."})},
      {"declaration continued over two lines", {u"Option Explicit", u""},
       {u"Public Function Join2(ByVal a As String, _", u"    ByVal b As String) As String", u"Join2 = a & b",
        u"End Function"},
       {}, 5, u"Joins.",
       Header(u"Join2", u"Public", u"jdoe", {u"ByVal a As String", u"ByVal b As String"}, u"As String", {u"Joins."})},
      {"130 characters without a blank after 60", {}, {u"Sub Go()", u"End Sub"}, {}, 1, a130,
       Header(u"Go", u"Public", u"jdoe", {u""}, u"VOID", {a130, u""})},
      {"exactly 60 characters stay on one line", {}, {u"Sub Go()", u"End Sub"}, {}, 1, exactly60,
       Header(u"Go", u"Public", u"jdoe", {u""}, u"VOID", {exactly60})},
      {"every typed line keeps its comment mark", {}, {u"Sub Go()", u"End Sub"}, {}, 2,
       u"First line\r\n" + long2 + u"\r\nThird line",
       Header(u"Go", u"Public", u"jdoe", {u""}, u"VOID",
              {u"First line", u"Second line runs on past the sixtieth column and then it wraps", u"here nicely",
               u"Third line"})},
      {"a property procedure", {u"Private mValue As Long"},
       {u"Public Property Get Value() As Long", u"    Value = mValue", u"End Property"}, {}, 3, u"Reads.",
       Header(u"Value", u"Public", u"jdoe", {u""}, u"As Long", {u"Reads."})},
      // Where the procedure at the caret starts: never past another procedure's End line.
      {"caret between two procedures takes the one below", {u"Private Sub First(a, b)", u"End Sub", u"", u""},
       {u"Private Sub Second()", u"End Sub"}, {}, 3, u"x",
       Header(u"Second", u"Private", u"jdoe", {u""}, u"VOID", {u"x"})},
      {"caret in the comment above a declaration", {u"Sub First()", u"End Sub", u"' Second does it all."},
       {u"Private Sub Second()", u"End Sub"}, {}, 3, u"x",
       Header(u"Second", u"Private", u"jdoe", {u""}, u"VOID", {u"x"})},
      {"caret on the blank line after an Event", {u"Option Explicit", u"Public Event Changed()", u""},
       {u"Public Sub Go()", u"End Sub"}, {}, 3, u"x", Header(u"Go", u"Public", u"jdoe", {u""}, u"VOID", {u"x"})},
      {"a property declared without a scope word", {u"Sub Before()", u"End Sub"},
       {u"Property Get Size() As Long", u"    Size = 1", u"End Property"}, {}, 4, u"x",
       Header(u"Size", u"Public", u"jdoe", {u""}, u"As Long", {u"x"})},
      {"a Static sub", {u"Sub Before()", u"End Sub"}, {u"Static Sub Tally(ByVal n As Long)", u"End Sub"}, {}, 4, u"x",
       Header(u"Tally", u"Public", u"jdoe", {u"ByVal n As Long"}, u"VOID", {u"x"})},
      {"a one-line function", {u"Sub Before()", u"End Sub"},
       {u"Public Function Compare(ByRef a As Variant, ByRef b As Variant) As Long: End Function"}, {u"Sub After()"}, 3,
       u"x", Header(u"Compare", u"Public", u"jdoe", {u"ByRef a As Variant", u"ByRef b As Variant"}, u"As Long", {u"x"})},
      {"a one-line sub with a comment", {}, {u"Public Sub Clear(): End Sub ' empties (all of it)"}, {}, 1, u"x",
       Header(u"Clear", u"Public", u"jdoe", {u""}, u"VOID", {u"x"})},
      {"defaults holding commas and parentheses", {},
       {u"Public Function Find(Optional ByVal s As String = \"a, (b\", Optional n As Long = Max(1, 2)) As Long() ' f",
        u"End Function"},
       {}, 2, u"x",
       Header(u"Find", u"Public", u"jdoe", {u"Optional ByVal s As String = \"a, (b\"", u"Optional n As Long = Max(1, 2)"},
              u"As Long()", {u"x"})},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::TestHome home;
    const Text code = Join(c.before, c.procedure, c.after);
    Connected ide(HostBuilder().project(u"Project1").form(u"Form1", code).activePane(u"Form1", {c.caret, 1, c.caret, 1}).build());
    AddHeader(home, ide, c.description);
    std::vector<Text> rest = c.procedure;
    rest.insert(rest.end(), c.after.begin(), c.after.end());
    EXPECT_EQ(ide.vbe->Code(u"Form1"), Join(c.before, c.header, rest));
    EXPECT_TRUE(home.toolkit.messages().empty());
  }
}

TEST(FunctionHeader, NotAMethodWritesNothing) {
  struct Case {
    const char* name;
    Text code;
    long caret;
  };
  const Case cases[] = {
      {"caret on a module-level variable", Lines({u"Private mCount As Long", u"", u"Sub Go()", u"End Sub"}), 1},
      {"caret on an array variable", Lines({u"Private mItems(10) As Long", u"Sub Go()", u"End Sub"}), 1},
      {"caret on a constant", Lines({u"Private Const MAX As Long = 2", u"Sub Go()", u"End Sub"}), 1},
      {"module without procedures", Lines({u"Option Explicit", u"Dim x As Long"}), 2},
      {"caret on an Event", Lines({u"Public Event Changed()", u"", u"Sub Go()", u"End Sub"}), 1},
      {"caret on a Declare",
       Lines({u"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", u"Sub Go()", u"End Sub"}), 1},
      {"caret below the last procedure", Lines({u"Sub Go()", u"End Sub", u"", u"' the end"}), 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::TestHome home;
    Connected ide(HostBuilder().project(u"Project1").module(u"Module1", c.code).activePane(u"Module1", {c.caret, 1, c.caret, 1}).build());
    bool answered = false;
    home.toolkit.Once(u"frmFunction", [&](ui::Form&) { answered = true; });
    ide.vbe->Click(kBar, kHeader);
    EXPECT_FALSE(answered);
    EXPECT_EQ(home.toolkit.messages(),
              (std::vector<scripted::MessageBox>{
                  {u"You must place the cursor in a method before you can add a function header.", ui::vbInformation,
                   u"Not a method"}}));
    EXPECT_EQ(ide.vbe->Code(u"Module1"), c.code);
    EXPECT_TRUE(home.log.lines.empty());
  }
}

TEST(FunctionHeader, CancelWritesNothingAndStoresNoAuthor) {
  testing_support::TestHome home;
  const Text code = Lines({u"Sub Go()", u"End Sub"});
  Connected ide(HostBuilder().project(u"Project1").module(u"Module1", code).activePane(u"Module1", {1, 1, 1, 1}).build());
  home.toolkit.Once(u"frmFunction", [&](ui::Form& form) {
    scripted::Type(form, u"txtUsername", u"someone");
    scripted::Click(form, u"cmdCancel");
  });
  ide.vbe->Click(kBar, kHeader);
  EXPECT_EQ(ide.vbe->Code(u"Module1"), code);
  EXPECT_EQ(vb::GetSetting(u"Ravlen", u"Comment", u"Username", u"(none)"), u"(none)");
}

#ifndef _WIN32
TEST(FunctionHeader, AuthorComesFromTheSettingElseTheLoginName) {
  testing_support::TestHome home;
  Connected ide(HostBuilder().project(u"Project1").module(u"Module1", Lines({u"Sub Go()", u"End Sub"}))
                    .activePane(u"Module1", {1, 1, 1, 1}).build());
  std::vector<Text> shown;
  home.toolkit.On(u"frmFunction", [&](ui::Form& form) {
    shown.push_back(form.Find<ui::TextBox>(u"txtUsername")->text());
    scripted::Click(form, u"cmdCancel");
  });

  ide.vbe->Click(kBar, kHeader);
  vb::SaveSetting(u"Ravlen", u"Comment", u"Username", u"Stored Name");
  ide.vbe->Click(kBar, kHeader);

  const passwd* entry = getpwuid(getuid());
  ASSERT_NE(entry, nullptr);
  std::string login = entry->pw_name;
  for (char& ch : login) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  EXPECT_EQ(shown, (std::vector<Text>{vb::FromUtf8(login), u"Stored Name"}));
}
#endif

TEST(FunctionHeader, DateUsesTheSystemSeparators) {
  testing_support::TestHome home;
  vb::RuntimeScope dotted(vb::Runtime{&home.toolkit, &home.settings, &home.clock, &home.log, u".", u"."});
  Connected ide(HostBuilder().project(u"Project1").module(u"Module1", Lines({u"Sub Go()", u"End Sub"}))
                    .activePane(u"Module1", {1, 1, 1, 1}).build());
  AddHeader(home, ide, u"d");
  EXPECT_EQ(ide.vbe->Code(u"Module1"),
            Join({}, Header(u"Go", u"Public", u"jdoe", {u""}, u"VOID", {u"d"}, u"12.07.2026 09.30.15"),
                 {u"Sub Go()", u"End Sub"}));
}

TEST(FunctionHeader, AFailureWhileOpeningIsReportedAndLogged) {
  testing_support::TestHome home;
  Connected ide(HostBuilder().project(u"Project1").module(u"Module1", u"Sub Go()\r\nEnd Sub").build());
  ide.vbe->Click(kBar, kHeader);
  const Text description = u"Object variable or With block variable not set";
  EXPECT_EQ(home.toolkit.messages(),
            (std::vector<scripted::MessageBox>{
                {u"An error occurred trying to display the Function Header form: " + description, ui::vbInformation,
                 u"Error Occurred"}}));
  EXPECT_EQ(home.log.lines,
            std::vector<Text>{Logged(u"The following error occurred in the FunctionMenuHandler callback event: " + description)});
}

TEST(FunctionHeader, AReadOnlyModuleIsReportedAndLeftAsItWas) {
  testing_support::TestHome home;
  const Text code = Lines({u"Sub Go()", u"End Sub"});
  Connected ide(HostBuilder().project(u"Project1").module(u"Module1", code).activePane(u"Module1", {1, 1, 1, 1}).build());
  ide.vbe->SetReadOnly(u"Module1", true);
  AddHeader(home, ide, u"Goes.");
  EXPECT_EQ(ide.vbe->Code(u"Module1"), code);
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  const Text prefix = u"An error occurred trying to display the Function Header form: ";
  const scripted::MessageBox box = home.toolkit.messages()[0];
  ASSERT_TRUE(vb::StartsWith(box.prompt, prefix)) << vb::ToUtf8(box.prompt);
  const Text description = box.prompt.substr(prefix.size());
  EXPECT_FALSE(description.empty());
  EXPECT_EQ(home.log.lines,
            std::vector<Text>{Logged(u"The following error occurred in the FunctionMenuHandler callback event: " + description)});
  // The dialog closed with the failure: the next click opens a working one.
  ide.vbe->SetReadOnly(u"Module1", false);
  AddHeader(home, ide, u"Goes.");
  EXPECT_EQ(ide.vbe->Code(u"Module1"),
            Join({}, Header(u"Go", u"Public", u"jdoe", {u""}, u"VOID", {u"Goes."}), {u"Sub Go()", u"End Sub"}));
}

}  // namespace
}  // namespace comment_test
