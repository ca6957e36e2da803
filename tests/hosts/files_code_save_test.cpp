// A changed module keeps its header and module attributes; member attributes follow their
// members, and go only with them; only changed modules are written.
#include <gtest/gtest.h>

#include "files_test_util.h"
#include "host_test_util.h"
#include "hosts/files/workspace.h"

namespace {

using files::Workspace;
using files_test::Crlf;
using files_test::ReadFile;
using files_test::ScratchDir;
using files_test::WriteFile;
namespace fs = std::filesystem;

const std::string kHeader =
    "VERSION 1.0 CLASS\n"
    "BEGIN\n"
    "  MultiUse = -1  'True\n"
    "END\n"
    "Attribute VB_Name = \"clsShapes\"\n"
    "Attribute VB_GlobalNameSpace = False\n"
    "Attribute VB_Creatable = True\n"
    "Attribute VB_PredeclaredId = False\n"
    "Attribute VB_Exposed = True\n"
    "Attribute VB_Ext_KEY = \"SavedWithClassBuilder6\" ,\"Yes\"\n";

const std::string kShapes = kHeader +
    "Option Explicit\n"
    "\n"
    "Public WithEvents Canvas As PictureBox\n"
    "Attribute Canvas.VB_VarHelpID = -1\n"
    "Private mItems As Collection\n"
    "\n"
    "Public Property Get Item(ByVal Index As Variant) _\n"
    "    As Object\n"
    "Attribute Item.VB_UserMemId = 0\n"
    "Attribute Item.VB_Description = \"Returns one shape.\"\n"
    "    Set Item = mItems(Index)\n"
    "End Property\n"
    "\n"
    "Public Function NewEnum() As IUnknown\n"
    "Attribute NewEnum.VB_UserMemId = -4\n"
    "Attribute NewEnum.VB_MemberFlags = \"40\"\n"
    "    Set NewEnum = mItems.[_NewEnum]\n"
    "End Function\n"
    "\n"
    "Public Property Get Count() As Long\n"
    "    Count = mItems.Count\n"
    "End Property\n";

// The edits an add-in makes through the code module: a variable, a procedure above Item, a
// changed body, NewEnum removed.
void EditShapes(host::CodeModule& module) {
  module.InsertLines(5, u"Private mName As String");
  module.InsertLines(7, u"Public Sub Clear()\r\n    Set mItems = New Collection\r\nEnd Sub\r\n");
  // Item's header is now on lines 10-11; NewEnum on 15-17, the blank line after it on 18.
  ASSERT_EQ(hosts_test::U8(module.Lines(15, 1)), "Public Function NewEnum() As IUnknown");
  module.DeleteLines(15, 4);
  module.ReplaceLine(module.CountOfLines() - 1, u"    Count = mItems.Count + 0");
}

const std::string kShapesEdited = kHeader +
    "Option Explicit\n"
    "\n"
    "Public WithEvents Canvas As PictureBox\n"
    "Attribute Canvas.VB_VarHelpID = -1\n"
    "Private mItems As Collection\n"
    "Private mName As String\n"
    "\n"
    "Public Sub Clear()\n"
    "    Set mItems = New Collection\n"
    "End Sub\n"
    "Public Property Get Item(ByVal Index As Variant) _\n"
    "    As Object\n"
    "Attribute Item.VB_UserMemId = 0\n"
    "Attribute Item.VB_Description = \"Returns one shape.\"\n"
    "    Set Item = mItems(Index)\n"
    "End Property\n"
    "\n"
    "Public Property Get Count() As Long\n"
    "    Count = mItems.Count + 0\n"
    "End Property\n";

TEST(FilesCodeSave, AChangedClassKeepsItsHeaderAndEachMemberAttributeFollowsItsMember) {
  struct Case {
    const char* name;
    std::string (*ends)(const std::string&);
  };
  for (const Case& c : {Case{"CR LF", Crlf}, Case{"LF", [](const std::string& s) { return s; }}}) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    const fs::path path = dir / "clsShapes.cls";
    WriteFile(path, c.ends(kShapes));
    Workspace ws = Workspace::Load(path);
    auto module = ws.vbe()->Component(u"clsShapes")->CodeModule();
    EXPECT_EQ(hosts_test::U8(module->Lines(1, 3)), "Option Explicit\r\n\r\nPublic WithEvents Canvas As PictureBox");
    EditShapes(*module);

    auto changes = ws.PendingChanges();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].newBytes, c.ends(kShapesEdited));
    EXPECT_EQ(ws.Save(), std::vector<fs::path>{path});
    EXPECT_EQ(ReadFile(path), c.ends(kShapesEdited));
    EXPECT_TRUE(ws.PendingChanges().empty());
    EXPECT_TRUE(ws.Save().empty());
    // What was saved loads again to the same code.
    Workspace again = Workspace::Load(path);
    EXPECT_EQ(again.vbe()->Code(u"clsShapes"), ws.vbe()->Code(u"clsShapes"));
  }
}

TEST(FilesCodeSave, OnlyTheChangedModuleIsWrittenAndTheFormKeepsEveryOtherLine) {
  ScratchDir dir;
  const fs::path vbp = dir.CopyExample();
  const std::string form = ReadFile(dir / "frmMain.frm");
  const std::string others[] = {ReadFile(dir / "modStock.bas"), ReadFile(dir / "clsProduct.cls")};
  Workspace ws = Workspace::Load(vbp);
  auto module = ws.vbe()->Component(u"frmMain")->CodeModule();
  long line = 0;
  for (long i = 1; i <= module->CountOfLines(); ++i)
    if (module->Lines(i, 1) == u"Private Sub tmrClock_Timer()") line = i;
  ASSERT_GT(line, 0);
  module->InsertLines(line + 1, u"    Beep");

  const std::string anchor = "Private Sub tmrClock_Timer()\r\n";
  std::string expected = form;
  expected.insert(expected.find(anchor) + anchor.size(), "    Beep\r\n");
  EXPECT_EQ(ws.Save(), std::vector<fs::path>{dir / "frmMain.frm"});
  EXPECT_EQ(ReadFile(dir / "frmMain.frm"), expected);
  EXPECT_EQ(ReadFile(dir / "modStock.bas"), others[0]);
  EXPECT_EQ(ReadFile(dir / "clsProduct.cls"), others[1]);
}

TEST(FilesCodeSave, TheDiffShowsThePendingChangesInUnifiedForm) {
  ScratchDir dir;
  const fs::path path = dir / "modA.bas";
  WriteFile(path, Crlf("Attribute VB_Name = \"modA\"\nOption Explicit\n\n' caf\xE9\nPublic Sub A()\n    x = 1\n"
                       "End Sub\n\nPublic Sub B()\nEnd Sub\n\nPublic Sub C()\nEnd Sub\n"));
  Workspace ws = Workspace::Load(path);
  auto module = ws.vbe()->Component(u"modA")->CodeModule();
  module->ReplaceLine(5, u"    x = 2");
  module->DeleteLines(10, 3);
  const std::string label = path.generic_string();
  // The file's own bytes and line ends, so the diff applies to it; the last "End Sub" is common
  // to both, so the removal shows above it.
  EXPECT_EQ(ws.Diff(), "--- " + label + "\n+++ " + label +
                           "\n"
                           "@@ -3,11 +3,8 @@\n"
                           " \r\n"
                           " ' caf\xE9\r\n"
                           " Public Sub A()\r\n"
                           "-    x = 1\r\n"
                           "+    x = 2\r\n"
                           " End Sub\r\n"
                           " \r\n"
                           " Public Sub B()\r\n"
                           "-End Sub\r\n"
                           "-\r\n"
                           "-Public Sub C()\r\n"
                           " End Sub\r\n");
}

}  // namespace
