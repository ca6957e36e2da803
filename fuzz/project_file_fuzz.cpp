// The project file loader: a .vbp, or a .vbg when the input starts with "VBGROUP", loaded as the
// command line loads it, from a folder that also holds a few modules (one in a subfolder) and a
// second project for it to name. A file loads or is refused with a LoadError; a project that
// loads holds every module its file names, and saving it back changes nothing.
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "hosts/files/project_file.h"
#include "hosts/files/workspace.h"

namespace fs = std::filesystem;

namespace {

const fuzz::ScratchFolder& Folder() {
  static const fuzz::ScratchFolder folder;
  static const bool written = [] {
    folder.Write("modMain.bas", "Attribute VB_Name = \"modMain\"\r\nOption Explicit\r\nPublic Count As Long\r\n");
    folder.Write("Class1.cls",
                 "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n"
                 "Attribute VB_Name = \"Class1\"\r\nPublic Sub Run()\r\nEnd Sub\r\n");
    folder.Write("Form1.frm",
                 "VERSION 5.00\r\nBegin VB.Form Form1 \r\n   Caption         =   \"Form1\"\r\n"
                 "   Begin VB.CommandButton Command1 \r\n      Caption         =   \"OK\"\r\n   End\r\nEnd\r\n"
                 "Attribute VB_Name = \"Form1\"\r\n");
    folder.Write("Shared/Helper.bas", "Attribute VB_Name = \"Helper\"\r\n");
    folder.Write("Other.vbp", "Type=Exe\r\nModule=modMain; modMain.bas\r\nName=\"Other\"\r\n");
    return true;
  }();
  (void)written;
  return folder;
}

// Whether a project file names only files of the scratch folder: a .vbp may name any path on the
// machine, and the fuzzer is not to go reading through it.
bool NamesOnlyFolderFiles(const fs::path& project) {
  if (!Folder().Holds(project)) return false;
  try {
    for (const auto& module : files::ReadProjectFile(project, 1252).modules)
      if (!Folder().Holds(module.path)) return false;
  } catch (const files::LoadError&) {
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  const bool group = bytes.substr(0, 7) == "VBGROUP";
  const fs::path path = Folder().Write(group ? "Fuzz.vbg" : "Fuzz.vbp", bytes);
  std::size_t modules = 0;
  try {
    if (group) {
      for (const fs::path& project : files::ReadGroupFile(path, 1252))
        if (!NamesOnlyFolderFiles(project)) return 0;
    } else {
      if (!NamesOnlyFolderFiles(path)) return 0;
      modules = files::ReadProjectFile(path, 1252).modules.size();
    }
  } catch (const files::LoadError&) {
    return 0;
  }

  std::optional<files::Workspace> workspace;
  try {
    workspace.emplace(files::Workspace::Load(path));
  } catch (const files::LoadError&) {
    return 0;
  }
  if (!group) FUZZ_CHECK(workspace->files().size() == 1 + modules);
  FUZZ_CHECK(workspace->PendingChanges().empty());
  return 0;
}
