// Hidden lines stay where they stood: a save changes the lines the edit changed and nothing else,
// each declaration keeps its own attribute lines (also the ones declared again under #If), a
// renamed member's attributes are renamed, a removed member's attributes go with it and are
// named, and every line keeps its own line end.
#include <gtest/gtest.h>

#include "files_test_util.h"
#include "host_test_util.h"
#include "hosts/files/workspace.h"

namespace {

using files::Workspace;
using files_test::ReadFile;
using files_test::ReplaceOnce;
using files_test::ScratchDir;
using files_test::WriteFile;
namespace fs = std::filesystem;

// A class as 32/64-bit libraries write them; the Win64 block holds LF lines, the rest CR LF (a
// file after a merge).
const std::string kWindow =
    "VERSION 1.0 CLASS\r\n"
    "BEGIN\r\n"
    "  MultiUse = -1  'True\r\n"
    "END\r\n"
    "Attribute VB_Name = \"clsWindow\"\r\n"
    "Attribute VB_Exposed = True\r\n"
    "Option Explicit\r\n"
    "\r\n"
    "#If VBA7 Then\r\n"
    "Public Event Resized(ByVal hWnd As LongPtr)\r\n"
    "Attribute Resized.VB_Description = \"After a resize.\"\r\n"
    "#Else\r\n"
    "Public Event Resized(ByVal hWnd As Long)\r\n"
    "Attribute Resized.VB_Description = \"After a resize.\"\r\n"
    "#End If\r\n"
    "#If Win64 Then\n"
    "Public WithEvents Host As Form\n"
    "Attribute Host.VB_VarHelpID = -1\n"
    "#Else\n"
    "Public WithEvents Host As Form\n"
    "Attribute Host.VB_VarHelpID = -1\n"
    "#End If\n"
    "\r\n"
    "#If VBA7 Then\r\n"
    "Public Property Get hWnd() As LongPtr\r\n"
    "Attribute hWnd.VB_UserMemId = -515\r\n"
    "#Else\r\n"
    "Public Property Get hWnd() As Long\r\n"
    "Attribute hWnd.VB_UserMemId = -515\r\n"
    "#End If\r\n"
    "    hWnd = mHandle\r\n"
    "End Property\r\n"
    "\r\n"
    "Private Sub Text1_Change()\r\n"
    "Attribute Text1_Change.VB_Description = \"Keeps the caption.\"\r\n"
    "    Caption = Text1.Text\r\n"
    "End Sub\r\n";

long LineOf(host::CodeModule& module, vb::TextView text, int nth = 1) {
  for (long i = 1; i <= module.CountOfLines(); ++i)
    if (module.Lines(i, 1) == text && --nth == 0) return i;
  ADD_FAILURE() << hosts_test::U8(text);
  return 1;
}

TEST(FilesHiddenLines, AnEditChangesItsLinesAndEachDeclarationKeepsItsOwnHiddenLines) {
  struct Case {
    const char* name;
    void (*edit)(host::CodeModule&);
    std::string expected;
    std::vector<std::string> notices;  // member: dropped line
  };
  const Case cases[] = {
      {"comment out the first line",
       [](host::CodeModule& m) { m.ReplaceLine(1, u"'Option Explicit"); },
       ReplaceOnce(kWindow, "Option Explicit\r\n", "'Option Explicit\r\n"), {}},
      {"a header above the second declaration, in the LF block",
       [](host::CodeModule& m) { m.InsertLines(LineOf(m, u"Public WithEvents Host As Form", 2), u"' 32-bit\r\n' host"); },
       ReplaceOnce(kWindow, "#Else\nPublic WithEvents", "#Else\n' 32-bit\n' host\nPublic WithEvents"), {}},
      {"a line after the last, which has CR LF",
       [](host::CodeModule& m) { m.InsertLines(m.CountOfLines() + 1, u"' end"); },
       kWindow + "' end\r\n", {}},
      {"a procedure between the #If blocks",
       [](host::CodeModule& m) { m.InsertLines(LineOf(m, u"#If VBA7 Then", 2), u"Public Sub Refresh()\r\nEnd Sub\r\n"); },
       ReplaceOnce(kWindow, "#End If\n\r\n", "#End If\n\r\nPublic Sub Refresh()\r\nEnd Sub\r\n"), {}},
      {"the event procedure renamed with its control",
       [](host::CodeModule& m) {
         m.ReplaceLine(LineOf(m, u"Private Sub Text1_Change()"), u"Private Sub txtName_Change()");
         m.ReplaceLine(LineOf(m, u"    Caption = Text1.Text"), u"    Caption = txtName.Text");
       },
       ReplaceOnce(ReplaceOnce(kWindow, "Text1_Change()\r\nAttribute Text1_Change.",
                               "txtName_Change()\r\nAttribute txtName_Change."),
                   "= Text1.Text", "= txtName.Text"),
       {}},
      {"the 32-bit declaration commented out",
       [](host::CodeModule& m) {
         m.ReplaceLine(LineOf(m, u"Public Property Get hWnd() As Long"), u"'Public Property Get hWnd() As Long");
       },
       ReplaceOnce(kWindow, "#Else\r\nPublic Property Get hWnd() As Long\r\nAttribute hWnd.VB_UserMemId = -515\r\n",
                   "#Else\r\n'Public Property Get hWnd() As Long\r\n"),
       {"member hWnd: dropped hidden line: Attribute hWnd.VB_UserMemId = -515"}},
      {"the event procedure deleted",
       [](host::CodeModule& m) { m.DeleteLines(LineOf(m, u"Private Sub Text1_Change()") - 1, 4); },
       ReplaceOnce(kWindow, "\r\nPrivate Sub Text1_Change()\r\n"
                            "Attribute Text1_Change.VB_Description = \"Keeps the caption.\"\r\n"
                            "    Caption = Text1.Text\r\nEnd Sub\r\n", ""),
       {"member Text1_Change: dropped hidden line: Attribute Text1_Change.VB_Description = \"Keeps the caption.\""}},
      {"the whole code replaced by the same code with a changed body",
       [](host::CodeModule& m) {
         vb::Text code = m.Lines(1, m.CountOfLines());
         code.replace(code.find(u"= mHandle"), 9, u"= mWindow");
         m.DeleteLines(1, m.CountOfLines());
         m.InsertLines(1, code);
       },
       ReplaceOnce(kWindow, "= mHandle", "= mWindow"), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    const fs::path path = dir / "clsWindow.cls";
    WriteFile(path, kWindow);
    Workspace ws = Workspace::Load(path);
    c.edit(*ws.vbe()->Component(u"clsWindow")->CodeModule());
    ws.Save();
    EXPECT_EQ(ReadFile(path), c.expected);
    std::vector<std::string> notices;
    for (const std::string& notice : ws.DroppedLines()) notices.push_back(notice.substr(path.generic_string().size() + 2));
    EXPECT_EQ(notices, c.notices);
  }
}

// Comment out any one line and save, then un-comment it and save: the file is as it was, except
// for the hidden lines of a declaration that was commented out, which the first save named.
TEST(FilesHiddenLines, CommentAndUncommentOfAnyLineGiveTheOriginalBytes) {
  ScratchDir dir;
  const fs::path path = dir / "clsWindow.cls";
  WriteFile(path, kWindow);
  const long count = Workspace::Load(path).vbe()->Component(u"clsWindow")->CodeModule()->CountOfLines();
  for (long line = 1; line <= count; ++line) {
    SCOPED_TRACE(line);
    WriteFile(path, kWindow);
    vb::Text text;
    std::size_t notices = 0;
    {
      Workspace ws = Workspace::Load(path);
      auto module = ws.vbe()->Component(u"clsWindow")->CodeModule();
      text = module->Lines(line, 1);
      module->ReplaceLine(line, u"'" + text);
      ws.Save();
      notices = ws.DroppedLines().size();
    }
    {
      Workspace ws = Workspace::Load(path);
      ws.vbe()->Component(u"clsWindow")->CodeModule()->ReplaceLine(line, text);
      ws.Save();
    }
    std::string expected = kWindow;
    if (notices > 0) {
      // The hidden line right after the commented declaration is gone; nothing else.
      std::size_t at = kWindow.find("Option Explicit");
      for (long seen = 1; seen < line || kWindow.compare(at, 10, "Attribute ") == 0;) {
        at = kWindow.find('\n', at) + 1;
        if (kWindow.compare(at, 10, "Attribute ") != 0) ++seen;
      }
      const std::size_t hidden = kWindow.find('\n', at) + 1;
      ASSERT_EQ(kWindow.compare(hidden, 10, "Attribute "), 0);
      expected.erase(hidden, kWindow.find('\n', hidden) + 1 - hidden);
      EXPECT_EQ(notices, 1u);
    }
    EXPECT_EQ(ReadFile(path), expected);
  }
}

}  // namespace
