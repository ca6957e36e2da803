// Splitting a VB6 module file into its hidden parts and its code, and putting it back together.
#include "hosts/files/module_file.h"

#include <map>
#include <optional>

#include "hosts/files/file_error.h"
#include "hosts/memory/declaration_scanner.h"

namespace fs = std::filesystem;

namespace files {
namespace {

Text Extension(const fs::path& path) { return vb::LCase(vb::FromUtf8(path.extension().string())); }

bool IsAttributeLine(TextView text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  return vb::StartsWith(text.substr(i), u"Attribute ");
}

// "Attribute VB_Name = "modMain"" -> modMain.
std::optional<Text> VbNameOf(TextView text) {
  if (!vb::StartsWith(text, u"Attribute VB_Name")) return std::nullopt;
  auto open = text.find(u'"');
  auto close = open == TextView::npos ? TextView::npos : text.find(u'"', open + 1);
  if (close == TextView::npos || close == open + 1) return std::nullopt;
  return Text(text.substr(open + 1, close - open - 1));
}

[[noreturn]] void NotVb6(const fs::path& path, const std::string& what) {
  throw LoadError(path, "not a VB6 " + what);
}

std::string KindName(int type) {
  switch (type) {
    case host::vbext_ct_StdModule: return "module file (.bas)";
    case host::vbext_ct_ClassModule: return "class file (.cls)";
    case host::vbext_ct_VBForm: return "form file (.frm)";
    case host::vbext_ct_UserControl: return "user control file (.ctl)";
    case host::vbext_ct_PropPage: return "property page file (.pag)";
    case host::vbext_ct_DocObject: return "user document file (.dob)";
    default: return "designer file (.dsr)";
  }
}

}  // namespace

std::vector<Text> ModuleFile::VisibleCode() const {
  std::vector<Text> lines;
  for (const CodeLine& c : code)
    if (!c.hidden) lines.push_back(c.line.text);
  return lines;
}

int ComponentTypeOfExtension(const fs::path& path) {
  static const std::map<Text, int> kTypes = {
      {u".bas", host::vbext_ct_StdModule},     {u".cls", host::vbext_ct_ClassModule},
      {u".frm", host::vbext_ct_VBForm},        {u".ctl", host::vbext_ct_UserControl},
      {u".pag", host::vbext_ct_PropPage},      {u".dob", host::vbext_ct_DocObject},
      {u".dsr", host::vbext_ct_ActiveXDesigner},
  };
  auto found = kTypes.find(Extension(path));
  return found == kTypes.end() ? 0 : found->second;
}

bool IsModuleFile(const fs::path& path) { return ComponentTypeOfExtension(path) != 0; }

ModuleFile ParseModuleFile(const fs::path& path, std::string bytes, int codePage) {
  ModuleFile module;
  module.path = path;
  module.codePage = codePage;
  module.componentType = ComponentTypeOfExtension(path);
  if (module.componentType == 0) throw LoadError(path, "not a VB6 module file (unknown extension)");
  const std::string kind = KindName(module.componentType);
  if (bytes.find('\0') != std::string::npos) NotVb6(path, kind + ": it holds binary data");
  TextFile file = SplitFile(bytes, codePage);
  module.bytes = std::move(bytes);
  module.bom = file.bom;
  module.newline = file.newline;
  module.lastEol = file.lines.empty() ? std::string() : file.lines.back().eol;
  const std::vector<Line>& lines = file.lines;
  if (lines.empty()) NotVb6(path, kind + ": the file is empty");

  std::size_t pos = 0;
  const bool standard = module.componentType == host::vbext_ct_StdModule;
  if (!standard) {
    if (!vb::StartsWith(lines[0].text, u"VERSION "))
      NotVb6(path, kind + ": the first line is not a \"VERSION\" line");
    if (module.componentType == host::vbext_ct_ClassModule && lines[0].text.find(u"CLASS") == Text::npos)
      NotVb6(path, kind + ": the first line is not \"VERSION 1.0 CLASS\"");
    // The header runs to the designer block or, in a class, to its Attribute lines.
    while (pos < lines.size() && !IsAttributeLine(lines[pos].text)) {
      if (IsBeginLine(lines[pos].text)) {
        try {
          module.designer = ParseDesigner(lines, pos);
        } catch (const DesignerSyntaxError& e) {
          throw LoadError(path, std::string("designer block: ") + e.what());
        }
        break;
      }
      module.header.push_back(lines[pos++]);
    }
    if (module.componentType != host::vbext_ct_ClassModule && !module.designer)
      NotVb6(path, kind + ": it has no designer block (\"Begin VB.Form ...\")");
  }
  while (pos < lines.size() && IsAttributeLine(lines[pos].text)) {
    if (!module.name.size())
      if (auto name = VbNameOf(lines[pos].text)) module.name = *name;
    module.attributes.push_back(lines[pos++]);
  }
  if (module.name.empty()) NotVb6(path, kind + ": it has no \"Attribute VB_Name\" line");
  for (; pos < lines.size(); ++pos) module.code.push_back(CodeLine{lines[pos], IsAttributeLine(lines[pos].text)});
  if (module.designer) {
    // The form block names the kind of form: an MDI form is a component of its own type.
    if (module.componentType == host::vbext_ct_VBForm && module.designer->className == u"MDIForm")
      module.componentType = host::vbext_ct_VBMDIForm;
  }
  return module;
}

namespace {

// Which member a group of hidden lines belongs to: the declaration at or before the visible line
// it follows.
struct Anchor {
  bool top = true;  // before any code: stays at the start
  memhost::DeclarationKind kind{};
  Text name;
};

Anchor AnchorAfter(const memhost::ModuleOutline& outline, long visibleLine) {
  Anchor anchor;
  if (visibleLine <= 0) return anchor;
  const memhost::Declaration* best = nullptr;
  for (const auto& d : outline.declarations) {
    if (d.firstLine > visibleLine) break;
    if (d.kind == memhost::DeclarationKind::Option || d.kind == memhost::DeclarationKind::Other) continue;
    best = &d;
  }
  if (!best) return anchor;  // nothing declared before it: keep it at the start as well
  anchor.top = false;
  anchor.kind = best->kind;
  anchor.name = best->name;
  return anchor;
}

}  // namespace

std::vector<CodeLine> RebuildCode(const std::vector<CodeLine>& old, const std::vector<Text>& current,
                                  const std::string& newline) {
  std::vector<Text> visible;
  for (const CodeLine& c : old)
    if (!c.hidden) visible.push_back(c.line.text);
  if (visible == current) return old;

  // The groups of hidden lines and the members they follow.
  const memhost::ModuleOutline before = memhost::ScanModule(visible);
  struct Group {
    Anchor anchor;
    std::vector<Line> lines;
  };
  std::vector<Group> groups;
  long seen = 0;
  for (std::size_t i = 0; i < old.size(); ++i) {
    if (!old[i].hidden) {
      ++seen;
      continue;
    }
    if (i == 0 || !old[i - 1].hidden) groups.push_back(Group{AnchorAfter(before, seen), {}});
    groups.back().lines.push_back(old[i].line);
  }

  // Where each group goes in the new code: after the last line of its member's declaration.
  const memhost::ModuleOutline after = memhost::ScanModule(current);
  std::multimap<long, const Group*> placed;  // line after which the group goes (0: at the start)
  for (const Group& g : groups) {
    if (g.anchor.top) {
      placed.emplace(0, &g);
      continue;
    }
    for (const auto& d : after.declarations) {
      if (d.kind == g.anchor.kind && vb::EqualsNoCase(d.name, g.anchor.name)) {
        placed.emplace(d.lastLine, &g);
        break;
      }
    }
  }

  std::vector<CodeLine> code;
  auto emitGroups = [&](long line) {
    auto [first, last] = placed.equal_range(line);
    for (auto it = first; it != last; ++it)
      for (const Line& l : it->second->lines) code.push_back(CodeLine{Line{l.text, newline}, true});
  };
  emitGroups(0);
  for (std::size_t i = 0; i < current.size(); ++i) {
    code.push_back(CodeLine{Line{current[i], newline}, false});
    emitGroups(static_cast<long>(i + 1));
  }
  return code;
}

std::vector<Line> AssembleFile(const ModuleFile& module, const DesignerNode* designer,
                               const std::vector<CodeLine>& code, const std::string& lastEol) {
  std::vector<Line> lines = module.header;
  if (designer) RenderDesigner(*designer, lines);
  lines.insert(lines.end(), module.attributes.begin(), module.attributes.end());
  for (const CodeLine& c : code) lines.push_back(c.line);
  // Lines that were last and lines added after them need a break; the new last line ends as the
  // file's last line did.
  for (Line& line : lines)
    if (line.eol.empty()) line.eol = module.newline;
  if (!lines.empty()) lines.back().eol = lastEol;
  return lines;
}

}  // namespace files
