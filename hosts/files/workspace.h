// VB6 projects on disk loaded into the in-memory IDE and saved back faithfully.
//
//   auto ws = files::Workspace::Load("examples/Inventory/Inventory.vbp");
//   ws.vbe()->SetCode(u"Inventory.modStock", ...);   // or run an add-in on ws.vbe()
//   std::cout << ws.Diff();                          // what saving would change
//   ws.Save();                                       // writes only the changed modules
//
// What can be loaded: a .vbp with its modules (.bas, .cls, .frm, .ctl, .pag, .dob, .dsr); a .vbg
// with each of its projects; one module file as a project of its own ("Project1"), or, with
// LoadOptions::project, inside that project; a folder, whose module files (in all its subfolders)
// load as one project named after the folder.
//
// The in-memory code modules show what the VB6 code window shows: the file header, the designer
// block and every Attribute line stay hidden and are put back on save, member attributes right
// after their member's declaration. Designer controls are loaded with their properties; saving
// writes back only the lines of what changed. Project and group files are never written.
#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "hosts/files/file_error.h"
#include "hosts/files/safe_save.h"
#include "hosts/files/text_file.h"
#include "hosts/memory/memory_host.h"
#include "hosts/memory/shared_bytes.h"

namespace files {

struct LoadOptions {
  // A .vbp that the single module file being loaded belongs to (the command line's --project).
  std::filesystem::path project;
  // The code page of every file: 1252 (Windows western, the default), 28591 or 65001 (UTF-8).
  int codePage = 1252;
};

struct LoadedFile {
  enum class Kind { Group, Project, Module };
  Kind kind = Kind::Module;
  // Project: the .vbp, or the folder or single module file the project was made of.
  std::filesystem::path path;
  Text project;    // the project's name (Group: empty)
  Text component;  // Module: the component's name
};

struct FileChange {
  std::filesystem::path path;
  memhost::SharedBytes oldBytes;  // the file as loaded (or last saved)
  std::string newBytes;  // the file as saving would write it
};

class Workspace {
 public:
  // Throws LoadError naming the file that is missing, unreadable or not a VB6 file.
  static Workspace Load(const std::filesystem::path& path, const LoadOptions& options = {});

  Workspace(Workspace&&) noexcept;
  Workspace& operator=(Workspace&&) noexcept;
  ~Workspace();

  const std::shared_ptr<memhost::MemoryVBE>& vbe() const;
  // Every file read, in load order: the group, each project, then the project's modules.
  const std::vector<LoadedFile>& files() const;
  // "Project.Component" of the module file named when loading a single module; nullopt otherwise.
  const std::optional<Text>& focus() const;
  int codePage() const;

  // The modules whose files saving would change, with their old and new bytes. SaveError when a
  // change cannot be written (a character the code page lacks, a multi-line text for a .frm).
  std::vector<FileChange> PendingChanges() const;
  // A unified diff of the pending changes that git apply and patch -p1 take: the files' own bytes
  // and line ends, paths relative to the working folder (absolute for files outside it).
  std::string Diff() const;
  // The same written to `out` file by file, without holding it.
  void Diff(std::ostream& out) const;
  // Writes each changed module safely (see SaveFile) and returns their paths. Before anything is
  // written, every file to write is checked: SaveError naming it, with nothing written, when it
  // is gone, read-only or changed on disk since it was loaded (or last saved), or when a
  // component has no file. Loading and saving first finish what killed saves left in the folders.
  // Each file goes to disk as it is rendered, never held whole; a saved file is read back when it
  // is needed again, and must then be, byte for byte, what was written.
  std::vector<std::filesystem::path> Save();

  // What the last PendingChanges, Diff or Save left out, one line per hidden line whose member a
  // command removed: "PATH: member NAME: dropped hidden line: Attribute NAME.VB_UserMemId = 0".
  const std::vector<std::string>& DroppedLines() const;

  // Test hook: runs at each step of each file's save.
  void SetSaveHook(SaveHook hook);

 private:
  struct Impl;
  explicit Workspace(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace files
