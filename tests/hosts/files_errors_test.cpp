// Errors name the file and what was wrong; a refused or failed save writes nothing and leaves
// every file whole.
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

// Runs `load` and returns "FILENAME: MESSAGE" of the LoadError it raised.
template <class Load>
std::string LoadErrorOf(Load&& load) {
  try {
    load();
  } catch (const files::LoadError& e) {
    return e.path().filename().string() + ": " + e.message();
  }
  return "no error";
}

TEST(FilesErrors, MissingAndNonVb6FilesAreRefusedNamingTheFile) {
  ScratchDir dir;
  dir.CopyExample();
  WriteFile(dir / "notes.txt", "hello\n");
  WriteFile(dir / "readme.bas", "This is not code.\r\n");
  WriteFile(dir / "picture.frm", std::string("GIF89a\0\0", 8));
  WriteFile(dir / "class.cls", Crlf("VERSION 5.00\nAttribute VB_Name = \"X\"\n"));
  WriteFile(dir / "form.frm", Crlf("VERSION 5.00\nAttribute VB_Name = \"frmX\"\n"));
  WriteFile(dir / "open.frm", Crlf("VERSION 5.00\nBegin VB.Form frmOpen \n   Caption = \"x\"\n"));
  WriteFile(dir / "empty.vbp", Crlf("Name=\"Empty\"\n"));
  WriteFile(dir / "lost.vbp", Crlf("Type=Exe\nModule=modLost; lost\\modLost.bas\nName=\"Lost\"\n"));
  WriteFile(dir / "twice.vbp", Crlf("Type=Exe\nModule=modStock; modStock.bas\nModule=modStock; MODSTOCK.BAS\n"));
  fs::create_symlink("modStock.bas", dir / "stock.bas");
  WriteFile(dir / "linked.vbp", Crlf("Type=Exe\nModule=modStock; modStock.bas\nModule=modStock; stock.bas\n"));
  WriteFile(dir / "group.vbg", Crlf("Project=Inventory.vbp\n"));
  WriteFile(dir / "utf8.vbg", "\xEF\xBB\xBF" + Crlf("VBGROUP 5.0\nProject=Inventory.vbp\n"));
  WriteFile(dir / "latin.bas", Crlf("Attribute VB_Name = \"modLatin\"\n' Gr\xFC\xDF" "e\n"));
  WriteFile(dir / "utf8.bas", Crlf("\xEF\xBB\xBF" "Attribute VB_Name = \"modUtf8\"\n' caf\xC3\xA9\n"));

  struct Case {
    fs::path path;
    files::LoadOptions options;
    std::string error;
  };
  const Case cases[] = {
      {dir / "missing.vbp", {}, "missing.vbp: file not found"},
      {dir / "notes.txt", {}, "notes.txt: not a VB6 file: expected a .vbp, .vbg, .bas, .cls, .frm, .ctl, .pag, .dob "
                              "or .dsr file, or a folder of them"},
      {dir / "readme.bas", {}, "readme.bas: not a VB6 module file (.bas): it has no \"Attribute VB_Name\" line"},
      {dir / "utf8.bas", {}, "utf8.bas: not a VB6 module file (.bas): it starts with a UTF-8 byte-order mark, which VB6 "
                             "does not read (save it in code page 1252)"},
      {dir / "picture.frm", {}, "picture.frm: not a VB6 form file (.frm): it holds binary data"},
      {dir / "class.cls", {}, "class.cls: not a VB6 class file (.cls): the first line is not \"VERSION 1.0 CLASS\""},
      {dir / "form.frm", {}, "form.frm: not a VB6 form file (.frm): it has no designer block (\"Begin VB.Form ...\")"},
      {dir / "open.frm", {}, "open.frm: designer block: line 2: \"Begin\" block of frmOpen has no \"End\""},
      {dir / "empty.vbp", {}, "empty.vbp: not a VB6 project file (.vbp): it has no \"Type=\" line"},
      {dir / "lost.vbp", {}, "modLost.bas: file not found (named by " + (dir / "lost.vbp").generic_string() +
                                 " as \"lost\\modLost.bas\")"},
      {dir / "twice.vbp", {}, "modStock.bas: the module file is named twice in the project"},
      {dir / "linked.vbp", {}, "stock.bas: the module file is named twice in the project"},
      {dir / "group.vbg", {}, "group.vbg: not a VB6 project group (.vbg): the first line is not \"VBGROUP 5.0\""},
      {dir / "utf8.vbg", {}, "utf8.vbg: it starts with a UTF-8 byte-order mark, which VB6 does not read (save it in "
                             "code page 1252)"},
      {dir / "modStock.bas", {.project = dir / "lost.vbp"}, "modLost.bas: file not found (named by " +
                                                                 (dir / "lost.vbp").generic_string() +
                                                                 " as \"lost\\modLost.bas\")"},
      {dir / "readme.bas", {.project = dir / "Inventory.vbp"},
       "readme.bas: not a module of the project " + (dir / "Inventory.vbp").generic_string()},
      {dir / "Inventory.vbp", {.project = dir / "Inventory.vbp"},
       "Inventory.vbp: a project (--project) can only be given with a single module file"},
      {dir / "latin.bas", {.project = {}, .codePage = 65001},
       "latin.bas: line 2 is not text in code page 65001: saving would change its bytes"},
      {dir / "Inventory.vbp", {.project = {}, .codePage = 437},
       "Inventory.vbp: code page 437 is not supported (use 1252, 28591 or 65001)"},
  };
  for (const Case& c : cases) EXPECT_EQ(LoadErrorOf([&] { Workspace::Load(c.path, c.options); }), c.error);
}

// Changes two modules of the example project and returns the workspace.
Workspace LoadAndChange(const fs::path& vbp) {
  Workspace ws = Workspace::Load(vbp);
  ws.vbe()->Component(u"modStock")->CodeModule()->InsertLines(2, u"' one");
  ws.vbe()->Component(u"clsProduct")->CodeModule()->InsertLines(2, u"' two");
  return ws;
}

TEST(FilesErrors, AFileChangedOrRemovedOnDiskIsRefusedAndNothingIsWritten) {
  struct Case {
    const char* name;
    void (*disturb)(const ScratchDir&);
    std::string error;
    bool afterASave = false;  // saved once and changed again before the disturbance
  };
  const Case cases[] = {
      {"changed", [](const ScratchDir& d) { WriteFile(d / "clsProduct.cls", ReadFile(d / "clsProduct.cls") + "' x\r\n"); },
       "clsProduct.cls: the file changed on disk since it was loaded; nothing was saved"},
      {"shortened", [](const ScratchDir& d) { WriteFile(d / "clsProduct.cls", ReadFile(d / "clsProduct.cls").substr(1)); },
       "clsProduct.cls: the file changed on disk since it was loaded; nothing was saved"},
      {"one byte changed, same size",
       [](const ScratchDir& d) {
         std::string bytes = ReadFile(d / "clsProduct.cls");
         bytes.back() = bytes.back() == 'x' ? 'y' : 'x';
         WriteFile(d / "clsProduct.cls", bytes);
       },
       "clsProduct.cls: the file changed on disk since it was loaded; nothing was saved"},
      {"removed", [](const ScratchDir& d) { fs::remove(d / "clsProduct.cls"); },
       "clsProduct.cls: the file is gone since it was loaded; nothing was saved"},
      // A save keeps no copy of what it wrote: the file read back must be what it wrote.
      {"one byte changed after a save, same size and time",
       [](const ScratchDir& d) {
         const fs::path path = d / "clsProduct.cls";
         const auto time = fs::last_write_time(path);
         std::string bytes = ReadFile(path);
         bytes[bytes.find("' two")] = '"';
         WriteFile(path, bytes);
         fs::last_write_time(path, time);
       },
       "clsProduct.cls: the file changed on disk since it was loaded; nothing was saved", true},
      {"removed after a save", [](const ScratchDir& d) { fs::remove(d / "clsProduct.cls"); },
       "clsProduct.cls: the file is gone since it was loaded; nothing was saved", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    const fs::path vbp = dir.CopyExample();
    Workspace ws = LoadAndChange(vbp);
    if (c.afterASave) {
      ws.Save();
      ws.vbe()->Component(u"clsProduct")->CodeModule()->InsertLines(2, u"' three");
    }
    c.disturb(dir);
    std::map<std::string, std::string> before;
    for (const auto& name : dir.Names()) before[name] = ReadFile(dir / name);
    try {
      ws.Save();
      ADD_FAILURE() << "saved";
    } catch (const files::SaveError& e) {
      EXPECT_EQ(e.path().filename().string() + ": " + e.message(), c.error);
    }
    std::map<std::string, std::string> after;
    for (const auto& name : dir.Names()) after[name] = ReadFile(dir / name);
    EXPECT_EQ(after, before);
  }
}

TEST(FilesErrors, AFailureDuringTheWriteLeavesTheOldFileWhole) {
  ScratchDir dir;
  const fs::path vbp = dir.CopyExample();
  const std::string stock = ReadFile(dir / "modStock.bas");
  const std::string product = ReadFile(dir / "clsProduct.cls");
  const auto names = dir.Names();
  Workspace ws = LoadAndChange(vbp);
  int writes = 0;
  std::string temporary;
  ws.SetSaveHook([&](files::SaveStep step, const fs::path& temp, const fs::path& target) {
    if (step != files::SaveStep::Written) return 0;
    // The new bytes are complete in the temporary file before anything is replaced.
    temporary = ReadFile(temp);
    EXPECT_EQ(temp.parent_path(), target.parent_path());
    if (++writes == 2) throw std::runtime_error("disk full");
    return 0;
  });
  try {
    ws.Save();
    FAIL() << "saved";
  } catch (const files::SaveError& e) {
    EXPECT_EQ(e.path().filename(), "clsProduct.cls");
    EXPECT_NE(e.message().find("disk full; the file is as it was"), std::string::npos) << e.what();
  }
  EXPECT_NE(temporary.find("' two"), std::string::npos);
  // modStock was saved before the failure; clsProduct is as it was; no temporary file is left.
  EXPECT_NE(ReadFile(dir / "modStock.bas"), stock);
  EXPECT_EQ(ReadFile(dir / "clsProduct.cls"), product);
  EXPECT_EQ(dir.Names(), names);

  // The next save writes only what is still pending.
  ws.SetSaveHook({});
  EXPECT_EQ(ws.Save(), std::vector<fs::path>{dir / "clsProduct.cls"});
  EXPECT_NE(ReadFile(dir / "clsProduct.cls").find("' two"), std::string::npos);
}

TEST(FilesErrors, TextTheCodePageCannotHoldIsRefusedNamingTheLine) {
  ScratchDir dir;
  const fs::path path = dir / "modA.bas";
  const std::string bytes = Crlf("Attribute VB_Name = \"modA\"\nOption Explicit\n");
  WriteFile(path, bytes);
  Workspace ws = Workspace::Load(path);
  ws.vbe()->SetCode(u"modA", u"Option Explicit\r\n' \u2192 arrow");
  try {
    ws.Save();
    FAIL() << "saved";
  } catch (const files::SaveError& e) {
    EXPECT_EQ(e.message(), "line 3 holds characters that code page 1252 cannot write: ' \xE2\x86\x92 arrow");
  }
  EXPECT_EQ(ReadFile(path), bytes);
}

TEST(FilesErrors, AModuleAddedInMemoryHasNoFileAndIsNotSavedSilently) {
  ScratchDir dir;
  const fs::path vbp = dir.CopyExample();
  Workspace ws = Workspace::Load(vbp);
  ws.vbe()->AddComponent(u"modNew", host::vbext_ct_StdModule, vb::Text(u"Option Explicit"));
  try {
    ws.Save();
    FAIL() << "saved";
  } catch (const files::SaveError& e) {
    EXPECT_EQ(e.path(), vbp);
    EXPECT_EQ(e.message(), "module Inventory.modNew was added in memory and has no file to save to");
  }
}

}  // namespace

namespace {

TEST(FilesErrors, AModuleSharedByTwoProjectsOfAGroupIsWrittenOnceOrRefused) {
  ScratchDir dir;
  const std::string shared = Crlf("Attribute VB_Name = \"modShared\"\nOption Explicit\n");
  WriteFile(dir / "modShared.bas", shared);
  WriteFile(dir / "A.vbp", Crlf("Type=Exe\nModule=modShared; modShared.bas\nName=\"A\"\n"));
  WriteFile(dir / "B.vbp", Crlf("Type=Exe\nModule=modShared; modShared.bas\nName=\"B\"\n"));
  WriteFile(dir / "AB.vbg", Crlf("VBGROUP 5.0\nStartupProject=A.vbp\nProject=B.vbp\n"));

  Workspace ws = Workspace::Load(dir / "AB.vbg");
  ws.vbe()->SetCode(u"A.modShared", u"Option Explicit\r\n' changed");
  try {
    ws.Save();
    FAIL() << "saved";
  } catch (const files::SaveError& e) {
    EXPECT_EQ(e.message(), "the file is a module of two projects and only A.modShared changed it; nothing was saved");
  }
  ws.vbe()->SetCode(u"B.modShared", u"Option Explicit\r\n' other");
  EXPECT_THROW(ws.Save(), files::SaveError);
  EXPECT_EQ(ReadFile(dir / "modShared.bas"), shared);

  ws.vbe()->SetCode(u"B.modShared", u"Option Explicit\r\n' changed");
  EXPECT_EQ(ws.PendingChanges().size(), 1u);
  EXPECT_EQ(ws.Save(), std::vector<fs::path>{dir / "modShared.bas"});
  EXPECT_EQ(ReadFile(dir / "modShared.bas"), Crlf("Attribute VB_Name = \"modShared\"\nOption Explicit\n' changed\n"));
  EXPECT_TRUE(ws.PendingChanges().empty());
}

}  // namespace
