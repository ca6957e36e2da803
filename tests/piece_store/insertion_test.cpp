// Inserting a piece: placeholder tags, the insertion point and the failures of the insertion.
#include "pellmoss_fixture.h"
#include "piece_store/frm_replace.h"

namespace pellmoss_test {
namespace {

using InsertionTest = PellmossTest;

const Text kModule = memhost::Lines({u"Option Explicit", u"", u"Sub Main()", u"End Sub"});

// Answers each tag dialog with the next answer (nullopt: closes it without OK) and records the
// names it was asked for.
struct TagAnswers {
  std::vector<std::optional<Text>> answers;
  std::vector<Text> asked;
  std::vector<Text> captions;
};

void AnswerTags(scripted::ScriptedToolkit& toolkit, TagAnswers& tags) {
  toolkit.On(u"frmReplace", [&tags](ui::Form& f) {
    auto& dialog = dynamic_cast<pellmoss::frmReplace&>(f);
    tags.captions.push_back(dialog.lblCodeTag.caption());
    EXPECT_EQ(dialog.txtCodeReplace.text(), u"");
    const std::size_t n = tags.asked.size();
    tags.asked.push_back(dialog.CodeTag());
    std::optional<Text> answer = n < tags.answers.size() ? tags.answers[n] : std::nullopt;
    if (!answer) {
      f.CloseBox();
      return;
    }
    scripted::Type(f, u"txtCodeReplace", *answer);
    scripted::Click(f, u"cmdOk");
  });
}

TEST_F(InsertionTest, TagsAreAskedOnceEachAndReplacedEverywhere) {
  struct Case {
    const char16_t* piece;
    std::vector<std::optional<Text>> answers;
    std::vector<Text> asked;
    Text inserted;
  };
  const Case cases[] = {
      {u"If <@cond@> Then", {u"x > 1"}, {u"cond"}, u"If x > 1 Then"},
      {u"<@v@> = <@v@> + <@v@>", {u"i"}, {u"v"}, u"i = i + i"},
      {u"<@Name@> <@NAME@>", {u"n"}, {u"Name"}, u"n <@NAME@>"},
      {u"a<@@>b", {u"-"}, {u""}, u"a-b"},
      {u"x <@> y", {}, {}, u"x <@> y"},
      {u"<@a@> then <@b without end", {u"1"}, {u"a"}, u"1 then <@b without end"},
      {u"<@a<@b@>", {u"A", u"B"}, {u"a<@b", u"b"}, u"A"},
      {u"<@b@> <@a<@b@>", {u"B", u"A"}, {u"b", u"a<@b"}, u"B <@aB"},
      {u"Dim <@name@> As <@type@>", {u"i", std::nullopt}, {u"name", u"type"}, u"Dim i As "},
      {u"<@two\r\nlines@>", {u"one"}, {u"two\r\nlines"}, u"one"},
      {u"Call <@p@>(<@q@>)", {u"Go", u"1\r\n2"}, {u"p", u"q"}, u"Call Go(1\r\n2)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.piece));
    Disconnect();
    Seed({{u"Piece", c.piece}}, {u"Piece"});
    Connect(kModule, {3, 4, 4, 2});
    TagAnswers tags{c.answers, {}, {}};
    AnswerTags(home.toolkit, tags);
    vbe->Click(kPopup, u"Piece");
    EXPECT_EQ(tags.asked, c.asked);
    for (std::size_t i = 0; i < tags.asked.size(); ++i)
      EXPECT_EQ(tags.captions[i], u"The following code tag was found : " + tags.asked[i]);
    EXPECT_EQ(vbe->Code(u"Module1"), memhost::Lines({u"Option Explicit", u"", c.inserted, u"Sub Main()", u"End Sub"}));
    EXPECT_TRUE(home.toolkit.messages().empty());
  }
}

TEST_F(InsertionTest, PieceGoesAboveTheLineWhereTheSelectionStarts) {
  struct Case {
    host::Selection selection;
    Text code;
  };
  const Case cases[] = {
      {{1, 1, 1, 1}, memhost::Lines({u"Beep", u"Beep", u"Option Explicit", u"", u"Sub Main()", u"End Sub"})},
      {{1, 5, 3, 2}, memhost::Lines({u"Beep", u"Beep", u"Option Explicit", u"", u"Sub Main()", u"End Sub"})},
      {{4, 1, 4, 1}, memhost::Lines({u"Option Explicit", u"", u"Sub Main()", u"Beep", u"Beep", u"End Sub"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selection.startLine);
    Disconnect();
    Seed({{u"Twice", u"Beep\r\nBeep"}}, {u"Twice"});
    Connect(kModule, c.selection);
    vbe->Click(kPopup, u"Twice");
    EXPECT_EQ(vbe->Code(u"Module1"), c.code);
  }
}

TEST_F(InsertionTest, ReadOnlyModuleIsReportedAndLeftAsItWas) {
  Seed({{u"Piece", u"If <@cond@> Then"}}, {u"Piece"});
  Connect(kModule);
  TagAnswers tags{{u"x"}, {}, {}};
  AnswerTags(home.toolkit, tags);
  vbe->SetReadOnly(u"Module1", true);
  vbe->Click(kPopup, u"Piece");
  EXPECT_EQ(home.toolkit.messages(),
            std::vector{Info(u"An error occurred trying to add code to the current module.  The most likely cause is the "
                             u"file is read-only, probably due to Source Control.  Please check out the file or make the "
                             u"file writeable.",
                             u"Can't Edit File")});
  EXPECT_EQ(vbe->Code(u"Module1"), kModule);
}

TEST_F(InsertionTest, OtherInsertionErrorShowsItsNumberInTheTitle) {
  Seed({{u"Piece", u"Beep"}});
  Connect(kModule);
  vbe->InjectFailure("CodeModule.InsertLines", 1, 1004, u"Application-defined or object-defined error");
  bool closed = false;
  home.toolkit.Once(u"frmRetrieveCode", [&](ui::Form& f) {
    scripted::Click(f, u"cmdOk");
    closed = !f.visible();
  });
  vbe->Click(kPopup, kRetrieveEntry);
  EXPECT_EQ(home.toolkit.messages(),
            std::vector{Info(u"Application-defined or object-defined error", u"Error Occurred : 1004")});
  EXPECT_TRUE(closed);
  EXPECT_EQ(vbe->Code(u"Module1"), kModule);
}

TEST_F(InsertionTest, FailureBeforeTheInsertionKeepsTheRetrievalDialogOpen) {
  Seed({{u"Piece", u"Beep"}});
  Connect(kModule);
  vbe->InjectFailure("CodePane.GetSelection", 1, 91, u"Object variable or With block variable not set");
  bool open = false;
  home.toolkit.Once(u"frmRetrieveCode", [&](ui::Form& f) {
    scripted::Click(f, u"cmdOk");
    open = f.visible();
  });
  vbe->Click(kPopup, kRetrieveEntry);
  EXPECT_EQ(home.toolkit.messages(),
            std::vector{Info(u"An error occurred trying to insert the selected code.  The error was : Object variable "
                             u"or With block variable not set",
                             u"Error Inserting Code")});
  EXPECT_TRUE(open);
  EXPECT_EQ(vbe->Code(u"Module1"), kModule);
}

TEST_F(InsertionTest, WithoutACodePaneNothingIsInsertedAndTheDeveloperIsTold) {
  Seed({{u"Piece", u"If <@cond@> Then"}}, {u"Piece"});
  vbe = memhost::HostBuilder().project(u"Project1").module(u"Module1", kModule).build();
  ConnectTo();
  TagAnswers tags{{u"x"}, {}, {}};
  AnswerTags(home.toolkit, tags);
  const scripted::MessageBox noPane =
      Info(u"You must be in a code window to insert a code segment.", u"No Code Pane Available");

  vbe->Click(kPopup, u"Piece");
  EXPECT_EQ(home.toolkit.messages(), std::vector{noPane});

  home.toolkit.ClearMessages();
  home.toolkit.Once(u"frmRetrieveCode", [](ui::Form& f) { scripted::Click(f, u"cmdOk"); });
  vbe->Click(kPopup, kRetrieveEntry);
  EXPECT_EQ(home.toolkit.messages(), std::vector{noPane});

  EXPECT_TRUE(tags.asked.empty());
  EXPECT_EQ(vbe->Code(u"Module1"), kModule);
}

TEST_F(InsertionTest, TagScanYieldsToTheUserInterface) {
  Seed({{u"Piece", u"<@a@> <@b@> <@c@>"}}, {u"Piece"});
  Connect(kModule);
  TagAnswers tags{{u"1", u"2", u"3"}, {}, {}};
  AnswerTags(home.toolkit, tags);
  const int before = home.toolkit.doEventsCount();
  vbe->Click(kPopup, u"Piece");
  // One pass per tag found and one that finds no more.
  EXPECT_EQ(home.toolkit.doEventsCount() - before, 4);
  EXPECT_EQ(vbe->Code(u"Module1"), memhost::Lines({u"Option Explicit", u"", u"1 2 3", u"Sub Main()", u"End Sub"}));
}

}  // namespace
}  // namespace pellmoss_test
