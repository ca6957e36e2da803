// Comment out and un-comment, clicked from the code window's menu.
#include "comment_fixture.h"

namespace comment_test {
namespace {

const Text kModule = Lines({u"Option Explicit", u"", u"Private Sub Form_Load()", u"    x = 1", u"    y = 2",
                            u"End Sub", u"' note", u"Dim z"});

struct MarkCase {
  const char* name;
  Text code;
  host::Selection selection;
  const char16_t* entry;
  Text expected;
};

TEST(CommentMarks, ChangeEveryLineTheSelectionTouches) {
  const MarkCase cases[] = {
      {"selection 3:5 to 5:1 takes lines 3 to 5", kModule, {3, 5, 5, 1}, kCommentOut,
       Lines({u"Option Explicit", u"", u"'Private Sub Form_Load()", u"'    x = 1", u"'    y = 2", u"End Sub",
              u"' note", u"Dim z"})},
      {"a caret takes its own line only", kModule, {7, 3, 7, 3}, kCommentOut,
       Lines({u"Option Explicit", u"", u"Private Sub Form_Load()", u"    x = 1", u"    y = 2", u"End Sub",
              u"'' note", u"Dim z"})},
      {"an empty line becomes the mark alone", kModule, {2, 1, 2, 1}, kCommentOut,
       Lines({u"Option Explicit", u"'", u"Private Sub Form_Load()", u"    x = 1", u"    y = 2", u"End Sub",
              u"' note", u"Dim z"})},
      {"a selection past the last line changes what exists", kModule, {7, 1, 12, 4}, kCommentOut,
       Lines({u"Option Explicit", u"", u"Private Sub Form_Load()", u"    x = 1", u"    y = 2", u"End Sub",
              u"'' note", u"'Dim z"})},
      {"two marks lose one", Lines({u"''x = 1", u"y"}), {1, 1, 1, 1}, kUncomment, Lines({u"'x = 1", u"y"})},
      {"an indented mark stays", Lines({u"    ' x = 1", u"'y"}), {1, 1, 2, 3}, kUncomment,
       Lines({u"    ' x = 1", u"y"})},
      {"a Rem statement stays", Lines({u"Rem old", u"'a = 1"}), {1, 1, 2, 1}, kUncomment, Lines({u"Rem old", u"a = 1"})},
      {"un-comment of the mark alone leaves an empty line", Lines({u"'", u"x"}), {1, 1, 1, 1}, kUncomment,
       Lines({u"", u"x"})},
  };
  for (const MarkCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::TestHome home;
    Connected ide(HostBuilder().project(u"Project1").module(u"Module1", c.code).activePane(u"Module1", c.selection).build());
    ide.vbe->Click(kBar, c.entry);
    EXPECT_EQ(ide.vbe->Code(u"Module1"), c.expected);
    EXPECT_TRUE(home.toolkit.messages().empty());
    EXPECT_TRUE(home.log.lines.empty());
  }
}

TEST(CommentMarks, IndentedAndEmptyLinesRoundTripCharacterForCharacter) {
  testing_support::TestHome home;
  const Text code = Lines({u"Sub A()", u"    If x Then  ", u"", u"\tz = 3 ' keep", u"End Sub"});
  Connected ide(HostBuilder().project(u"Project1").module(u"Module1", code).activePane(u"Module1", {2, 1, 4, 9}).build());

  ide.vbe->Click(kBar, kCommentOut);
  EXPECT_EQ(ide.vbe->Code(u"Module1"), Lines({u"Sub A()", u"'    If x Then  ", u"'", u"'\tz = 3 ' keep", u"End Sub"}));

  ide.vbe->Click(kBar, kUncomment);
  EXPECT_EQ(ide.vbe->Code(u"Module1"), code);
}

TEST(CommentMarks, WithoutACodePaneBothCommandsReportAndLog) {
  struct ErrorCase {
    const char16_t* entry;
    Text log;
    Text message;
  };
  const ErrorCase cases[] = {
      {kCommentOut, u"The following error occurred trying to comment out code: ",
       u"The following error occurred trying to comment out the current selection : "},
      {kUncomment, u"The following error occurred trying to uncomment out a selection of code : ",
       u"An error occurred trying to uncomment out the current selection : "},
  };
  for (const ErrorCase& c : cases) {
    testing_support::TestHome home;
    Connected ide(HostBuilder().project(u"Project1").module(u"Module1", u"x = 1").build());
    ide.vbe->Click(kBar, c.entry);
    const Text description = u"Object variable or With block variable not set";
    ASSERT_EQ(home.toolkit.messages().size(), 1u);
    EXPECT_EQ(home.toolkit.messages()[0],
              (scripted::MessageBox{c.message + description, ui::vbInformation, u"Error Occurred"}));
    EXPECT_EQ(home.log.lines, std::vector<Text>{Logged(c.log + description)});
    EXPECT_EQ(ide.vbe->Code(u"Module1"), u"x = 1");
  }
}

TEST(CommentMarks, AFailedReplaceStopsTheLoopAndKeepsEarlierLines) {
  testing_support::TestHome home;
  Connected ide(HostBuilder().project(u"Project1").module(u"Module1", Lines({u"a", u"b", u"c"}))
                    .activePane(u"Module1", {1, 1, 3, 1}).build());
  ide.vbe->InjectFailure("CodeModule.ReplaceLine", 2, 40198, u"Module is read-only");
  ide.vbe->Click(kBar, kCommentOut);
  EXPECT_EQ(ide.vbe->Code(u"Module1"), Lines({u"'a", u"b", u"c"}));
  ASSERT_EQ(home.toolkit.messages().size(), 1u);
  EXPECT_EQ(home.toolkit.messages()[0].prompt,
            u"The following error occurred trying to comment out the current selection : Module is read-only");
  EXPECT_EQ(home.log.lines,
            std::vector<Text>{Logged(u"The following error occurred trying to comment out code: Module is read-only")});
}

}  // namespace
}  // namespace comment_test
