// Revision entries added to a header through the revision dialog.
#include "comment_fixture.h"

namespace comment_test {
namespace {

const Text kStars = u"' **************************************************";

// A header as the header dialog writes it for `Sub Go()`, with `entries` in its revision section.
std::vector<Text> GoHeader(const std::vector<Text>& entries) {
  std::vector<Text> lines{kStars,           u"' Method Name: Go", u"' Method Scope: Public", u"' Author: jdoe",
                          u"' Date: 12/07/2026 09:30:15", u"' Parameters: ", u"'\t\t", u"' Return Value: VOID",
                          u"' Description: ", u"' \tGoes.", u"' REVISIONS:"};
  lines.insert(lines.end(), entries.begin(), entries.end());
  lines.push_back(u"' END REVISIONS:");
  lines.push_back(kStars);
  lines.push_back(u"Sub Go()");
  lines.push_back(u"    x = 1");
  lines.push_back(u"End Sub");
  return lines;
}

void AddRevision(testing_support::TestHome& home, Connected& ide, const Text& text, const Text& author = u"jdoe") {
  home.toolkit.Once(u"frmRevision", [text, author](ui::Form& form) {
    scripted::Type(form, u"txtUsername", author);
    scripted::Type(form, u"txtRevision", text);
    scripted::Click(form, u"cmdAdd");
  });
  ide.vbe->Click(kBar, kRevision);
}

TEST(Revision, TwoEntriesOnAFreshHeaderLandOldestFirst) {
  testing_support::TestHome home;
  Connected ide(HostBuilder().project(u"Project1").module(u"Module1", Lines({u"Sub Go()", u"    x = 1", u"End Sub"}))
                    .activePane(u"Module1", {2, 1, 2, 1}).build());
  home.toolkit.Once(u"frmFunction", [](ui::Form& form) {
    scripted::Type(form, u"txtUsername", u"jdoe");
    scripted::Type(form, u"txtDescr", u"Goes.");
    scripted::Click(form, u"cmdAdd");
  });
  ide.vbe->Click(kBar, kHeader);
  ASSERT_EQ(ide.vbe->Code(u"Module1"), vb::Join(GoHeader({}), vb::kCrLf));

  // The caret stays on the procedure's body, now further down.
  ide.vbe->SetActivePane(u"Module1", {15, 3, 15, 3});
  Text methodShown;
  home.toolkit.Once(u"frmRevision", [&](ui::Form& form) {
    methodShown = form.Find<ui::Label>(u"lblMethodNameText")->caption();
    scripted::Type(form, u"txtRevision", u"First fix");
    scripted::Click(form, u"cmdAdd");
  });
  ide.vbe->Click(kBar, kRevision);
  home.clock.Set(vb::DateTime{2026, 12, 8, 17, 5, 9});
  ide.vbe->SetActivePane(u"Module1", {17, 3, 17, 3});
  AddRevision(home, ide, u"Second fix", u"ann");

  EXPECT_EQ(methodShown, u"Go");
  EXPECT_EQ(ide.vbe->Code(u"Module1"),
            vb::Join(GoHeader({u"'\t\tjdoe - 12/07/2026 09:30:15", u"' \t\t\tFirst fix", u"'\t\tann - 12/08/2026 17:05:09",
                               u"' \t\t\tSecond fix"}),
                     vb::kCrLf));
  EXPECT_EQ(vb::GetSetting(u"Ravlen", u"Comment", u"Username"), u"ann");
  EXPECT_TRUE(home.toolkit.messages().empty());
}

TEST(Revision, TheEntryGoesIntoTheHeaderOfTheProcedureAtTheCaret) {
  // Two procedures with headers; B's declaration takes the shapes the locator must know.
  const auto module = [](std::vector<Text> b, const std::vector<Text>& entryOfA, const std::vector<Text>& entryOfB) {
    std::vector<Text> lines{u"Option Explicit", u"Public Event Changed()", u"", kStars, u"' REVISIONS:"};
    lines.insert(lines.end(), entryOfA.begin(), entryOfA.end());
    for (const Text& line : {Text(u"' END REVISIONS:"), Text(kStars), Text(u"Private Sub A()"), Text(u"    x = 1"),
                             Text(u"End Sub"), Text(), Text(kStars), Text(u"' REVISIONS:")})
      lines.push_back(line);
    lines.insert(lines.end(), entryOfB.begin(), entryOfB.end());
    lines.push_back(u"' END REVISIONS:");
    lines.push_back(kStars);
    lines.insert(lines.end(), b.begin(), b.end());
    return vb::Join(lines, vb::kCrLf);
  };
  const std::vector<Text> entry{u"'\t\tjdoe - 12/07/2026 09:30:15", u"' \t\t\tfix"};
  struct Case {
    const char* name;
    std::vector<Text> b;
    long caret;
    bool intoA;
  };
  const Case cases[] = {
      {"caret on B's own header", {u"Private Sub B()", u"End Sub"}, 13, false},
      {"caret on B's first header line", {u"Private Sub B()", u"End Sub"}, 12, false},
      {"caret on the blank line above B's header", {u"Private Sub B()", u"End Sub"}, 11, false},
      {"caret on A's End line", {u"Private Sub B()", u"End Sub"}, 10, true},
      {"caret on the blank line after the Event", {u"Private Sub B()", u"End Sub"}, 3, true},
      {"a Static sub", {u"Static Sub B()", u"    Dim n As Long", u"End Sub"}, 18, false},
      {"a property without a scope word", {u"Property Get B() As Long", u"End Property"}, 17, false},
      {"a one-line procedure", {u"Public Sub B(): End Sub"}, 16, false},
      {"a declaration over two lines", {u"Public Function B(ByVal a As Long, _", u"    ByVal c As Long) As Long",
                                        u"End Function"}, 17, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::TestHome home;
    Connected ide(HostBuilder().project(u"Project1").module(u"Module1", module(c.b, {}, {}))
                      .activePane(u"Module1", {c.caret, 1, c.caret, 1}).build());
    AddRevision(home, ide, u"fix");
    EXPECT_EQ(ide.vbe->Code(u"Module1"), c.intoA ? module(c.b, entry, {}) : module(c.b, {}, entry));
    EXPECT_TRUE(home.toolkit.messages().empty());
  }
}

TEST(Revision, EntryTextWrapsAndKeepsItsMarks) {
  const Text sixty = Text(60, u'x');
  struct Case {
    const char* name;
    Text typed;
    std::vector<Text> entry;
  };
  const Case cases[] = {
      {"empty text", u"", {u"'\t\tjdoe - 12/07/2026 09:30:15", u"' \t\t\t"}},
      {"61 characters whose only blank is the last", sixty + u" ",
       {u"'\t\tjdoe - 12/07/2026 09:30:15", u"' \t\t\t" + sixty, u"' \t\t\t"}},
      {"every typed line keeps its mark", u"Fixed the total.\r\nrm -rf is not code\r\n\r\nDone",
       {u"'\t\tjdoe - 12/07/2026 09:30:15", u"' \t\t\tFixed the total.", u"' \t\t\trm -rf is not code", u"' \t\t\t",
        u"' \t\t\tDone"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::TestHome home;
    Connected ide(HostBuilder().project(u"Project1").module(u"Module1", vb::Join(GoHeader({}), vb::kCrLf))
                      .activePane(u"Module1", {14, 1, 14, 1}).build());
    AddRevision(home, ide, c.typed);
    EXPECT_EQ(ide.vbe->Code(u"Module1"), vb::Join(GoHeader(c.entry), vb::kCrLf));
  }
}

TEST(Revision, NoHeaderAboveTheDeclaration) {
  struct Case {
    const char* name;
    Text code;
    long caret;
  };
  const Case cases[] = {
      {"a plain comment block above a code line",
       Lines({u"Dim y", u"' Does things.", u"' More about it.", u"Sub Go()", u"End Sub"}), 5},
      {"a blank line between header and declaration",
       Lines({kStars, u"' REVISIONS:", u"' END REVISIONS:", kStars, u"", u"Sub Go()", u"End Sub"}), 6},
      {"a declaration on line 1", Lines({u"Sub Go()", u"End Sub"}), 1},
      {"comments up to line 1 without the marker", Lines({u"' just a note", u"Sub Go()", u"End Sub"}), 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::TestHome home;
    Connected ide(HostBuilder().project(u"Project1").module(u"Module1", c.code).activePane(u"Module1", {c.caret, 1, c.caret, 1}).build());
    AddRevision(home, ide, u"text", u"bob");
    EXPECT_EQ(ide.vbe->Code(u"Module1"), c.code);
    EXPECT_EQ(home.toolkit.messages(),
              (std::vector<scripted::MessageBox>{{u"You do not have a method header.  Please add one before adding revisions.",
                                                  ui::vbInformation, u"No Method Header"}}));
    // The name typed was stored before the search.
    EXPECT_EQ(vb::GetSetting(u"Ravlen", u"Comment", u"Username"), u"bob");
  }
}

TEST(Revision, NotAMethodAndOpeningErrors) {
  {
    testing_support::TestHome home;
    const Text code = Lines({u"Public Event Changed()", u"Private mCount As Long", u"Sub Go()", u"End Sub"});
    Connected ide(HostBuilder().project(u"Project1").module(u"Module1", code).activePane(u"Module1", {1, 1, 1, 1}).build());
    AddRevision(home, ide, u"text");
    EXPECT_EQ(ide.vbe->Code(u"Module1"), code);
    EXPECT_EQ(home.toolkit.messages(),
              (std::vector<scripted::MessageBox>{{u"You must place the cursor in a method before you can add a revision comment.",
                                                  ui::vbInformation, u"Not a method"}}));
  }
  {
    testing_support::TestHome home;
    Connected ide(HostBuilder().project(u"Project1").module(u"Module1", u"Sub Go()\r\nEnd Sub").build());
    ide.vbe->Click(kBar, kRevision);
    const Text description = u"Object variable or With block variable not set";
    EXPECT_EQ(home.toolkit.messages(),
              (std::vector<scripted::MessageBox>{{u"An error occurred trying to display the Revision Editor dialog : " + description,
                                                  ui::vbInformation, u"Error Occurred"}}));
    EXPECT_EQ(home.log.lines,
              std::vector<Text>{Logged(u"The following error occurred trying to display the Revision Form : " + description)});
    // The single dialog is closed again: the next click opens it afresh.
    ide.vbe->SetActivePane(u"Module1", {1, 1, 1, 1});
    home.toolkit.ClearMessages();
    bool answered = false;
    home.toolkit.Once(u"frmRevision", [&](ui::Form& form) {
      answered = true;
      scripted::Click(form, u"cmdCancel");
    });
    ide.vbe->Click(kBar, kRevision);
    EXPECT_TRUE(answered);
  }
}

}  // namespace
}  // namespace comment_test
