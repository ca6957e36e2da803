// Loading VB6 files into the in-memory IDE, and saving the modules that changed.
#include "hosts/files/workspace.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "framework/vb_error.h"
#include "hosts/files/designer_sync.h"
#include "hosts/files/disk_file.h"
#include "hosts/files/module_file.h"
#include "hosts/files/project_file.h"
#include "hosts/files/safe_save.h"
#include "hosts/files/unified_diff.h"

namespace fs = std::filesystem;

namespace files {

namespace {

// What is kept of a module's file once it is saved, instead of its bytes.
struct SavedFile {
  FileStamp stamp;
  ByteFingerprint print;
};

struct LoadedModule {
  ModuleFile file;
  Text qualified;  // "Project.Component"
  bool bound = false;  // its designer block is bound to the in-memory designer
  fs::path key;        // the file's canonical path: projects of a group may share a module file
  std::uint64_t codeEdits = 0;  // of the in-memory module when loaded or last saved
  // Set by a save, which leaves `file.bytes` empty: the file is read back when it is needed again.
  std::optional<SavedFile> saved;
};

fs::path KeyOf(const fs::path& path) {
  std::error_code ec;
  fs::path key = fs::weakly_canonical(fs::absolute(path, ec), ec);
  return ec ? path.lexically_normal() : key;
}

// What saving one module would write.
struct Rendering {
  std::string bytes;          // the whole file, when it was asked for
  std::size_t codeBegin = 0;  // where the code part starts in the file
  bool simpleCode = false;    // the code has no hidden lines and its lines all end alike
  std::vector<DroppedLine> dropped;
};

// The break of the last of `lines`, or the file's own break when it has none.
std::string EolAfter(const std::vector<Line>& lines, const std::string& fallback) {
  return lines.empty() || lines.back().eol.empty() ? fallback : lines.back().eol;
}


}  // namespace

struct Workspace::Impl {
  ~Impl() {
    // The designer loaders point to this workspace; an IDE that outlives it keeps those designers empty.
    for (const LoadedModule& module : modules) {
      if (!module.file.HasDesigner() || module.bound) continue;
      try {
        vbe->SetDesignerLoader(module.qualified, nullptr);
      } catch (...) {
        // A component without a designer has no loader to forget.
      }
    }
  }

  std::shared_ptr<memhost::MemoryVBE> vbe = memhost::HostBuilder().build();
  int codePage = 1252;
  std::vector<LoadedFile> files;
  std::vector<LoadedModule> modules;
  std::vector<std::pair<Text, fs::path>> projects;  // name, the file or folder it came from
  std::optional<Text> focus;
  SaveHook hook;
  std::map<fs::path, fs::path> folderKeys;  // ModuleKey's resolved folders
  fs::path cwd;                             // the current folder, asked for once
  ByteArena arena;                          // the module files' bytes
  std::set<fs::path> finishedFolders;  // folders whose interrupted saves were finished at load
  std::map<Text, std::set<fs::path>> filesOfProject;  // by project name in lower case
  std::map<Text, std::set<Text>> namesOfProject;      // component names in lower case
  std::vector<std::string> droppedLines;              // by the last rendering of the pending changes

  // What saving would write: one entry per file, even when projects of a group share it; a file
  // that two projects changed in different ways cannot be written.
  // `whole` keeps each file's new bytes in its rendering; otherwise they are only compared with
  // the old ones as they are made.
  std::vector<std::pair<std::vector<LoadedModule*>, Rendering>> Pending(bool whole) {
    std::vector<std::pair<std::vector<LoadedModule*>, Rendering>> pending;
    std::map<fs::path, std::size_t> byKey;
    for (auto& module : modules) {
      if (Unchanged(module)) continue;
      Rendering r;
      if (!RenderChanged(module, r, whole)) continue;
      auto found = byKey.find(module.key);
      if (found == byKey.end()) {
        byKey.emplace(module.key, pending.size());
        pending.emplace_back(std::vector<LoadedModule*>{&module}, std::move(r));  // moved, not copied
        continue;
      }
      auto& [sharers, first] = pending[found->second];
      if (WholeFile(*sharers.front()) != WholeFile(module))
        throw SaveError(module.file.path, "the file is a module of two projects (" + vb::ToUtf8(sharers.front()->qualified) +
                                              ", " + vb::ToUtf8(module.qualified) +
                                              ") changed in different ways; nothing was saved");
      sharers.push_back(&module);
    }
    // A shared file that one project left as it was is written all the same: the others follow.
    for (auto& [sharers, r] : pending)
      for (auto& module : modules)
        if (module.key == sharers.front()->key &&
            std::find(sharers.begin(), sharers.end(), &module) == sharers.end()) {
          Rendering ignored;
          if (!Unchanged(module) && RenderChanged(module, ignored, false)) continue;
          throw SaveError(module.file.path, "the file is a module of two projects and only " +
                                                vb::ToUtf8(sharers.front()->qualified) +
                                                " changed it; nothing was saved");
        }
    droppedLines.clear();
    for (const auto& [sharers, r] : pending)
      for (const DroppedLine& d : r.dropped)
        droppedLines.push_back(sharers.front()->file.path.generic_string() + ": member " + vb::ToUtf8(d.member) +
                               ": dropped hidden line: " + vb::ToUtf8(d.line));
    return pending;
  }

  void AddProject(const Text& name, const fs::path& from) {
    for (const auto& [existing, path] : projects)
      if (vb::EqualsNoCase(existing, name))
        throw LoadError(from, "a project named \"" + vb::ToUtf8(name) + "\" is already loaded from " +
                                  path.generic_string());
    vbe->AddProject(name);
    projects.emplace_back(name, from);
    files.push_back(LoadedFile{LoadedFile::Kind::Project, from, name, {}});
  }

  // KeyOf(path), resolving each folder once: a module file that is no link is its folder's real
  // path and its own name. `maybeLink` false: the path is known to name no link.
  fs::path ModuleKey(const fs::path& path, bool maybeLink) {
    std::error_code ec;
    if (cwd.empty() && path.is_relative()) cwd = fs::current_path(ec);
    const fs::path absolute = path.is_absolute() ? path : cwd / path;
    if (ec || absolute.is_relative() || !absolute.has_filename() || absolute.filename() == ".." ||
        (maybeLink && (fs::is_symlink(fs::symlink_status(path, ec)) || ec)))
      return KeyOf(path);
    auto [folder, fresh] = folderKeys.try_emplace(absolute.parent_path());
    if (fresh) folder->second = KeyOf(absolute.parent_path());
    return folder->second / absolute.filename();
  }

  // Loads a module file into `project`; `inFolder` gives a second module of a name "Name (2)"
  // instead of refusing it (folders hold many projects' modules), and passes over a link to a
  // file the folder holds already.
  void AddModule(const Text& project, const fs::path& path, bool inFolder, bool maybeLink = true) {
    const fs::path key = ModuleKey(path, maybeLink);
    const Text projectKey = vb::LCase(project);
    if (!filesOfProject[projectKey].insert(key).second) {
      if (inFolder) return;
      throw LoadError(path, "the module file is named twice in the project");
    }
    // A save killed while it rewrote a file in place is completed before the file is read.
    const fs::path folder = key.parent_path();
    if (finishedFolders.insert(folder).second) {
      try {
        FinishInterruptedSaves(folder);
      } catch (const SaveError& e) {
        throw LoadError(e.path(), e.message());
      }
    }
    ModuleFile file = ParseModuleFile(path, ReadBytes(path, arena), codePage);
    std::set<Text>& names = namesOfProject[projectKey];
    Text name = file.name;
    auto taken = [&](const Text& candidate) { return names.count(vb::LCase(candidate)) > 0; };
    if (taken(name)) {
      if (!inFolder)
        throw LoadError(path, "its VB_Name \"" + vb::ToUtf8(name) + "\" is the name of another module of project " +
                                  vb::ToUtf8(project));
      for (long n = 2; taken(name); ++n) name = file.name + u" (" + vb::ToText(n) + u")";
    }
    LoadedModule module{std::move(file), project + u"." + name, false, key, 0, std::nullopt};
    names.insert(vb::LCase(name));
    try {
      vbe->SetActiveProject(project);
      auto component = vbe->AddComponent(name, module.file.componentType, module.file.VisibleCode());
      module.codeEdits = vbe->CodeEdits(module.qualified);
      if (module.file.HasDesigner() && component->Designer()) {
        // The designer block is parsed and its controls placed when a command first looks at them.
        const std::size_t index = modules.size();
        vbe->SetDesignerLoader(module.qualified, [this, index] { BindDesigner(modules[index]); });
      }
    } catch (const vb::Error& e) {
      throw LoadError(path, "the in-memory IDE refused it: " + vb::ToUtf8(e.description));
    }
    files.push_back(LoadedFile{LoadedFile::Kind::Module, path, project, name});
    modules.push_back(std::move(module));
  }

  Text LoadProjectFile(const fs::path& path) {
    ProjectFile project = ReadProjectFile(path, codePage);
    AddProject(project.name, path);
    for (const ProjectModule& m : project.modules) {
      try {
        AddModule(project.name, m.path, false, m.maybeLink);
      } catch (const LoadError&) {
        // Asked only now: a missing file is the one failure that the project file explains.
        std::error_code ec;
        if (!fs::exists(m.path, ec))
          throw LoadError(m.path, "file not found (named by " + path.generic_string() + " as \"" +
                                      vb::ToUtf8(m.written) + "\")");
        throw;
      }
    }
    return project.name;
  }

  void LoadFolder(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
      if (it->is_regular_file(ec) && IsModuleFile(it->path())) found.push_back(it->path());
    if (ec) throw LoadError(folder, "cannot be read: " + ec.message());
    if (found.empty()) throw LoadError(folder, "the folder holds no VB6 module files");
    std::sort(found.begin(), found.end());
    fs::path absolute = fs::absolute(folder, ec).lexically_normal();
    Text name = vb::FromUtf8((absolute.has_filename() ? absolute : absolute.parent_path()).filename().string());
    if (name.empty()) name = u"Project1";
    AddProject(name, folder);
    for (const fs::path& path : found) AddModule(name, path, true);
  }

  void BindDesigner(LoadedModule& module) {
    try {
      if (!module.file.designer) Reread(module, "");
      LoadDesignerControls(*vbe, module.qualified, *module.file.Designer(), module.file.bytes);
    } catch (const SaveError& e) {
      throw LoadError(e.path(), e.message());
    } catch (const vb::Error& e) {
      throw LoadError(module.file.path, "the in-memory IDE refused it: " + vb::ToUtf8(e.description));
    }
    module.bound = true;
  }

  // Neither its code nor its controls were touched since it was loaded or saved.
  bool Unchanged(const LoadedModule& module) const {
    return !module.bound && vbe->CodeEdits(module.qualified) == module.codeEdits;
  }

  // A saved module's file, read back: it must still be the file the save wrote, byte for byte.
  // SaveError naming it when it is not; `then` ends the message.
  void Reread(LoadedModule& module, const std::string& then) {
    if (!module.saved) return;
    const fs::path& path = module.file.path;
    DiskFile disk;
    try {
      disk = ReadDiskFile(path);
    } catch (const LoadError& e) {
      std::error_code ec;
      if (!fs::exists(path, ec)) throw SaveError(path, "the file is gone since it was loaded" + then);
      throw SaveError(path, e.message() + then);
    }
    ByteFingerprint print;
    print.Add(disk.bytes);
    if (disk.stamp != module.saved->stamp || print != module.saved->print)
      throw SaveError(path, "the file changed on disk since it was loaded" + then);
    module.file.bytes = memhost::SharedBytes(std::move(disk.bytes));
    module.saved.reset();
  }

  // Renders what saving would write to `out`, a piece at a time.
  Rendering Render(const LoadedModule& module, const ByteSink& out) const {
    const ModuleFile& file = module.file;
    Rendering r;
    // The tree is bound and so parsed; the changes go into it, its state as loaded kept aside.
    if (module.bound)
      ApplyDesignerChanges(*vbe, module.qualified, *file.designer, EolAfter(file.header, file.newline), file.path);
    const std::string eolBefore = EolAfter(file.attributes, file.newline);
    // Most modules hold no member attribute lines and end every line alike: then every line
    // takes that end, and the code goes straight from the in-memory module into the bytes.
    r.simpleCode = !file.codeHasHidden && !file.codeEolsDiffer && (file.codeEol.empty() || file.codeEol == eolBefore);
    const memhost::LineStore& lines = vbe->ModuleLines(module.qualified);
    auto code = [&](const LineSink& add, const ByteLineSink& addBytes) {
      if (r.simpleCode) {
        Text scratch;
        std::string_view bytes;
        for (std::size_t i = 0; i < lines.size(); ++i) {
          // A line kept as bytes that mean the same in the file's code page goes as it is: a line
          // of hundreds of thousands of characters is then never widened to be narrowed again.
          if (lines.LineBytes(i, bytes) && DecodesByteForByte(bytes, file.codePage))
            addBytes(bytes, eolBefore);
          else
            add(lines.Line(i, scratch), eolBefore);
        }
        return;
      }
      RebuildCode(file.Code(), lines, eolBefore, add, &r.dropped);
    };
    AssembleFile(file, file.designer.get(), code, r.codeBegin, out);
    return r;
  }

  // The whole file saving would write.
  std::string WholeFile(const LoadedModule& module, Rendering* r = nullptr) const {
    // Room for the file as it was and the code as it is: a string that doubled as it grew would
    // hold the file twice while it moved. Room never written costs no memory.
    const std::size_t old = module.file.bytes.size();
    const memhost::LineStore& lines = vbe->ModuleLines(module.qualified);
    std::string bytes;
    bytes.reserve(std::max(old + old / 8, old + lines.Characters() + 2 * lines.size()));
    Rendering made = Render(module, [&](std::string_view piece) { bytes += piece; });
    if (r) *r = std::move(made);
    return bytes;
  }

  // Renders a module that may have changed (its file read back first when it was saved): whether
  // saving would change its file. `whole` keeps the new bytes in `r`; otherwise they are only
  // compared with the file's as they are made.
  bool RenderChanged(LoadedModule& module, Rendering& r, bool whole) {
    Reread(module, "; nothing was saved");
    const std::string_view old = module.file.bytes.view();
    if (whole) {
      r.bytes = WholeFile(module, &r);
      return r.bytes != old;
    }
    std::size_t at = 0;
    bool same = true;
    r = Render(module, [&](std::string_view piece) {
      same = same && piece.size() <= old.size() - at && old.compare(at, piece.size(), piece) == 0;
      at += piece.size();
    });
    return !same || at != old.size();
  }

  // Components that exist only in memory cannot be saved.
  void CheckEveryComponentHasAFile() const {
    std::set<Text> known;
    for (const auto& m : modules) known.insert(vb::LCase(m.qualified));
    auto projectsRef = vbe->VBProjects();
    for (long p = 1; p <= projectsRef->Count(); ++p) {
      auto project = projectsRef->Item(p);
      auto components = project->VBComponents();
      for (long c = 1; c <= components->Count(); ++c) {
        const Text qualified = project->Name() + u"." + components->Item(c)->Name();
        if (known.count(vb::LCase(qualified))) continue;
        fs::path from;
        for (const auto& [name, path] : projects)
          if (vb::EqualsNoCase(name, project->Name())) from = path;
        throw SaveError(from, "module " + vb::ToUtf8(qualified) + " was added in memory and has no file to save to");
      }
    }
  }
};

Workspace::Workspace(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Workspace::Workspace(Workspace&&) noexcept = default;
Workspace& Workspace::operator=(Workspace&&) noexcept = default;
Workspace::~Workspace() = default;

Workspace Workspace::Load(const fs::path& path, const LoadOptions& options) {
  auto impl = std::make_unique<Impl>();
  if (!IsSupportedCodePage(options.codePage))
    throw LoadError(path, "code page " + std::to_string(options.codePage) +
                              " is not supported (use 1252, 28591 or 65001)");
  impl->codePage = options.codePage;
  std::error_code ec;
  if (!fs::exists(path, ec)) throw LoadError(path, "file not found");
  const Text extension = vb::LCase(vb::FromUtf8(path.extension().string()));
  const bool isModule = IsModuleFile(path) && !fs::is_directory(path, ec);
  if (!options.project.empty() && !isModule)
    throw LoadError(path, "a project (--project) can only be given with a single module file");

  if (fs::is_directory(path, ec)) {
    impl->LoadFolder(path);
  } else if (extension == u".vbp") {
    impl->LoadProjectFile(path);
  } else if (extension == u".vbg") {
    auto projects = ReadGroupFile(path, impl->codePage);
    impl->files.push_back(LoadedFile{LoadedFile::Kind::Group, path, {}, {}});
    // A project named twice (by another path, through a link) loads once. Only files of one size
    // and time of change can be one file, so a group of hundreds of projects compares few pairs.
    std::map<std::pair<std::uintmax_t, fs::file_time_type>, std::vector<fs::path>> seen;
    for (const fs::path& project : projects) {
      std::vector<fs::path>& alike = seen[{fs::file_size(project, ec), fs::last_write_time(project, ec)}];
      if (std::any_of(alike.begin(), alike.end(), [&](const fs::path& p) { return fs::equivalent(p, project, ec); }))
        continue;
      if (!fs::exists(project, ec))
        throw LoadError(project, "file not found (named by " + path.generic_string() + ")");
      impl->LoadProjectFile(project);
      alike.push_back(project);
    }
  } else if (isModule && !options.project.empty()) {
    const Text project = impl->LoadProjectFile(options.project);
    for (const auto& m : impl->modules)
      if (fs::equivalent(m.file.path, path, ec)) impl->focus = m.qualified;
    if (!impl->focus)
      throw LoadError(path, "not a module of the project " + options.project.generic_string());
    impl->vbe->SetActiveProject(project);
  } else if (isModule) {
    impl->AddProject(u"Project1", path);
    impl->AddModule(u"Project1", path, false);
    impl->focus = impl->modules.back().qualified;
  } else {
    throw LoadError(path, "not a VB6 file: expected a .vbp, .vbg, .bas, .cls, .frm, .ctl, .pag, .dob or .dsr file, "
                          "or a folder of them");
  }
  if (!impl->focus && !impl->projects.empty()) impl->vbe->SetActiveProject(impl->projects.front().first);
  return Workspace(std::move(impl));
}

const std::shared_ptr<memhost::MemoryVBE>& Workspace::vbe() const { return impl_->vbe; }
const std::vector<LoadedFile>& Workspace::files() const { return impl_->files; }
const std::optional<Text>& Workspace::focus() const { return impl_->focus; }
int Workspace::codePage() const { return impl_->codePage; }
void Workspace::SetSaveHook(SaveHook hook) { impl_->hook = std::move(hook); }
const std::vector<std::string>& Workspace::DroppedLines() const { return impl_->droppedLines; }

std::vector<FileChange> Workspace::PendingChanges() const {
  std::vector<FileChange> changes;
  for (auto& [sharers, r] : impl_->Pending(true)) {
    const ModuleFile& file = sharers.front()->file;
    changes.push_back(FileChange{file.path, file.bytes, std::move(r.bytes)});
  }
  return changes;
}

std::string Workspace::Diff() const {
  std::ostringstream out;
  Diff(out);
  return std::move(out).str();
}

void Workspace::Diff(std::ostream& out) const {
  for (const FileChange& change : PendingChanges()) {
    // Relative to the working folder when the file lies in it, as git apply and patch -p1 take
    // it there; absolute otherwise.
    std::error_code ec;
    const fs::path absolute = fs::absolute(change.path, ec).lexically_normal();
    const fs::path relative = absolute.lexically_relative(fs::current_path(ec));
    const bool inside = !ec && !relative.empty() && *relative.begin() != "..";
    WriteUnifiedDiffOfBytes(out, (inside ? relative : absolute).generic_string(), change.oldBytes.view(),
                            change.newBytes);
  }
}

std::vector<fs::path> Workspace::Save() {
  impl_->CheckEveryComponentHasAFile();
  auto pending = impl_->Pending(false);
  // What killed saves left beside the files is cleared first, once per folder.
  std::set<fs::path> folders;
  for (const auto& [sharers, rendering] : pending) {
    std::error_code ec;
    const fs::path real = fs::canonical(sharers.front()->file.path, ec);
    if (!ec && folders.insert(real.parent_path()).second) FinishInterruptedSaves(real.parent_path());
  }
  // Nothing is written unless every file can be.
  std::vector<FileStamp> stamps;
  for (const auto& [sharers, rendering] : pending) {
    const fs::path& path = sharers.front()->file.path;
    std::error_code ec;
    if (!fs::exists(path, ec)) throw SaveError(path, "the file is gone since it was loaded; nothing was saved");
    bool same = false;
    try {
      same = HoldsBytes(path, sharers.front()->file.bytes.view(), stamps.emplace_back());
      CheckSavable(path);
    } catch (const FileError& e) {
      throw SaveError(path, e.message() + "; nothing was saved");
    }
    if (!same) throw SaveError(path, "the file changed on disk since it was loaded; nothing was saved");
  }
  std::vector<fs::path> written;
  for (std::size_t i = 0; i < pending.size(); ++i) {
    auto& [sharers, rendering] = pending[i];
    const ModuleFile& first = sharers.front()->file;
    // The file goes to disk as it is rendered; what is kept of it is its fingerprint.
    ByteFingerprint print;
    auto source = [&, &rendering = rendering, &sharers = sharers](const ByteSink& out) {
      print = {};
      rendering = impl_->Render(*sharers.front(), [&](std::string_view piece) {
        print.Add(piece);
        out(piece);
      });
    };
    FileStamp saved;
    try {
      saved = SaveFile(first.path, stamps[i], first.bytes.view(), source, impl_->hook);
    } catch (const std::exception& e) {
      const auto* failure = dynamic_cast<const SaveError*>(&e);
      std::string message = failure ? failure->message() : e.what();
      if (!failure || failure->untouched()) message += "; the file is as it was";
      if (!written.empty()) {
        message += " (saved before it:";
        for (const auto& w : written) message += " " + w.generic_string();
        message += ")";
      }
      throw SaveError(first.path, message, !failure || failure->untouched());
    }
    written.push_back(first.path);
    for (LoadedModule* module : sharers) {
      // Each project's rendering gives its new baseline, its designer bound to its own controls;
      // the file's bytes are read back only if they are needed again.
      const Rendering own =
          module == sharers.front() ? std::move(rendering) : impl_->Render(*module, [](std::string_view) {});
      module->file.bytes = {};
      module->saved = SavedFile{saved, print};
      module->file.codeBegin = own.codeBegin;
      if (!own.simpleCode) module->file.codeEolsDiffer = true;  // not known any more: the general way next time
      module->codeEdits = impl_->vbe->CodeEdits(module->qualified);
      if (module->bound) DesignerSaved(*impl_->vbe, *module->file.designer);
    }
  }
  return written;
}

}  // namespace files
