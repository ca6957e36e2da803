// Loading VB6 files and saving them untouched gives the same bytes; the IDE sees only the code.
#include <gtest/gtest.h>

#include "files_test_util.h"
#include "host_test_util.h"
#include "hosts/files/workspace.h"

namespace {

using files::Workspace;
using files_test::ReadFile;
using files_test::ScratchDir;
using hosts_test::U8;
namespace fs = std::filesystem;

std::string Cp1252ToUtf8(const std::string& s) { return vb::ToUtf8(vb::FromCp1252(s)); }

// Every module of every variant of the example project: nothing pending after loading, nothing
// written by Save, and a change undone in memory is no change.
TEST(FilesRoundTrip, EveryModuleOfTheExampleSavesToTheSameBytes) {
  struct Variant {
    const char* name;
    std::string (*transform)(const std::string&);
    int codePage;
  };
  const Variant variants[] = {
      {"CR LF, Windows-1252", [](const std::string& s) { return s; }, 1252},
      {"LF, Windows-1252", files_test::Lf, 1252},
      {"CR LF, UTF-8", Cp1252ToUtf8, 65001},
      {"LF, UTF-8 with a byte-order mark",
       [](const std::string& s) { return "\xEF\xBB\xBF" + files_test::Lf(Cp1252ToUtf8(s)); }, 65001},
      {"no break after the last line", [](const std::string& s) { return s.substr(0, s.size() - 2); }, 1252},
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.name);
    ScratchDir dir;
    fs::path vbp = dir.CopyExample(v.transform);
    std::map<std::string, std::string> before;
    for (const auto& name : dir.Names()) before[name] = ReadFile(dir / name);

    Workspace ws = Workspace::Load(vbp, {.project = {}, .codePage = v.codePage});
    EXPECT_TRUE(ws.PendingChanges().empty());
    EXPECT_EQ(ws.Diff(), "");

    // Change every module and put it back: the file is the same again.
    for (const auto& file : ws.files()) {
      if (file.kind != files::LoadedFile::Kind::Module) continue;
      const vb::Text qualified = file.project + u"." + file.component;
      const vb::Text code = ws.vbe()->Code(qualified);
      ws.vbe()->SetCode(qualified, code + u"\r\n' temporary");
      EXPECT_EQ(ws.PendingChanges().size(), 1u) << U8(qualified);
      ws.vbe()->SetCode(qualified, code);
    }
    EXPECT_TRUE(ws.PendingChanges().empty());
    EXPECT_TRUE(ws.Save().empty());
    for (const auto& [name, bytes] : before) EXPECT_EQ(ReadFile(dir / name), bytes) << name;
    EXPECT_EQ(dir.Names().size(), before.size());
  }
}

TEST(FilesRoundTrip, TheCodeWindowShowsTheCodeAndTheDesignerTheControls) {
  Workspace ws = Workspace::Load(files_test::ExampleProject() / "Inventory.vbp");
  auto vbe = ws.vbe();
  EXPECT_EQ(U8(vbe->ActiveVBProject()->Name()), "Inventory");

  std::vector<std::string> loaded;
  for (const auto& f : ws.files()) loaded.push_back(U8(f.project + u"." + f.component) + " " + f.path.filename().string());
  EXPECT_EQ(loaded, (std::vector<std::string>{"Inventory. Inventory.vbp", "Inventory.frmMain frmMain.frm",
                                              "Inventory.modStock modStock.bas", "Inventory.IStockItem IStockItem.cls",
                                              "Inventory.clsProduct clsProduct.cls"}));

  // No header, designer or Attribute line reaches the code window.
  for (const char16_t* module : {u"frmMain", u"modStock", u"IStockItem", u"clsProduct"}) {
    const auto lines = vbe->CodeLines(module);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(U8(lines.front()), "Option Explicit") << U8(module);
    for (const auto& line : lines) EXPECT_EQ(line.find(u"Attribute"), vb::Text::npos) << U8(line);
  }
  EXPECT_EQ(vbe->Component(u"frmMain")->Type(), host::vbext_ct_VBForm);
  EXPECT_EQ(vbe->Component(u"clsProduct")->Type(), host::vbext_ct_ClassModule);
  EXPECT_EQ(vbe->Component(u"modStock")->Type(), host::vbext_ct_StdModule);
  // Accented text is read in the file's code page.
  EXPECT_NE(vbe->Code(u"modStock").find(u"m\u00e8tre"), vb::Text::npos);
  // 0x96 is no Latin-1 byte: an en dash in Windows-1252.
  EXPECT_NE(vbe->Code(u"clsProduct").find(u"mCode & \" \u2013 \" & mName"), vb::Text::npos);

  EXPECT_EQ(U8(vbe->ControlNames(u"frmMain")),
            (std::vector<std::string>{"tmrClock", "fraCategory", "optCategory", "optCategory", "chkTaxable", "cboUnit",
                                      "lstItems", "txtName", "cmdAdd", "lblName"}));
  auto prop = [&](const char16_t* name, int index, const char16_t* property) {
    return vbe->FindDesignerControl(u"frmMain", name, index)->Properties()->Item(property);
  };
  EXPECT_EQ(U8(vb::CStr(prop(u"txtName", -1, u"Text")->Value())), "\xC3\x89l\xC3\xA9ment");
  EXPECT_EQ(vb::CLng(prop(u"txtName", -1, u"MaxLength")->Value()), 40);
  auto font = prop(u"txtName", -1, u"Font")->Object();
  EXPECT_EQ(U8(font->Name()), "Tahoma");
  EXPECT_EQ(font->Size(), 9.75);
  EXPECT_TRUE(font->Bold());
  EXPECT_EQ(vb::CInt(prop(u"optCategory", 1, u"Index")->Value()), 1);
  EXPECT_EQ(U8(vb::CStr(prop(u"optCategory", 1, u"Caption")->Value())), "Logiciel");
  EXPECT_TRUE(vb::CBool(prop(u"optCategory", 0, u"Value")->Value()));
  EXPECT_EQ(vb::CInt(prop(u"chkTaxable", -1, u"Value")->Value()), 1);
  EXPECT_EQ(vb::CInt(prop(u"cmdAdd", -1, u"TabIndex")->Value()), 2);
  EXPECT_EQ(vb::CLng(prop(u"tmrClock", -1, u"Interval")->Value()), 1000);
  // A control without a Caption line has none (a placed control would show its name).
  EXPECT_EQ(U8(vb::CStr(prop(u"lstItems", -1, u"TabIndex")->Value())), "3");
  EXPECT_EQ(U8(ws.vbe()->ContainerOf(ws.vbe()->FindDesignerControl(u"frmMain", u"optCategory", 0))), "fraCategory");
  EXPECT_TRUE(ws.vbe()->Writes(u"frmMain").empty());
  // The controls of a renamed container stay in it.
  vbe->RenameControl(u"frmMain", u"fraCategory", u"fraKind");
  EXPECT_EQ(U8(vbe->ContainerOf(vbe->FindDesignerControl(u"frmMain", u"optCategory", 1))), "fraKind");
}

TEST(FilesRoundTrip, SingleModulesGroupsAndFoldersLoadAsProjects) {
  ScratchDir dir;
  dir.CopyExample();
  // One module: a project of its own.
  {
    Workspace ws = Workspace::Load(dir / "modStock.bas");
    ASSERT_TRUE(ws.focus());
    EXPECT_EQ(U8(*ws.focus()), "Project1.modStock");
    EXPECT_EQ(ws.vbe()->VBProjects()->Item(1)->VBComponents()->Count(), 1);
  }
  // One module inside its project.
  {
    Workspace ws = Workspace::Load(dir / "clsProduct.cls", {.project = dir / "Inventory.vbp"});
    EXPECT_EQ(U8(*ws.focus()), "Inventory.clsProduct");
    EXPECT_EQ(ws.vbe()->ActiveVBProject()->VBComponents()->Count(), 4);
  }
  // A group with two projects; paths in other letter case are found as Windows would find them; a
  // project named again by another path or through a hard link loads once.
  fs::create_directories(dir / "Tools");
  files_test::WriteFile(dir / "Tools" / "Tools.vbp", files_test::Crlf("Type=Exe\nModule=modTools; ..\\Sub\\MODTOOLS.BAS\nName=\"Tools\"\n"));
  fs::create_hard_link(dir / "Tools" / "Tools.vbp", dir / "Tools" / "Same.vbp");
  fs::create_directories(dir / "sub");
  files_test::WriteFile(dir / "sub" / "modTools.bas", files_test::Crlf("Attribute VB_Name = \"modTools\"\nOption Explicit\n"));
  files_test::WriteFile(dir / "All.vbg", files_test::Crlf("VBGROUP 5.0\nStartupProject=Inventory.vbp\nProject=Tools\\Tools.vbp\n"
                                                          "Project=Tools\\..\\Tools\\Tools.vbp\nProject=Tools\\Same.vbp\n"));
  {
    Workspace ws = Workspace::Load(dir / "All.vbg");
    EXPECT_EQ(ws.vbe()->VBProjects()->Count(), 2);
    EXPECT_EQ(U8(ws.vbe()->ActiveVBProject()->Name()), "Inventory");
    EXPECT_EQ(U8(ws.vbe()->Code(u"Tools.modTools")), "Option Explicit");
  }
  // A folder: every module under it as one project; a second module of one name gets " (2)"; a
  // link to a module already found is that module.
  files_test::WriteFile(dir / "sub" / "modStock.bas", files_test::Crlf("Attribute VB_Name = \"modStock\"\n' other\n"));
  fs::create_symlink("../modStock.bas", dir / "sub" / "linked.bas");
  {
    Workspace ws = Workspace::Load(dir.path());
    auto project = ws.vbe()->ActiveVBProject();
    EXPECT_EQ(project->VBComponents()->Count(), 6);
    std::vector<std::string> names;
    for (const auto& f : ws.files())
      if (f.kind == files::LoadedFile::Kind::Module) names.push_back(U8(f.component));
    EXPECT_EQ(names, (std::vector<std::string>{"IStockItem", "clsProduct", "frmMain", "modStock", "modStock (2)",
                                               "modTools"}));
  }
  // A folder whose name holds a dot, as old copies' do: the project keeps the name and saves.
  fs::create_directories(dir / "Stock.old");
  files_test::WriteFile(dir / "Stock.old" / "modOld.bas", files_test::Crlf("Attribute VB_Name = \"modOld\"\n' old\n"));
  {
    Workspace ws = Workspace::Load(dir / "Stock.old");
    ws.vbe()->SetCode(u"Stock.old.modOld", u"' new\r\n");
    const auto changes = ws.PendingChanges();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes.front().newBytes, files_test::Crlf("Attribute VB_Name = \"modOld\"\n' new\n"));
  }
}

}  // namespace
