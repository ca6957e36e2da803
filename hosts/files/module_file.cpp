// Splitting a VB6 module file into its hidden parts and its code, and putting it back together.
#include "hosts/files/module_file.h"

#include <algorithm>
#include <map>
#include <optional>

#include "hosts/files/file_error.h"
#include "hosts/files/line_alignment.h"
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

// The first line (from 1) whose bytes its text does not give back in the code page, 0 when every
// line does: bytes that are no UTF-8 read as U+FFFD and would be written back as that.
std::size_t FirstLineNotKept(const TextFile& file, std::string_view bytes, int codePage) {
  std::size_t offset = file.bom.size();
  for (std::size_t i = 0; i < file.lines.size(); ++i) {
    const std::string encoded = Encode(file.lines[i].text, codePage);
    if (bytes.compare(offset, encoded.size(), encoded) != 0) return i + 1;
    offset += encoded.size() + file.lines[i].eol.size();
  }
  return 0;
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
  if (const std::size_t line = FirstLineNotKept(file, bytes, codePage))
    throw LoadError(path, "line " + std::to_string(line) + " is not text in code page " + std::to_string(codePage) +
                              ": saving would change its bytes");
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

// Where an attribute line names its member: "Attribute Item.VB_UserMemId = 0" -> the span of
// Item; an empty span for a line that names none.
std::pair<std::size_t, std::size_t> MemberSpan(TextView line) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
  if (!vb::StartsWith(line.substr(i), u"Attribute ")) return {0, 0};
  i += 10;
  while (i < line.size() && line[i] == u' ') ++i;
  const std::size_t dot = line.find(u'.', i);
  if (dot == TextView::npos || dot > line.find_first_of(u" =", i)) return {0, 0};
  return {i, dot - i};
}

// The first line of the statement that ends on lines[last] (continuations joined; VB6 allows 24,
// so a file claiming more cannot make the look-back long).
std::size_t StatementStart(const std::vector<Text>& lines, std::size_t last) {
  std::size_t first = last;
  while (first > 0 && last - first < 25 && memhost::ContinuesOnNextLine(lines[first - 1])) --first;
  return first;
}

// The members that the statement on lines[first..last] declares.
std::vector<memhost::Declaration> Declared(const std::vector<Text>& lines, std::size_t first, std::size_t last) {
  std::vector<Text> statement(lines.begin() + static_cast<std::ptrdiff_t>(first),
                              lines.begin() + static_cast<std::ptrdiff_t>(last + 1));
  std::vector<memhost::Declaration> members;
  for (auto& d : memhost::ScanModule(statement).declarations)
    if (!d.name.empty() && d.kind != memhost::DeclarationKind::Implements) members.push_back(std::move(d));
  return members;
}

// The hidden lines of the members that a statement declared (`before`) now that it declares
// `after`: a line of a renamed member is renamed with it, a line of a member that is gone is left
// out and listed in `dropped`.
std::vector<Line> FollowMembers(std::vector<Line> lines, const std::vector<memhost::Declaration>& before,
                                const std::vector<memhost::Declaration>& after, std::vector<DroppedLine>* dropped) {
  std::vector<Line> kept;
  for (Line& line : lines) {
    const auto [at, length] = MemberSpan(line.text);
    const TextView member = TextView(line.text).substr(at, length);
    // A line naming no member of the statement goes with the statement's first member.
    std::size_t d = 0;
    while (d < before.size() && !vb::EqualsNoCase(before[d].name, member)) ++d;
    if (d == before.size()) d = 0;
    if (d >= after.size() || after[d].kind != before[d].kind) {
      if (dropped) dropped->push_back(DroppedLine{Text(length ? member : TextView(before[0].name)), line.text});
      continue;
    }
    if (length && vb::EqualsNoCase(member, before[d].name) && member != after[d].name)
      line.text.replace(at, length, after[d].name);
    kept.push_back(std::move(line));
  }
  return kept;
}

// Where the lines of the old code went: for each new line the old one it is or replaced.
struct LineMap {
  enum class Origin { Added, Same, Replaced };
  std::vector<Origin> origin;     // per new line
  std::vector<std::size_t> from;  // per new line: the old line (Same, Replaced)
  std::vector<std::size_t> to;    // per old line: the new line that is it or replaced it, else kUnmatched
  std::vector<std::size_t> same;  // per old line: the new line that is it, else kUnmatched
};

LineMap MapLines(const std::vector<Text>& before, const std::vector<Text>& after) {
  LineMap map;
  map.same = MatchLines(before, after);
  map.origin.assign(after.size(), LineMap::Origin::Added);
  map.from.assign(after.size(), kUnmatched);
  map.to.assign(before.size(), kUnmatched);
  std::size_t i = 0, j = 0;
  while (i < before.size() || j < after.size()) {
    if (i < before.size() && map.same[i] != kUnmatched && map.same[i] == j) {
      map.origin[j] = LineMap::Origin::Same;
      map.from[j] = i;
      map.to[i++] = j++;
      continue;
    }
    // An edited stretch: old lines up to the next common one against the new lines up to it;
    // the lines of both sides pair up in order (a line edited in place), the rest are added or
    // removed.
    std::size_t i2 = i;
    while (i2 < before.size() && map.same[i2] == kUnmatched) ++i2;
    const std::size_t j2 = i2 < before.size() ? map.same[i2] : after.size();
    for (std::size_t k = 0; i + k < i2 && j + k < j2; ++k) {
      map.origin[j + k] = LineMap::Origin::Replaced;
      map.from[j + k] = i + k;
      map.to[i + k] = j + k;
    }
    i = i2;
    j = j2;
  }
  return map;
}

}  // namespace

std::vector<CodeLine> RebuildCode(const std::vector<CodeLine>& old, const std::vector<Text>& current,
                                  const std::string& eolBefore, std::vector<DroppedLine>* dropped) {
  std::vector<Text> visible;
  std::vector<std::size_t> position;  // where each visible line stands in `old`
  visible.reserve(old.size());
  position.reserve(old.size());
  for (std::size_t i = 0; i < old.size(); ++i)
    if (!old[i].hidden) {
      visible.push_back(old[i].line.text);
      position.push_back(i);
    }
  if (visible == current) return old;
  const LineMap map = MapLines(visible, current);

  // Each group of hidden lines stays right after the line it followed, wherever that line went.
  // When a command changed the declaration it follows, the group follows the member: renamed
  // with it, or dropped with it.
  struct Placed {
    std::size_t after;  // the number of new lines before the group
    std::vector<Line> lines;
  };
  std::vector<Placed> placed;
  std::size_t keptBefore = 0;  // new lines up to the last surviving old line seen so far
  std::size_t seen = 0;        // old visible lines before the current group
  for (std::size_t i = 0; i < old.size();) {
    if (!old[i].hidden) {
      if (map.to[seen] != kUnmatched) keptBefore = map.to[seen] + 1;
      ++seen;
      ++i;
      continue;
    }
    Placed group{0, {}};
    for (; i < old.size() && old[i].hidden; ++i) group.lines.push_back(old[i].line);
    if (seen == 0) {
      placed.push_back(std::move(group));
      continue;
    }
    const std::size_t last = seen - 1, first = StatementStart(visible, last);
    bool untouched = true;
    for (std::size_t k = first; k <= last && untouched; ++k) untouched = map.same[k] != kUnmatched;
    if (untouched) {
      group.after = map.same[last] + 1;
      placed.push_back(std::move(group));
      continue;
    }
    const auto before = Declared(visible, first, last);
    if (before.empty()) {
      // Hidden lines after something that declares nothing keep their place among the lines.
      group.after = map.to[last] != kUnmatched ? map.to[last] + 1 : keptBefore;
      placed.push_back(std::move(group));
      continue;
    }
    // The declaration was edited or removed: the lines follow its members.
    std::vector<memhost::Declaration> after;
    if (map.to[last] != kUnmatched) {
      group.after = map.to[last] + 1;
      after = Declared(current, StatementStart(current, map.to[last]), map.to[last]);
    }
    group.lines = FollowMembers(std::move(group.lines), before, after, dropped);
    if (!group.lines.empty()) placed.push_back(std::move(group));
  }
  std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) { return a.after < b.after; });

  // Lines the command left alone keep their line ends, lines it edited keep the end they had, and
  // added lines take the end of the line they follow.
  std::vector<CodeLine> code;
  code.reserve(current.size() + old.size() - visible.size());
  auto next = placed.begin();
  auto emitGroups = [&](std::size_t after) {
    for (; next != placed.end() && next->after == after; ++next)
      for (Line& l : next->lines) code.push_back(CodeLine{std::move(l), true});
  };
  emitGroups(0);
  for (std::size_t j = 0; j < current.size(); ++j) {
    switch (map.origin[j]) {
      case LineMap::Origin::Same:
        code.push_back(old[position[map.from[j]]]);
        break;
      case LineMap::Origin::Replaced:
        code.push_back(CodeLine{Line{current[j], old[position[map.from[j]]].line.eol}, false});
        break;
      case LineMap::Origin::Added:
        code.push_back(CodeLine{Line{current[j], {}}, false});
        break;
    }
    emitGroups(j + 1);
  }
  for (std::size_t k = 0; k + 1 < code.size(); ++k)
    if (code[k].line.eol.empty()) code[k].line.eol = k == 0 ? eolBefore : code[k - 1].line.eol;
  return code;
}

std::vector<Line> AssembleFile(const ModuleFile& module, const DesignerNode* designer,
                               const std::vector<CodeLine>& code, const std::string& lastEol) {
  std::vector<Line> lines = module.header;
  if (designer) RenderDesigner(*designer, lines);
  lines.insert(lines.end(), module.attributes.begin(), module.attributes.end());
  for (const CodeLine& c : code) lines.push_back(c.line);
  // A line that was last and lines added after it take the break of the line before them; the
  // new last line ends as the file's last line did.
  for (std::size_t i = 0; i + 1 < lines.size(); ++i)
    if (lines[i].eol.empty()) lines[i].eol = i == 0 ? module.newline : lines[i - 1].eol;
  if (!lines.empty()) lines.back().eol = lastEol;
  return lines;
}

}  // namespace files
