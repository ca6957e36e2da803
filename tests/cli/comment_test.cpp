#include <regex>

#include "cli_fixture.h"

namespace cli_test {
namespace {

using CommentTest = CliTest;

// Header dates come from the clock; the tests compare everything else.
std::string WithoutDates(const std::string& text) {
  return std::regex_replace(text, std::regex(R"(\d\d/\d\d/\d\d\d\d( \d\d:\d\d:\d\d)?)"), "<date>");
}

TEST_F(CommentTest, CommentOutAndUncommentRoundTrip) {
  // modStock's code window starts after its Attribute line: code line 43 is file line 44.
  Result result = Run({"comment", File("modStock.bas"), "--lines", "43-45"});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out, "");
  const std::string commented = Read("modStock.bas");
  EXPECT_NE(commented.find(CrLf({"'Public Function LineCount() As Integer", "'    LineCount = mLineCount",
                                 "'End Function", ""})),
            std::string::npos);
  EXPECT_EQ(commented.size(), Original("modStock.bas").size() + 3);

  result = Run({"uncomment", File("modStock.bas"), "--lines", "40-46"});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(Read("modStock.bas"), Original("modStock.bas"));
}

TEST_F(CommentTest, DryRunPrintsTheDiffAndWritesNothing) {
  const auto before = Snapshot();
  const Result result = Run({"--dry-run", "comment", File("modStock.bas"), "--lines", "5"});
  EXPECT_EQ(result.code, 0) << result.err;
  // A unified diff of the module: its two file lines name it, then the hunk, in the file's own
  // line ends.
  EXPECT_EQ(result.out.rfind("--- ", 0), 0u) << result.out;
  EXPECT_NE(result.out.find("modStock.bas\n+++ "), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("\n-Public Const APP_TITLE As String = \"Inventaire\"\r\n"
                            "+'Public Const APP_TITLE As String = \"Inventaire\"\r\n"),
            std::string::npos)
      << result.out;
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(CommentTest, HeaderAndRevisionAreWrittenAboveTheProcedure) {
  Result result = Run({"header", File("modStock.bas"), "--line", "44", "--author", "Ann Lee", "--description",
                       "How many lines the stock holds."});
  ASSERT_EQ(result.code, 0) << result.err;
  result = Run({"revision", File("modStock.bas"), "--line", "58", "--text", "Counts from one."});
  ASSERT_EQ(result.code, 0) << result.err;
  // The revision author defaults to the name stored by the header.
  const std::string header = CrLf({"' **************************************************", "' Method Name: LineCount",
                                   "' Method Scope: Public", "' Author: Ann Lee", "' Date: <date>",
                                   "' Parameters: ", "'\t\t", "' Return Value: As Integer", "' Description: ",
                                   "' \tHow many lines the stock holds.", "' REVISIONS:",
                                   "'\t\tAnn Lee - <date>", "' \t\t\tCounts from one.", "' END REVISIONS:",
                                   "' **************************************************",
                                   "Public Function LineCount() As Integer"});
  const std::string text = WithoutDates(Read("modStock.bas"));
  EXPECT_NE(text.find(header), std::string::npos) << text;
}

TEST_F(CommentTest, RefusalsPrintTheMessageExitOneAndWriteNothing) {
  const auto before = Snapshot();
  Result result = Run({"header", File("modStock.bas"), "--line", "2", "--author", "Ann"});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err,
            "vb6kit header: Not a method: You must place the cursor in a method before you can add a function header.\n");
  result = Run({"revision", File("modStock.bas"), "--line", "44"});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err,
            "vb6kit revision: No Method Header: You do not have a method header.  Please add one before adding "
            "revisions.\n");
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(CommentTest, MembersPrintsTheNavigatorTree) {
  Result result = Run({"members", File("frmMain.frm")});
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out,
            "frmMain Members\n"
            "  Sink Event Variables\n"
            "    mProduct  line 5\n"
            "  Object Variables\n"
            "    mCategory  line 6\n"
            "  Subroutines\n"
            "    Form_Load  line 8\n"
            "    cmdAdd_Click  line 18\n"
            "    optCategory_Click  line 31\n"
            "    tmrClock_Timer  line 35\n"
            "    mProduct_QuantityChanged  line 39\n");

  result = Run({"members", File("modStock.bas"), "--format", "json"});
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out, Expected("modStock_members.json"));

  // VB names ignore letter case; a category is no member to go to.
  for (const auto& [name, line] : std::vector<std::pair<std::string, std::string>>{
           {"tmrClock_Timer", "35\n"}, {"TMRCLOCK_TIMER", "35\n"}, {"mcategory", "6\n"}}) {
    result = Run({"members", File("frmMain.frm"), "--goto", name});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, line) << name;
  }
  EXPECT_EQ(Run({"members", File("frmMain.frm"), "--goto", "subroutines"}).code, 2);
}

TEST_F(CommentTest, BadLinesAndMembersExitTwoAndNameTheProblem) {
  const auto before = Snapshot();
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"comment", File("modStock.bas"), "--lines", "0"}, "--lines 0: lines count from 1"},
      {{"comment", File("modStock.bas"), "--lines", "9-3"}, "the range ends before it starts"},
      {{"comment", File("modStock.bas"), "--lines", "x"}, "give a line A or a range A-B"},
      {{"comment", File("modStock.bas"), "--lines", "60-70"}, "line 70 is past the end of"},
      {{"comment", File("modStock.bas")}, "missing --lines"},
      {{"uncomment", File("Nothing.bas"), "--lines", "1"}, "Nothing.bas: no such file"},
      {{"header", File("Inventory.vbp"), "--line", "1"}, "not a project"},
      {{"members", File("frmMain.frm"), "--goto", "Nobody"}, "--goto: no member 'Nobody'"},
      {{"header", File("modStock.bas"), "--line", "-4"}, "--line -4: a line number counts from 1"},
      {{"header", File("modStock.bas"), "--line", "4", "-x"}, "unknown option -x"},
  };
  for (const Case& c : cases) {
    const Result result = Run(c.args);
    EXPECT_EQ(result.code, 2) << c.message << " / " << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(CommentTest, AFileNotOfVb6IsRefused) {
  WriteFile(project / "broken.frm", "this is not a form\r\n");
  const Result result = Run({"comment", File("broken.frm"), "--lines", "1"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("broken.frm"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace cli_test
