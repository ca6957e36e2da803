#include "cli/loaded_code.h"

#include <algorithm>
#include <ostream>
#include <stdexcept>

#include "cli/command.h"
#include "cli/home.h"
#include "cli/output.h"
#include "hosts/files/workspace.h"

namespace cli {

struct LoadedCode::Impl {
  std::optional<files::Workspace> workspace;
};

LoadedCode::LoadedCode(const std::filesystem::path& path, const std::optional<std::filesystem::path>& project)
    : impl_(std::make_unique<Impl>()) {
  files::LoadOptions options;
  if (project) options.project = *project;
  try {
    impl_->workspace.emplace(files::Workspace::Load(path, options));
  } catch (const files::FileError& error) {
    throw UsageError(error.what());
  }
}

LoadedCode::~LoadedCode() = default;

#if defined(__SANITIZE_ADDRESS__)
#define VB6KIT_CHECKS_LEAKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define VB6KIT_CHECKS_LEAKS 1
#endif
#endif

void KeepUntilExit(std::unique_ptr<LoadedCode> code) {
#if defined(VB6KIT_CHECKS_LEAKS)
  code.reset();
#else
  // Reachable from here to the end, never destroyed.
  static auto* kept = new std::vector<std::unique_ptr<LoadedCode>>;
  kept->push_back(std::move(code));
#endif
}

std::shared_ptr<memhost::MemoryVBE> LoadedCode::vbe() const { return impl_->workspace->vbe(); }

vb::Text LoadedCode::ComponentOf(const std::filesystem::path& file) const {
  if (const std::optional<vb::Text>& focus = impl_->workspace->focus()) return *focus;
  std::error_code ec;
  for (const files::LoadedFile& loaded : impl_->workspace->files())
    if (loaded.kind == files::LoadedFile::Kind::Module && std::filesystem::equivalent(loaded.path, file, ec))
      return loaded.project + u"." + loaded.component;
  throw UsageError(file.string() + ": not a module of the loaded project");
}

std::vector<vb::Text> LoadedCode::Projects() const {
  std::vector<vb::Text> names;
  for (const files::LoadedFile& loaded : impl_->workspace->files())
    if (loaded.kind == files::LoadedFile::Kind::Project) names.push_back(loaded.project);
  if (names.empty()) {
    // A single module or a folder loads as a project with no project file.
    for (const files::LoadedFile& loaded : impl_->workspace->files())
      if (loaded.kind == files::LoadedFile::Kind::Module &&
          std::find(names.begin(), names.end(), loaded.project) == names.end())
        names.push_back(loaded.project);
  }
  return names;
}

std::vector<ComponentFile> LoadedCode::Components() const {
  std::vector<ComponentFile> components;
  for (const files::LoadedFile& loaded : impl_->workspace->files())
    if (loaded.kind == files::LoadedFile::Kind::Module)
      components.push_back({loaded.project, loaded.component, loaded.path});
  return components;
}

void LoadedCode::WriteDiff(std::ostream& out) const {
  try {
    impl_->workspace->Diff(out);
  } catch (const files::FileError& error) {
    throw UsageError(error.what());
  }
}

void LoadedCode::Save() {
  try {
    impl_->workspace->Save();
  } catch (const files::FileError& error) {
    throw UsageError(error.what());
  }
}

const std::vector<std::string>& LoadedCode::DroppedLines() const { return impl_->workspace->DroppedLines(); }

LineChanges CompareCode(const memhost::LineStore& before, const memhost::LineStore& after) {
  vb::Text oldScratch, newScratch;
  // Lines kept as bytes on both sides are compared as they are, not widened into copies.
  auto same = [&](std::size_t i, std::size_t j) {
    std::string_view oldBytes, newBytes;
    if (before.LineBytes(i, oldBytes) && after.LineBytes(j, newBytes)) return oldBytes == newBytes;
    return before.Line(i, oldScratch) == after.Line(j, newScratch);
  };
  // A module of one empty line shows no text, and so counts as no lines.
  auto count = [&](const memhost::LineStore& lines) {
    return lines.size() == 1 && lines.Line(0, oldScratch).empty() ? 0 : lines.size();
  };
  const std::size_t oldSize = count(before), newSize = count(after);
  std::size_t head = 0;
  while (head < oldSize && head < newSize && same(head, head)) ++head;
  std::size_t tail = 0;
  while (tail < oldSize - head && tail < newSize - head && same(oldSize - 1 - tail, newSize - 1 - tail)) ++tail;
  const long oldMiddle = static_cast<long>(oldSize - head - tail);
  const long newMiddle = static_cast<long>(newSize - head - tail);
  LineChanges changes;
  if (oldMiddle == newMiddle) {
    for (std::size_t i = head; i < oldSize - tail; ++i)
      if (!same(i, i)) ++changes.changed;
  } else if (newMiddle > oldMiddle) {
    changes.added = newMiddle - oldMiddle;
  } else {
    changes.removed = oldMiddle - newMiddle;
  }
  return changes;
}

memhost::LineStore CodeOf(memhost::MemoryVBE& vbe, vb::TextView component) { return vbe.CodeSnapshot(component); }

vb::Text DeclaredMember(memhost::MemoryVBE& vbe, vb::TextView component, std::initializer_list<vb::TextView> names) {
  host::Ref<host::CodeModule> module = vbe.Component(component)->CodeModule();
  host::Ref<host::Members> members = module ? module->Members() : nullptr;
  for (long i = 1, count = members ? members->Count() : 0; i <= count; ++i) {
    vb::Text declared = members->Item(i)->Name();
    for (vb::TextView name : names)
      if (vb::EqualsNoCase(declared, name)) return declared;
  }
  return {};
}

std::string Plural(long count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

LineChanges LoadedFile::TakeChanges() {
  if (!codeBefore) throw std::logic_error("TakeChanges: the module was loaded without a copy of its code");
  const LineChanges changes = CompareCode(*codeBefore, code->vbe()->ModuleLines(component));
  codeBefore.reset();
  return changes;
}

LoadedFile LoadModuleFile(const std::string& file, const std::optional<std::string>& project, CodeBefore before) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) throw UsageError(file + ": no such file");
  if (std::filesystem::is_directory(file, ec)) throw UsageError(file + ": is a folder, not a module file");
  const std::string extension = std::filesystem::path(file).extension().string();
  for (const char* projectKind : {".vbp", ".VBP", ".vbg", ".VBG"})
    if (extension == projectKind) throw UsageError(file + ": give a module file (.bas, .cls, .frm, ...), not a project");
  if (project && !std::filesystem::exists(*project, ec)) throw UsageError(*project + ": no such file");
  LoadedFile loaded;
  loaded.code = std::make_unique<LoadedCode>(
      file, project ? std::optional<std::filesystem::path>(*project) : std::nullopt);
  loaded.component = loaded.code->ComponentOf(file);
  host::Ref<host::VBComponent> component = loaded.code->vbe()->Component(loaded.component);
  host::Ref<host::CodeModule> module = component ? component->CodeModule() : nullptr;
  if (!module) throw UsageError(file + ": the module has no code");
  loaded.file = file;
  loaded.lineCount = module->CountOfLines();
  if (before == CodeBefore::Kept) loaded.codeBefore = CodeOf(*loaded.code->vbe(), loaded.component);
  // The project around the file is the active one, as when its code window is in front. (A
  // project's name may hold a dot, a component's never does.)
  const auto dot = loaded.component.rfind(u'.');
  if (dot != vb::Text::npos) loaded.code->vbe()->SetActiveProject(loaded.component.substr(0, dot));
  return loaded;
}

bool ReportMessages(const Context& context, const std::vector<scripted::MessageBox>& messages,
                    const std::string& addinName) {
  for (const scripted::MessageBox& box : messages) {
    const std::string title = box.title.empty() ? addinName : ConsoleText(box.title);
    context.err << "vb6kit " << context.commandName << ": " << title << ": " << ConsoleText(box.prompt) << "\n";
  }
  return !messages.empty();
}

namespace {

void SayDone(Context& context, const std::string& done) {
  if (!context.quiet && !context.dryRun && !done.empty()) context.err << done << "\n";
}

}  // namespace

std::string WhatChanged(LoadedFile& loaded, const std::function<std::string(const LineChanges&)>& describe) {
  const LineChanges changes = loaded.TakeChanges();
  return loaded.file + ": " + (changes.none() ? std::string("nothing changed") : describe(changes));
}

int FinishEdit(Context& context, Home& home, LoadedCode& code, const std::string& addinName, const std::string& done) {
  if (ReportMessages(context, home.toolkit.messages(), addinName)) return kExitAddinMessage;
  if (context.dryRun) {
    code.WriteDiff(context.out);
    context.out << home.SettingsDiff();
  } else {
    // Settings changes stay only with the files they belong to.
    code.Save();
    try {
      home.CommitSettings();
    } catch (const UsageError& error) {
      throw UsageError(std::string("the files were saved, but not the settings changes: ") + error.what());
    }
  }
  // A member the command removed takes its hidden lines (a default member's VB_UserMemId, its
  // description) with it, as in the IDE; say so, since un-commenting it does not bring them back.
  for (const std::string& dropped : code.DroppedLines())
    context.err << "vb6kit " << context.commandName << ": " << dropped << "\n";
  SayDone(context, done);
  return kExitOk;
}

int FinishSettings(Context& context, Home& home, const std::string& addinName, const std::string& done) {
  if (ReportMessages(context, home.toolkit.messages(), addinName)) return kExitAddinMessage;
  if (context.dryRun) context.out << home.SettingsDiff();
  home.CommitSettings();
  SayDone(context, done);
  return kExitOk;
}

void CheckLineInModule(const std::string& option, long line, long count, const std::string& file, bool allowEnd) {
  const long last = allowEnd ? count + 1 : count;
  if (line > last)
    throw UsageError(option + ": line " + std::to_string(line) + " is past the end of " + file + " (" +
                     std::to_string(count) + (count == 1 ? " line" : " lines") + " of code)");
}

}  // namespace cli
