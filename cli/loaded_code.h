// The VB6 files one command works on, loaded into the in-memory IDE, and what becomes of them
// when the command ends: the unified diff of a dry run, or the changed files saved back.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/vb_text.h"
#include "hosts/memory/memory_host.h"
#include "toolkits/scripted/scripted_toolkit.h"

namespace cli {

struct Context;
class Home;

struct ComponentFile {
  vb::Text project;
  vb::Text component;
  std::filesystem::path file;
};

class LoadedCode {
 public:
  // PATH: a project file (.vbp), a group (.vbg), a folder of module files, or a module file,
  // which goes into `project` when given. UsageError naming the file that cannot be loaded.
  LoadedCode(const std::filesystem::path& path, const std::optional<std::filesystem::path>& project);
  ~LoadedCode();
  LoadedCode(const LoadedCode&) = delete;
  LoadedCode& operator=(const LoadedCode&) = delete;

  std::shared_ptr<memhost::MemoryVBE> vbe() const;
  // "Project.Component" of a module file that was loaded (UsageError when it was not).
  vb::Text ComponentOf(const std::filesystem::path& file) const;
  // The names of the loaded projects, in load order.
  std::vector<vb::Text> Projects() const;
  // Every loaded component with its file, in the order of the projects and their files.
  std::vector<ComponentFile> Components() const;
  // Writes the unified diff of what would be written; nothing when nothing changed.
  void WriteDiff(std::ostream& out) const;
  // Writes the changed files; UsageError naming a file that changed on disk or cannot be written.
  void Save();
  // The hidden lines that the last Diff or Save left out with the member they belonged to, one
  // line each ("FILE: member NAME: dropped hidden line: LINE").
  const std::vector<std::string>& DroppedLines() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Keeps a project that a command only read until the process ends, when the system takes its
// memory back at once: freeing the modules and line tables of a large project one by one cost
// `count` a few percent. Builds that look for leaks free it at once.
void KeepUntilExit(std::unique_ptr<LoadedCode> code);

// How the code of a module changed: lines changed in place, and lines added or removed.
struct LineChanges {
  long changed = 0;
  long added = 0;
  long removed = 0;
  bool none() const { return changed == 0 && added == 0 && removed == 0; }
};
// Compares the lines of two module codes past their common start and end: lines in between are
// changed when both sides have as many, else the difference was added or removed.
LineChanges CompareCode(const memhost::LineStore& before, const memhost::LineStore& after);
// The code lines of a component ("Project.Component"), none when it has no code; a copy that
// takes little memory.
memhost::LineStore CodeOf(memhost::MemoryVBE& vbe, vb::TextView component);
// The first of `names` that the code of a component ("Project.Component") declares at module
// level as a member (a procedure, property, variable, constant, event or Declare), as the module
// writes it; empty when it declares none. VB's names ignore letter case, and a second declaration
// of one, or a control of that name on the form, stops the module compiling.
vb::Text DeclaredMember(memhost::MemoryVBE& vbe, vb::TextView component, std::initializer_list<vb::TextView> names);
// "1 line", "3 lines".
std::string Plural(long count, const std::string& noun);

// A module FILE argument with its optional --project, loaded.
struct LoadedFile {
  std::unique_ptr<LoadedCode> code;
  std::string file;      // as given
  vb::Text component;    // "Project.Component"
  long lineCount = 0;    // lines of the code window
  std::optional<memhost::LineStore> codeBefore;  // the module's code as loaded, until TakeChanges
  // How the module's code changed since it was loaded, asked once as the command ends: the copy
  // of the code as loaded is let go, so that the save or the diff after it has that room.
  LineChanges TakeChanges();
};
// Whether a command tells how it changed the module's code (TakeChanges): only then is a copy of
// the code as loaded kept.
enum class CodeBefore { Kept, NotKept };
LoadedFile LoadModuleFile(const std::string& file, const std::optional<std::string>& project,
                          CodeBefore before = CodeBefore::Kept);
// "FILE: " and what `describe` makes of the module's changes, or "FILE: nothing changed".
std::string WhatChanged(LoadedFile& loaded, const std::function<std::string(const LineChanges&)>& describe);

// The end of a command that edits code: the add-in's messages (exit 1, nothing written), else a
// dry run's diff, else the changed files saved and then the settings changes kept, and `done`
// (what changed, "modStock.bas: 3 lines commented out") said on stderr unless --quiet.
int FinishEdit(Context& context, Home& home, LoadedCode& code, const std::string& addinName, const std::string& done);
// The end of a command that changes settings only: the add-in's messages (exit 1, no settings
// changed), else a dry run's diff of the settings, else the settings changes kept and `done` said
// as above.
int FinishSettings(Context& context, Home& home, const std::string& addinName, const std::string& done);
// Prints each message box the add-in showed as "vb6kit COMMAND: title: text" (an empty title is
// the add-in's name, as the IDE would show it). Returns true when there was any.
bool ReportMessages(const Context& context, const std::vector<scripted::MessageBox>& messages,
                    const std::string& addinName);

// A line number that must lie within the module (1 .. count, or count + 1 when `allowEnd`).
void CheckLineInModule(const std::string& option, long line, long count, const std::string& file, bool allowEnd);

}  // namespace cli
