// Commands change the lines they were asked to and nothing else: a form with a member declared
// in both branches of an #If block, each with its own attribute line, and a file whose lines end
// in CR LF and LF, through every command that writes code.
#include "cli_fixture.h"

namespace cli_test {
namespace {

using HiddenLinesTest = CliTest;

// The Win32 block's lines end in LF, as after a merge from a Unix checkout.
const std::string kWindow =
    "VERSION 5.00\r\n"
    "Begin VB.Form frmWindow \r\n"
    "   Caption         =   \"Window\"\r\n"
    "   ClientHeight    =   3000\r\n"
    "   ClientWidth     =   4000\r\n"
    "   Begin VB.TextBox Text1 \r\n"
    "      Height          =   285\r\n"
    "      Left            =   120\r\n"
    "      TabIndex        =   0\r\n"
    "      Top             =   120\r\n"
    "      Width           =   2000\r\n"
    "   End\r\n"
    "End\r\n"
    "Attribute VB_Name = \"frmWindow\"\r\n"
    "Attribute VB_GlobalNameSpace = False\r\n"
    "Attribute VB_Creatable = False\r\n"
    "Attribute VB_PredeclaredId = True\r\n"
    "Attribute VB_Exposed = False\r\n"
    "Option Explicit\r\n"
    "\r\n"
    "Private mHandle As Long\r\n"
    "\r\n"
    "Private Sub Form_Load()\r\n"
    "    mHandle = 0\r\n"
    "End Sub\r\n"
    "\r\n"
    "#If VBA7 Then\r\n"
    "Public Property Get WindowHandle() As LongPtr\r\n"
    "Attribute WindowHandle.VB_UserMemId = -515\r\n"
    "#Else\n"
    "Public Property Get WindowHandle() As Long\n"
    "Attribute WindowHandle.VB_UserMemId = -515\n"
    "#End If\n"
    "    WindowHandle = mHandle\r\n"
    "End Property\r\n"
    "\r\n"
    "Private Sub Text1_Change()\r\n"
    "Attribute Text1_Change.VB_Description = \"Keeps the caption.\"\r\n"
    "    Caption = Text1.Text\r\n"
    "End Sub\r\n";

// Code lines of kWindow (the code window's numbers).
constexpr int kWin64DeclarationLine = 10;
constexpr int kElseLine = 11;
constexpr int kWin32DeclarationLine = 12;
constexpr int kBodyLine = 14;

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// The block `now` holds that `before` does not, when that is all that differs; "<changed>" otherwise.
std::string Inserted(const std::string& before, const std::string& now) {
  std::size_t head = 0;
  while (head < before.size() && head < now.size() && before[head] == now[head]) ++head;
  std::size_t tail = 0;
  while (tail < before.size() - head && tail < now.size() - head &&
         before[before.size() - 1 - tail] == now[now.size() - 1 - tail])
    ++tail;
  if (head + tail != before.size()) return "<changed>";
  return now.substr(head, now.size() - head - tail);
}

TEST_F(HiddenLinesTest, EveryCommandKeepsEachDeclarationsHiddenLinesAndEveryLineEnd) {
  ASSERT_EQ(Run({"piece", "store", "Trace", "-"}, "Debug.Print \"<@what@>\"").code, 0);
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string expected;  // the whole file; empty: compare the inserted block below
    std::string inserted = {};
  };
  const std::string form = "frmWindow.frm";
  const Case cases[] = {
      {"comment", {"comment", form, "--lines", std::to_string(kBodyLine)},
       ReplaceAll(kWindow, "    WindowHandle = mHandle\r\n", "'    WindowHandle = mHandle\r\n")},
      {"comment in the LF block", {"comment", form, "--lines", std::to_string(kElseLine)},
       ReplaceAll(kWindow, "#Else\n", "'#Else\n")},
      {"control rename", {"control", "rename", form, "Text1", "txtName"},
       ReplaceAll(ReplaceAll(kWindow, "Text1_", "txtName_"), "Text1", "txtName")},
      {"property", {"property", form, "--name", "Zoom", "--type", "Long"}, "",
       "Private propZoom As Long\r\n"},
      {"piece insert", {"piece", "insert", "Trace", form, "--line", std::to_string(kWin32DeclarationLine + 1), "--tag",
                        "what=32-bit"},
       "", "Debug.Print \"32-bit\"\n"},
      {"header", {"header", form, "--line", std::to_string(kWin64DeclarationLine), "--author", "Ann Lee",
                  "--description", "The window."},
       "", "' Return Value: As LongPtr\r\n"},
      {"header in the LF block", {"header", form, "--line", std::to_string(kWin32DeclarationLine), "--author",
                                  "Ann Lee", "--description", "The window."},
       "", "' Return Value: As Long\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(project / "frmWindow.frm", kWindow);
    std::vector<std::string> args = c.args;
    for (auto& arg : args)
      if (arg == form) arg = File(form);
    args.push_back("-q");
    const Result result = Run(args);
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string now = Read("frmWindow.frm");
    if (!c.expected.empty()) {
      EXPECT_EQ(now, c.expected);
      continue;
    }
    // One block inserted, nothing else touched; its lines end as the line before them does.
    const std::string block = Inserted(kWindow, now);
    EXPECT_NE(block.find(c.inserted), std::string::npos) << block;
    EXPECT_EQ(block.find("Attribute"), std::string::npos) << block;
  }
}

TEST_F(HiddenLinesTest, ADroppedAttributeIsNamedOnStandardError) {
  WriteFile(project / "frmWindow.frm", kWindow);
  // --quiet keeps the warning of a lost line.
  const Result result =
      Run({"comment", File("frmWindow.frm"), "--lines", std::to_string(kWin32DeclarationLine), "--quiet"});
  EXPECT_EQ(result.code, 0);
  EXPECT_EQ(result.err, "vb6kit comment: " + (project / "frmWindow.frm").generic_string() +
                            ": member WindowHandle: dropped hidden line: Attribute WindowHandle.VB_UserMemId = -515\n");
  EXPECT_EQ(Read("frmWindow.frm"),
            ReplaceAll(kWindow, "Public Property Get WindowHandle() As Long\nAttribute WindowHandle.VB_UserMemId = -515\n",
                       "'Public Property Get WindowHandle() As Long\n"));

  // A property keeps its attributes while one of its procedures stays: they go after it.
  const std::string getAndLet =
      "Attribute VB_Name = \"modSize\"\r\nPrivate mSize As Long\r\n"
      "Public Property Get Size() As Long\r\nAttribute Size.VB_UserMemId = 0\r\n"
      "Attribute Size.VB_MemberFlags = \"40\"\r\n    Size = mSize\r\nEnd Property\r\n"
      "Public Property Let Size(ByVal Value As Long)\r\n    mSize = Value\r\nEnd Property\r\n";
  WriteFile(project / "modSize.bas", getAndLet);
  const Result kept = Run({"comment", File("modSize.bas"), "--lines", "2-4"});
  EXPECT_EQ(kept.err, File("modSize.bas") + ": 3 lines commented out\n");
  EXPECT_EQ(Read("modSize.bas"),
            "Attribute VB_Name = \"modSize\"\r\nPrivate mSize As Long\r\n"
            "'Public Property Get Size() As Long\r\n'    Size = mSize\r\n'End Property\r\n"
            "Public Property Let Size(ByVal Value As Long)\r\nAttribute Size.VB_UserMemId = 0\r\n"
            "Attribute Size.VB_MemberFlags = \"40\"\r\n    mSize = Value\r\nEnd Property\r\n");
}

// Comment out line 1 of a module and un-comment it: the same bytes, for every module file of the
// repository's examples and test data (files that do not load are no modules to keep).
TEST_F(HiddenLinesTest, CommentAndUncommentOfTheFirstLineGiveTheSameBytesForEveryModuleFile) {
  const fs::path source(VB6KIT_SOURCE_DIR);
  std::vector<fs::path> modules;
  for (const char* folder : {"examples", "tests", "fuzz"}) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(source / folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
      std::string extension = it->path().extension().string();
      for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      for (const char* kind : {".bas", ".cls", ".frm", ".ctl", ".pag", ".dob", ".dsr"})
        if (extension == kind && it->is_regular_file()) modules.push_back(it->path());
    }
  }
  int checked = 0;
  for (const fs::path& module : modules) {
    SCOPED_TRACE(module.string());
    const fs::path copy = root / module.filename();
    fs::copy_file(module, copy, fs::copy_options::overwrite_existing);
    const std::string original = ReadFile(copy);
    Result result = Run({"comment", copy.string(), "--lines", "1"});
    if (result.code == 2 && module.string().find("examples") == std::string::npos) continue;
    ASSERT_EQ(result.code, 0) << result.err;
    const bool dropped = result.err.find(": dropped hidden line: ") != std::string::npos;
    EXPECT_NE(ReadFile(copy), original);
    result = Run({"uncomment", copy.string(), "--lines", "1"});
    ASSERT_EQ(result.code, 0) << result.err;
    if (!dropped) {
      EXPECT_EQ(ReadFile(copy), original);
    }
    ++checked;
  }
  EXPECT_GE(checked, 4);
}

}  // namespace
}  // namespace cli_test
