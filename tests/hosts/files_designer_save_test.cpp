// A form keeps every other line through a control added, renamed, removed and property writes;
// what the in-memory designer does not know (.frx references, unknown properties and blocks,
// controls of other libraries, menus) stays as written.
#include <gtest/gtest.h>

#include <functional>

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

const std::string kCode =
    "Attribute VB_Name = \"frmTest\"\n"
    "Attribute VB_GlobalNameSpace = False\n"
    "Attribute VB_Creatable = False\n"
    "Attribute VB_PredeclaredId = True\n"
    "Attribute VB_Exposed = False\n"
    "Option Explicit\n"
    "\n"
    "Private Sub txtOld_Change()\n"
    "End Sub\n";

const std::string kTextBox =
    "   Begin VB.TextBox txtOld \n"
    "      BeginProperty DataFormat {6D835690-900B-11D0-9484-00A0C91110ED} \n"
    "         Type            =   1\n"
    "         Format          =   \"0\"\n"
    "         HaveTrueFalseNull=   0\n"
    "         LCID            =   1036\n"
    "         SubFormatType   =   1\n"
    "      EndProperty\n"
    "      BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} \n"
    "         Name            =   \"Arial\"\n"
    "         Size            =   8.25\n"
    "         Charset         =   0\n"
    "         Weight          =   400\n"
    "         Underline       =   0   'False\n"
    "         Italic          =   0   'False\n"
    "         Strikethrough   =   0   'False\n"
    "      EndProperty\n"
    "      Height          =   375\n"
    "      Left            =   120\n"
    "      OLEDropMode     =   1  'Manual\n"
    "      TabIndex        =   0\n"
    "      Text            =   \"Hello\"\n"
    "      Top             =   120\n"
    "      Width           =   2000\n"
    "   End\n";

const std::string kFrame =
    "   Begin VB.Frame fraOptions \n"
    "      Caption         =   $\"frmTest.frx\":0000\n"
    "      Height          =   1200\n"
    "      Left            =   120\n"
    "      TabIndex        =   1\n"
    "      Top             =   600\n"
    "      Width           =   3000\n"
    "      Begin VB.CheckBox chkOne \n"
    "         Caption         =   \"One\"\n"
    "         Height          =   255\n"
    "         Index           =   0\n"
    "         Left            =   120\n"
    "         TabIndex        =   2\n"
    "         Top             =   240\n"
    "         Width           =   1500\n"
    "      End\n"
    "      Begin VB.CheckBox chkOne \n"
    "         Caption         =   \"Two\"\n"
    "         Height          =   255\n"
    "         Index           =   1\n"
    "         Left            =   120\n"
    "         TabIndex        =   3\n"
    "         Top             =   600\n"
    "         Width           =   1500\n"
    "      End\n"
    "   End\n";

const std::string kLabel =
    "   Begin VB.Label lblGone \n"
    "      Caption         =   \"Gone\"\n"
    "      Height          =   255\n"
    "      Left            =   120\n"
    "      TabIndex        =   4\n"
    "      Top             =   2000\n"
    "      Width           =   1000\n"
    "   End\n";

const std::string kRest =
    "   Begin MSComctlLib.ListView lvwItems \n"
    "      Height          =   600\n"
    "      Left            =   2200\n"
    "      TabIndex        =   5\n"
    "      Top             =   120\n"
    "      Width           =   1500\n"
    "      _ExtentX        =   2646\n"
    "      _ExtentY        =   1058\n"
    "      View            =   3\n"
    "      _Version        =   393217\n"
    "      BeginProperty ColumnHeaders {BDD1F052-858B-11D1-B16A-00C0F0283628} \n"
    "         NumItems        =   1\n"
    "         BeginProperty ColumnHeader(1) {BDD1F052-858B-11D1-B16A-00C0F0283628} \n"
    "            Text            =   \"Nom\"\n"
    "            Object.Width           =   2540\n"
    "         EndProperty\n"
    "      EndProperty\n"
    "   End\n"
    "   Begin VB.Menu mnuFile \n"
    "      Caption         =   \"&Fichier\"\n"
    "      Begin VB.Menu mnuFileQuit \n"
    "         Caption         =   \"&Quitter\"\n"
    "      End\n"
    "   End\n";

const std::string kFormStart =
    "VERSION 5.00\n"
    "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\n"
    "Begin VB.Form frmTest \n"
    "   Caption         =   \"Test\"\n"
    "   ClientHeight    =   3000\n"
    "   ClientWidth     =   4000\n"
    "   Icon            =   \"frmTest.frx\":0000\n"
    "   LinkTopic       =   \"Form1\"\n"
    "   ScaleHeight     =   3000\n"
    "   ScaleWidth      =   4000\n";

const std::string kForm = kFormStart + kTextBox + kFrame + kLabel + kRest + "End\n" + kCode;

host::Ref<host::Property> Prop(memhost::MemoryVBE& vbe, const char16_t* control, int index, const char16_t* name) {
  auto c = vbe.FindDesignerControl(u"frmTest", control, index);
  if (!c) throw std::runtime_error("no control " + hosts_test::U8(control));
  return c->Properties()->Item(name);
}

TEST(FilesDesignerSave, AFormKeepsEveryOtherLineThroughAddRenameRemoveAndPropertyWrites) {
  ScratchDir dir;
  const fs::path path = dir / "frmTest.frm";
  WriteFile(path, Crlf(kForm));
  Workspace ws = Workspace::Load(path);
  auto& vbe = *ws.vbe();
  EXPECT_EQ(hosts_test::U8(vbe.ControlNames(u"frmTest")),
            (std::vector<std::string>{"txtOld", "fraOptions", "chkOne", "chkOne", "lblGone", "lvwItems", "mnuFile",
                                      "mnuFileQuit"}));
  EXPECT_TRUE(ws.PendingChanges().empty());

  auto button = vbe.PlaceControl(u"frmTest", u"CommandButton");
  button->Properties()->Item(u"Caption")->SetValue(vb::Variant(u"&OK"));
  button->Properties()->Item(u"Default")->SetValue(vb::Variant(true));
  vbe.RenameControl(u"frmTest", u"txtOld", u"txtName");
  Prop(vbe, u"txtName", -1, u"Text")->SetValue(vb::Variant(u"Bonjour \u00e9"));
  Prop(vbe, u"txtName", -1, u"Locked")->SetValue(vb::Variant(true));
  Prop(vbe, u"txtName", -1, u"BackColor")->SetValue(vb::Variant(std::int32_t{0x00FFFF00}));
  auto font = Prop(vbe, u"txtName", -1, u"Font")->Object();
  font->SetSize(12);
  font->SetBold(true);
  Prop(vbe, u"fraOptions", -1, u"Caption")->SetValue(vb::Variant(u"Options"));
  Prop(vbe, u"chkOne", 1, u"Value")->SetValue(vb::Variant(std::int16_t{1}));
  vbe.DeleteControl(u"frmTest", u"lblGone");

  const std::string textBox =
      "   Begin VB.TextBox txtName \n"
      "      BackColor       =   &H00FFFF00&\n"
      "      BeginProperty DataFormat {6D835690-900B-11D0-9484-00A0C91110ED} \n"
      "         Type            =   1\n"
      "         Format          =   \"0\"\n"
      "         HaveTrueFalseNull=   0\n"
      "         LCID            =   1036\n"
      "         SubFormatType   =   1\n"
      "      EndProperty\n"
      "      BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} \n"
      "         Name            =   \"Arial\"\n"
      "         Size            =   12\n"
      "         Charset         =   0\n"
      "         Weight          =   700\n"
      "         Underline       =   0   'False\n"
      "         Italic          =   0   'False\n"
      "         Strikethrough   =   0   'False\n"
      "      EndProperty\n"
      "      Height          =   375\n"
      "      Left            =   120\n"
      "      Locked          =   -1  'True\n"
      "      OLEDropMode     =   1  'Manual\n"
      "      TabIndex        =   0\n"
      "      Text            =   \"Bonjour \xE9\"\n"
      "      Top             =   120\n"
      "      Width           =   2000\n"
      "   End\n";
  std::string frame = kFrame;
  frame.replace(frame.find("$\"frmTest.frx\":0000"), 19, "\"Options\"");
  frame.insert(frame.rfind("         Width"), "         Value           =   1\n");
  const std::string button1 =
      "   Begin VB.CommandButton Command1 \n"
      "      Caption         =   \"&OK\"\n"
      "      Default         =   -1  'True\n"
      "      Height          =   495\n"
      "      Left            =   120\n"
      "      TabIndex        =   8\n"
      "      Top             =   120\n"
      "      Width           =   1215\n"
      "   End\n";
  const std::string expected = Crlf(kFormStart + textBox + frame + kRest + button1 + "End\n" + kCode);

  auto changes = ws.PendingChanges();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].newBytes, expected);
  ws.Save();
  EXPECT_EQ(ReadFile(path), expected);

  // The saved form is the new baseline: one more rename touches one line only.
  EXPECT_TRUE(ws.PendingChanges().empty());
  vbe.RenameControl(u"frmTest", u"Command1", u"cmdOK");
  std::string renamed = expected;
  renamed.replace(renamed.find("Command1 \r\n"), 8, "cmdOK");
  ASSERT_EQ(ws.PendingChanges().size(), 1u);
  EXPECT_EQ(ws.PendingChanges()[0].newBytes, renamed);

  // And it loads again with what was written.
  Workspace again = Workspace::Load(path);
  EXPECT_EQ(vb::CStr(again.vbe()->FindDesignerControl(u"frmTest", u"txtName")->Properties()->Item(u"Text")->Value()),
            u"Bonjour \u00e9");
  EXPECT_TRUE(vb::CBool(again.vbe()->FindDesignerControl(u"frmTest", u"txtName")->Properties()->Item(u"Locked")->Value()));
  EXPECT_TRUE(again.PendingChanges().empty());
}

// A save keeps no copy of the file it wrote: controls first looked at after it are read from the
// file as saved, which must still be what was written.
TEST(FilesDesignerSave, ControlsFirstLookedAtAfterASaveAreReadFromTheSavedFile) {
  for (const bool changedOnDisk : {false, true}) {
    SCOPED_TRACE(changedOnDisk ? "changed on disk" : "as saved");
    ScratchDir dir;
    const fs::path path = dir / "frmTest.frm";
    WriteFile(path, Crlf(kForm));
    Workspace ws = Workspace::Load(path);
    ws.vbe()->Component(u"frmTest")->CodeModule()->InsertLines(1, u"' saved");
    ws.Save();
    std::string saved = ReadFile(path);
    if (changedOnDisk) WriteFile(path, saved + "' theirs\r\n");
    try {
      ws.vbe()->RenameControl(u"frmTest", u"txtOld", u"txtNew");
      EXPECT_FALSE(changedOnDisk);
      saved.replace(saved.find("txtOld \r\n"), 6, "txtNew");
      ASSERT_EQ(ws.PendingChanges().size(), 1u);
      EXPECT_EQ(ws.PendingChanges()[0].newBytes, saved);
    } catch (const files::LoadError& e) {
      EXPECT_TRUE(changedOnDisk);
      EXPECT_EQ(e.message(), "the file changed on disk since it was loaded");
    }
  }
}

// A control's values past its name and index are read from the file the first time one is looked
// at, and are the file's whenever that is: after other controls were written and the form saved,
// and after the workspace that loaded it is gone. An array element that repeats an index loses
// it, the first element keeping it, whichever of them is read first.
TEST(FilesDesignerSave, ValuesFirstReadLateAreTheFilesWheneverThatIs) {
  ScratchDir dir;
  const fs::path path = dir / "frmTest.frm";
  std::string frame = kFrame;
  frame.replace(frame.find("Index           =   1"), 21, "Index           =   0");
  WriteFile(path, Crlf(kFormStart + kTextBox + frame + kLabel + kRest + "End\n" + kCode));
  std::shared_ptr<memhost::MemoryVBE> vbe;
  {
    Workspace ws = Workspace::Load(path);
    vbe = ws.vbe();
    Prop(*vbe, u"lblGone", -1, u"Caption")->SetValue(vb::Variant(u"Kept"));
    ws.Save();
  }
  auto controls = vbe->Component(u"frmTest")->Designer()->VBControls();
  auto value = [&](long item, const char16_t* property) {
    return hosts_test::U8(vb::CStr(controls->Item(item)->Properties()->Item(property)->Value()));
  };
  EXPECT_EQ(value(3, u"Index"), "0");
  EXPECT_EQ(value(4, u"Index"), "-1");
  EXPECT_EQ(value(4, u"Caption"), "Two");
  EXPECT_EQ(value(1, u"Text"), "Hello");
  EXPECT_EQ(hosts_test::U8(Prop(*vbe, u"txtOld", -1, u"Font")->Object()->Name()), "Arial");
  EXPECT_EQ(value(2, u"Top"), "600");
  EXPECT_EQ(value(5, u"Caption"), "Kept");
}

TEST(FilesDesignerSave, ARemovedContainerTakesItsControlsWithIt) {
  ScratchDir dir;
  const fs::path path = dir / "frmTest.frm";
  WriteFile(path, Crlf(kForm));
  Workspace ws = Workspace::Load(path);
  ws.vbe()->DeleteControl(u"frmTest", u"fraOptions");
  EXPECT_EQ(hosts_test::U8(ws.vbe()->ControlNames(u"frmTest")),
            (std::vector<std::string>{"txtOld", "lblGone", "lvwItems", "mnuFile", "mnuFileQuit"}));
  auto changes = ws.PendingChanges();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].newBytes, Crlf(kFormStart + kTextBox + kLabel + kRest + "End\n" + kCode));
}

// A tabbed dialog names the controls on each tab in lines of its own: they follow a rename and
// lose a deleted control, the tab's other slots renumbered and its count lowered.
TEST(FilesDesignerSave, ATabbedDialogsListsFollowItsControls) {
  auto control = [](const std::string& header, const std::string& inner) {
    return "      Begin " + header + " \n" + inner + "         Left            =   100\n      End\n";
  };
  const std::string tabStart =
      "   Begin TabDlg.SSTab tabMain \n"
      "      Height          =   2500\n"
      "      _ExtentX        =   6879\n"
      "      Tabs            =   2\n"
      "      TabCaption(0)   =   \"One\"\n";
  auto lists = [](const std::string& first, const std::string& second) {
    return first + "      TabCaption(1)   =   \"Two\"\n" + second;
  };
  const std::string children = control("VB.Frame fraMore", control("VB.CheckBox chkIn", "")) +
                               control("VB.TextBox txtOne", "") +
                               control("VB.OptionButton optKind", "         Index           =   0\n") +
                               control("VB.OptionButton optKind", "         Index           =   1\n");
  const std::string form = kFormStart.substr(0, kFormStart.find("Begin VB.Form")) +
                           "Begin VB.Form frmTest \n   Caption         =   \"Test\"\n";
  auto formWith = [&](const std::string& tabLists, const std::string& inside) {
    return Crlf(form + tabStart + tabLists + inside + "   End\nEnd\n" + kCode);
  };
  // The open tab's slots carry values of their own, which go with them.
  auto slot = [](int n, const std::string& name, const std::string& enabled) {
    return "      Tab(0).Control(" + std::to_string(n) + ")=   \"" + name + "\"\n      Tab(0).Control(" +
           std::to_string(n) + ").Enabled=   " + enabled + "\n";
  };
  const std::string before = lists(
      slot(0, "txtOne", "0   'False") + slot(1, "optKind(0)", "-1  'True") + slot(2, "optKind(1)", "0   'False") +
          "      Tab(0).ControlCount=   3\n",
      "      Tab(1).Control(0)=   \"fraMore\"\n      Tab(1).ControlCount=   1\n");
  const std::string optKind1 = control("VB.OptionButton optKind", "         Index           =   1\n");
  const struct {
    std::function<void(memhost::MemoryVBE&)> change;
    std::string tabLists, inside;
  } cases[] = {
      {[](memhost::MemoryVBE& vbe) { vbe.RenameControl(u"frmTest", u"txtOne", u"txtFirst"); },
       lists(slot(0, "txtFirst", "0   'False") + slot(1, "optKind(0)", "-1  'True") +
                 slot(2, "optKind(1)", "0   'False") + "      Tab(0).ControlCount=   3\n",
             "      Tab(1).Control(0)=   \"fraMore\"\n      Tab(1).ControlCount=   1\n"),
       children.substr(0, children.find("txtOne")) + "txtFirst" + children.substr(children.find("txtOne") + 6)},
      {[](memhost::MemoryVBE& vbe) { vbe.DeleteControl(u"frmTest", u"optKind", 0); },
       lists(slot(0, "txtOne", "0   'False") + slot(1, "optKind(1)", "0   'False") + "      Tab(0).ControlCount=   2\n",
             "      Tab(1).Control(0)=   \"fraMore\"\n      Tab(1).ControlCount=   1\n"),
       children.substr(0, children.find("      Begin VB.OptionButton")) + optKind1},
      {[](memhost::MemoryVBE& vbe) { vbe.DeleteControl(u"frmTest", u"fraMore"); },
       lists(slot(0, "txtOne", "0   'False") + slot(1, "optKind(0)", "-1  'True") +
                 slot(2, "optKind(1)", "0   'False") + "      Tab(0).ControlCount=   3\n",
             "      Tab(1).ControlCount=   0\n"),
       children.substr(children.find("      Begin VB.TextBox"))},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    const fs::path path = dir / "frmTest.frm";
    WriteFile(path, formWith(before, children));
    Workspace ws = Workspace::Load(path);
    c.change(*ws.vbe());
    auto changes = ws.PendingChanges();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].newBytes, formWith(c.tabLists, c.inside));
  }
}

TEST(FilesDesignerSave, ANewControlGoesAtTheEndOfItsContainerAndAMultiLineTextIsRefused) {
  ScratchDir dir;
  const fs::path path = dir / "frmTest.frm";
  // The frame's lines end in CR LF, the others in LF (a file after a merge): the new block takes
  // the end of the line before it, and no other line changes its end.
  const std::string label = "   Begin VB.Label lblGone \n      Alignment       =   1  'Right Justify\n" + kLabel.substr(27);
  const std::string form = kFormStart + kTextBox + Crlf(kFrame) + label + kRest + "End\n" + kCode;
  WriteFile(path, form);
  Workspace ws = Workspace::Load(path);
  auto& vbe = *ws.vbe();
  // A control loaded into the frame, the way a designer file places it.
  vbe.LoadControl(u"frmTest", memhost::PlacedControl{u"OptionButton", u"optNew", {{u"Top", vb::Variant(900.0)}}, u"fraOptions"});
  std::string frame = kFrame;
  frame.insert(frame.rfind("   End\n"),
               "      Begin VB.OptionButton optNew \n"
               "         Height          =   495\n"
               "         Left            =   120\n"
               "         TabIndex        =   0\n"
               "         Top             =   900\n"
               "         Width           =   1215\n"
               "      End\n");
  const std::string withOption = kFormStart + kTextBox + Crlf(frame) + label + kRest + "End\n" + kCode;
  ASSERT_EQ(ws.PendingChanges().size(), 1u);
  EXPECT_EQ(ws.PendingChanges()[0].newBytes, withOption);

  Prop(vbe, u"lblGone", -1, u"Caption")->SetValue(vb::Variant(u"two\r\nlines"));
  try {
    ws.Save();
    FAIL() << "a caption with a line break was written";
  } catch (const files::SaveError& e) {
    EXPECT_EQ(e.path(), path);
    EXPECT_NE(std::string(e.what()).find("Caption of lblGone holds a line break"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadFile(path), form);

  // Each rendering starts again from the form as loaded: neither a rendering that failed on the
  // way nor a value written and then written back leaves a trace.
  Prop(vbe, u"lblGone", -1, u"Caption")->SetValue(vb::Variant(u"Gone"));
  Prop(vbe, u"lblGone", -1, u"Alignment")->SetValue(vb::Variant(std::int16_t{0}));
  ASSERT_EQ(ws.PendingChanges().size(), 1u);
  Prop(vbe, u"lblGone", -1, u"Alignment")->SetValue(vb::Variant(std::int16_t{1}));
  ASSERT_EQ(ws.PendingChanges().size(), 1u);
  EXPECT_EQ(ws.PendingChanges()[0].newBytes, withOption);
}

}  // namespace
