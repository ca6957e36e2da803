#include <algorithm>

#include "cli_fixture.h"

namespace cli_test {
namespace {

using PieceTest = CliTest;

TEST_F(PieceTest, StoreListShowEditMenuAndDelete) {
  Result result = Run({"piece", "store", "Greeting", "--menu", "-"}, "MsgBox \"<@text@>\", , \"<@title@>\"\n");
  ASSERT_EQ(result.code, 0) << result.err;
  WriteFile(root / "loop.txt", "For i = 1 To <@count@>\r\n    Debug.Print i\r\nNext\r\n");
  result = Run({"piece", "store", "Loop", "--file", (root / "loop.txt").string()});
  ASSERT_EQ(result.code, 0) << result.err;
  // Whole lines of a module, as the code window's selection gives them.
  result = Run({"piece", "store", "Tax", "--from", File("modStock.bas"), "--lines", "47-53"});
  ASSERT_EQ(result.code, 0) << result.err;

  result = Run({"piece", "list"});
  EXPECT_EQ(result.out, "* Greeting\n  Loop\n  Tax\n");
  result = Run({"piece", "list", "--format", "json"});
  EXPECT_EQ(result.out,
            "{\"pieces\": [{\"name\": \"Greeting\", \"menu\": true}, {\"name\": \"Loop\", \"menu\": false}, "
            "{\"name\": \"Tax\", \"menu\": false}]}\n");
  result = Run({"piece", "show", "loop"});
  EXPECT_EQ(result.out, "For i = 1 To <@count@>\n    Debug.Print i\nNext\n");
  result = Run({"piece", "show", "Tax"});
  EXPECT_EQ(result.out.substr(0, result.out.find('\n')),
            "Public Function PriceWithTax(ByVal Price As Currency, ByVal Taxable As Boolean) As Currency");
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 7);

  result = Run({"piece", "edit", "Loop", "-"}, "Do\nLoop\n");
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(Run({"piece", "show", "Loop"}).out, "Do\nLoop\n");

  ASSERT_EQ(Run({"piece", "menu", "Tax", "on"}).code, 0);
  ASSERT_EQ(Run({"piece", "menu", "greeting", "off"}).code, 0);
  EXPECT_EQ(Run({"piece", "list"}).out, "  Greeting\n  Loop\n* Tax\n");

  ASSERT_EQ(Run({"piece", "delete", "Loop"}).code, 0);
  EXPECT_EQ(Run({"piece", "list"}).out, "  Greeting\n* Tax\n");
}

TEST_F(PieceTest, RefusalsAndUnknownPieces) {
  ASSERT_EQ(Run({"piece", "store", "Twice", "-"}, "x").code, 0);
  Result result = Run({"piece", "store", "twice", "-"}, "y");
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err,
            "vb6kit piece store: Code Segment Name not Unique: The entered code segment name has already been used.  "
            "Please use a unique name for each code segment.\n");
  EXPECT_EQ(Run({"piece", "show", "Twice"}).out, "x\n");

  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"piece", "show", "Nobody"}, {"piece", "delete", "Nobody"}, {"piece", "menu", "Nobody", "on"},
           {"piece", "edit", "Nobody", "-"}}) {
    result = Run(args);
    EXPECT_EQ(result.code, 2) << args[1];
    EXPECT_NE(result.err.find("no piece named 'Nobody'"), std::string::npos) << result.err;
  }
  // A folder given as the text's file is refused: it read as an empty text.
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"piece", "edit", "Twice", "--file", project.string()}, {"piece", "store", "Empty", "--file", project.string()}}) {
    result = Run(args);
    EXPECT_EQ(result.code, 2) << args[1];
    EXPECT_EQ(result.err, "vb6kit piece " + args[1] + ": " + project.string() + ": is a folder, not a file\n");
  }
  EXPECT_EQ(Run({"piece", "list"}).out, "  Twice\n");
  EXPECT_EQ(Run({"piece", "show", "Twice"}).out, "x\n");
  result = Run({"piece", "menu", "Twice", "maybe"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("must be on or off"), std::string::npos);
  result = Run({"piece", "frobnicate"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("unknown verb 'frobnicate'"), std::string::npos);
  // Code line 32 goes on the header of AddLine: the piece would cut it in two.
  result = Run({"piece", "insert", "Twice", File("modStock.bas"), "--line", "32"});
  EXPECT_EQ(result.code, 2);
  EXPECT_EQ(result.err, "vb6kit piece insert: --line 32: the line goes on the statement of line 31 (continued with "
                        "\" _\"); insert above line 31 or after the statement\n");
  EXPECT_EQ(Read("modStock.bas"), Original("modStock.bas"));
}

TEST_F(PieceTest, NamesAreTrimmedEverywhereAndABarAtEitherEndIsRefused) {
  for (const char* name : {"Ping|", "|Ping", " Open||Close "}) {
    const Result result = Run({"piece", "store", name, "-"}, "x");
    EXPECT_EQ(result.code, 1) << name;
    EXPECT_EQ(result.err,
              "vb6kit piece store: Invalid Segment Name: A code segment name cannot contain \"||\" nor begin or end "
              "with \"|\".\n")
        << name;
  }
  ASSERT_EQ(Run({"piece", "store", "  Pi|pe ", "-"}, "<@@> = 1").code, 0);
  EXPECT_EQ(Run({"piece", "list"}).out, "  Pi|pe\n");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"piece", "show", " pi|pe  "},
           {"piece", "edit", "  Pi|pe", "-"},
           {"piece", "menu", "PI|PE ", "on"},
           {"piece", "insert", " Pi|pe ", File("modStock.bas"), "--line", "2", "--tag", "=x"},
           {"piece", "delete", "  pi|pe  "}}) {
    const Result result = Run(args, "<@@> = 2");
    EXPECT_EQ(result.code, 0) << args[1] << ": " << result.err;
  }
  EXPECT_EQ(Run({"piece", "list"}).out, "");
  // The empty tag <@@> took the value of --tag =x.
  EXPECT_NE(Read("modStock.bas").find("Option Explicit\r\nx = 2\r\n"), std::string::npos) << Read("modStock.bas");
}

TEST_F(PieceTest, TheMenuTakesAtMostTenPiecesAndAFullMenuRefusesWithExitOne) {
  for (int i = 1; i <= 11; ++i)
    ASSERT_EQ(Run({"piece", "store", "P" + std::to_string(i), "-"}, "x").code, 0);
  for (int i = 1; i <= 10; ++i) ASSERT_EQ(Run({"piece", "menu", "P" + std::to_string(i), "on"}).code, 0);
  const std::string full =
      ": the retrieval menu already offers 10 pieces; take one off first (vb6kit piece menu NAME off)\n";
  Result result = Run({"piece", "menu", "P11", "on"});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err, "vb6kit piece menu" + full);
  // Storing with --menu stores nothing rather than a piece left off the menu.
  for (const std::vector<std::string>& store : std::vector<std::vector<std::string>>{
           {"piece", "store", "P12", "--menu", "-"}, {"piece", "store", "P12", "--menu", "--from", File("modStock.bas"),
                                                     "--lines", "1-2"}}) {
    result = Run(store, "y");
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "vb6kit piece store" + full);
  }
  const std::string list = Run({"piece", "list"}).out;
  EXPECT_EQ(list.find("* P11"), std::string::npos);
  EXPECT_EQ(list.find("P12"), std::string::npos);
  // One taken off makes room.
  ASSERT_EQ(Run({"piece", "menu", "P1", "off"}).code, 0);
  result = Run({"piece", "store", "P12", "--menu", "-"}, "y");
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.err, "piece P12 stored, offered in the menu\n");
}

TEST_F(PieceTest, InsertReplacesTagsAboveTheLine) {
  ASSERT_EQ(Run({"piece", "store", "Check", "-"}, "If <@cond@> Then\r\n    <@action@>\r\nEnd If").code, 0);
  // Code line 44 is "    LineCount = mLineCount".
  Result result = Run({"piece", "insert", "Check", File("modStock.bas"), "--line", "44", "--tag", "cond=mLineCount > 0",
                       "--tag", "ACTION=Beep"});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_NE(Read("modStock.bas").find(CrLf({"Public Function LineCount() As Integer", "If mLineCount > 0 Then",
                                              "    Beep", "End If", "    LineCount = mLineCount"})),
            std::string::npos);
}

TEST_F(PieceTest, MissingTagsAreAskedOnATerminalAndRefusedOtherwise) {
  ASSERT_EQ(Run({"piece", "store", "Check", "-"}, "If <@cond@> Then <@action@>").code, 0);
  const auto before = Snapshot();
  Result result = Run({"piece", "insert", "Check", File("modStock.bas"), "--line", "1", "--tag", "cond=True"});
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("no value for <@action@>"), std::string::npos) << result.err;
  // A value for a tag the piece does not have (misspelt) is refused, not dropped.
  result = Run({"piece", "insert", "Check", File("modStock.bas"), "--line", "1", "--tag", "cond=True", "--tag",
                "ACTION=Stop", "--tag", "actoin=Beep"});
  EXPECT_EQ(result.code, 2);
  EXPECT_EQ(result.err, "vb6kit piece insert: --tag actoin=Beep: piece Check has no tag <@actoin@> (see: vb6kit piece "
                        "show Check)\n");
  // Two values for one tag (letter case aside): the second was dropped without a word.
  result = Run({"piece", "insert", "Check", File("modStock.bas"), "--line", "1", "--tag", "cond=True", "--tag",
                "action=Stop", "--tag", "ACTION=Beep"});
  EXPECT_EQ(result.code, 2);
  EXPECT_EQ(result.err, "vb6kit piece insert: --tag ACTION=Beep: the tag <@action@> has a value already (action=Stop)\n");
  EXPECT_EQ(Snapshot(), before);

  result = Run({"piece", "insert", "Check", File("modStock.bas"), "--line", "1"}, "A = 1\nStop\n", true);
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.err, "Value for <@cond@>: Value for <@action@>: " + File("modStock.bas") +
                            ": piece Check inserted above line 1 (1 line)\n");
  EXPECT_NE(Read("modStock.bas").find("Attribute VB_Name = \"modStock\"\r\nIf A = 1 Then Stop\r\nOption Explicit\r\n"), std::string::npos)
      << Read("modStock.bas");
}

// A stream that edits the module when the command first reads from it: the file changes on
// disk while the command waits for a typed value.
class EditingStream : public std::streambuf {
 public:
  EditingStream(fs::path file, std::string text) : file_(std::move(file)), text_(std::move(text)) {}

 protected:
  int_type underflow() override {
    if (!edited_) {
      edited_ = true;
      WriteFile(file_, ReadFile(file_) + "' edited elsewhere\r\n");
      setg(text_.data(), text_.data(), text_.data() + text_.size());
    }
    return gptr() < egptr() ? traits_type::to_int_type(*gptr()) : traits_type::eof();
  }

 private:
  fs::path file_;
  std::string text_;
  bool edited_ = false;
};

TEST_F(PieceTest, AFileChangedOnDiskWhileTheCommandRanIsNotOverwritten) {
  ASSERT_EQ(Run({"piece", "store", "Say", "-"}, "Debug.Print \"<@what@>\"").code, 0);
  EditingStream buffer(project / "modStock.bas", "hello\n");
  std::istream in(&buffer);
  const Result result = RunWith({"piece", "insert", "Say", File("modStock.bas"), "--line", "2"}, in, true);
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find("modStock.bas"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("changed on disk"), std::string::npos) << result.err;
  EXPECT_EQ(Read("modStock.bas"), Original("modStock.bas") + "' edited elsewhere\r\n");
}

}  // namespace
}  // namespace cli_test
