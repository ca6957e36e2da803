// Splitting a VB6 module file into its hidden parts and its code, and putting it back together.
#include "hosts/files/module_file.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <stdexcept>
#include <unordered_map>

#include "framework/vb_statements.h"
#include "hosts/files/byte_lines.h"
#include "hosts/files/file_error.h"
#include "hosts/files/line_alignment.h"
#include "hosts/memory/declaration_scanner.h"

namespace fs = std::filesystem;

namespace files {
namespace {

Text Extension(const fs::path& path) { return vb::LCase(vb::FromUtf8(path.extension().string())); }

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

namespace {

// IsAttributeLine on the bytes.
bool IsAttributeBytes(const ByteLine& line) {
  const char* text = line.text.data() + line.indent;
  return line.text.size() - line.indent >= 10 && text[0] == 'A' && std::memcmp(text, "Attribute ", 10) == 0;
}

// Where the designer block that starts at `from` ends (the offset after its last "End" line), read
// as the designer parser reads it; npos when it would not parse.
std::size_t DesignerBlockEnd(std::string_view bytes, std::size_t from) {
  constexpr int kMaxDepth = 500;  // as the parser, which refuses deeper nesting
  ByteLines lines(bytes, from);
  ByteLines::Line line;
  int depth = 0, propertyDepth = 0;
  while (lines.Next(line)) {
    const std::string_view trimmed = TrimBlankBytes(line.text);
    if (propertyDepth > 0) {
      if (StartsWordBytes(trimmed, "BeginProperty")) ++propertyDepth;
      if (StartsWordBytes(trimmed, "EndProperty")) --propertyDepth;
    } else if (trimmed == "End") {
      if (--depth == 0) return lines.position();
    } else if (IsBeginBytes(trimmed)) {
      if (++depth > kMaxDepth) return std::string_view::npos;
    } else if (StartsWordBytes(trimmed, "BeginProperty")) {
      propertyDepth = 1;
    }
  }
  return std::string_view::npos;
}

// Adds a line whose bytes are not its characters. Kept out of the loop over a file's lines (never
// inlined), so that the loop stays small: such lines are rare.
[[gnu::noinline]] void PushBackDecoded(memhost::LineStore& lines, std::string_view bytes, int codePage) {
  if (codePage == 1252)
    DecodeCp1252(bytes, lines.PushBackUnits(bytes.size()));  // straight into the store
  else
    lines.PushBack(Decode(bytes, codePage));
}

}  // namespace

ModuleFile ParseModuleFile(const fs::path& path, memhost::SharedBytes bytes, int codePage) {
  ModuleFile module;
  module.path = path;
  module.codePage = codePage;
  module.componentType = ComponentTypeOfExtension(path);
  if (module.componentType == 0) throw LoadError(path, "not a VB6 module file (unknown extension)");
  const std::string kind = KindName(module.componentType);
  if (bytes.view().find('\0') != std::string_view::npos) NotVb6(path, kind + ": it holds binary data");
  module.bytes = std::move(bytes);
  const std::string_view all = module.bytes.view();
  std::size_t start = 0;
  if (const std::string fault = ByteOrderMarkFault(all, codePage); !fault.empty()) NotVb6(path, kind + ": " + fault);
  if (codePage == 65001 && all.substr(0, 3) == "\xEF\xBB\xBF") {
    module.bom = std::string(all.substr(0, 3));
    start = 3;
  }
  if (start == all.size()) NotVb6(path, kind + ": the file is empty");
  // Every byte reads back as itself in 1252 and 28591; bytes that are no UTF-8 would read as U+FFFD
  // and be written back as that.
  if (const std::size_t bad = codePage == 65001 ? vb::FirstInvalidUtf8(all.substr(start)) : std::string_view::npos;
      bad != std::string_view::npos) {
    std::size_t lineNumber = 1;
    ByteLines lines(all, start);
    for (ByteLines::Line line; lines.Next(line) && lines.position() <= start + bad;) ++lineNumber;
    throw LoadError(path, "line " + std::to_string(lineNumber) + " is not text in code page " +
                              std::to_string(codePage) + ": saving would change its bytes");
  }
  // The last line's end.
  if (all.back() == '\n') module.lastEol = all.size() - start >= 2 && all[all.size() - 2] == '\r' ? "\r\n" : "\n";
  if (all.back() == '\r') module.lastEol = "\r";

  ByteLines lines(all, start);
  ByteLines::Line line;
  bool more = lines.Next(line);
  // The break new lines get: the file's first one, CR LF when it has none.
  module.newline = more && !line.eol.empty() ? std::string(line.eol) : "\r\n";
  auto decoded = [&] { return Line{Decode(line.text, codePage), std::string(line.eol)}; };
  const bool standard = module.componentType == host::vbext_ct_StdModule;
  if (!standard) {
    const Line first = decoded();
    if (!vb::StartsWith(first.text, u"VERSION "))
      NotVb6(path, kind + ": the first line is not a \"VERSION\" line");
    if (module.componentType == host::vbext_ct_ClassModule && first.text.find(u"CLASS") == Text::npos)
      NotVb6(path, kind + ": the first line is not \"VERSION 1.0 CLASS\"");
    // The header runs to the designer block or, in a class, to its Attribute lines.
    for (; more && !IsAttributeBytes(line); more = lines.Next(line)) {
      Line current = decoded();
      if (IsBeginLine(current.text)) {
        const std::size_t end = DesignerBlockEnd(all, line.offset);
        if (end == std::string_view::npos) {
          // Parsed to the end of the file only to say what is wrong, on which line.
          try {
            ParseDesigner(module.bytes, line.offset, all.size(), codePage, module.header.size() + 1);
          } catch (const DesignerSyntaxError& e) {
            throw LoadError(path, std::string("designer block: ") + e.what());
          }
          throw LoadError(path, "designer block: it does not end");
        }
        module.designerBegin = line.offset;
        module.designerEnd = end;
        // The form block names the kind of form: an MDI form is a component of its own type.
        const std::string_view qualified = WordBytes(TrimBlankBytes(line.text), 2)[1];
        if (module.componentType == host::vbext_ct_VBForm && qualified.front() != '{' &&
            qualified.substr(qualified.rfind('.') + 1) == "MDIForm")
          module.componentType = host::vbext_ct_VBMDIForm;
        lines = ByteLines(all, end);
        more = lines.Next(line);
        break;
      }
      module.header.push_back(std::move(current));
    }
    if (module.componentType != host::vbext_ct_ClassModule && !module.HasDesigner())
      NotVb6(path, kind + ": it has no designer block (\"Begin VB.Form ...\")");
  }
  for (; more && IsAttributeBytes(line); more = lines.Next(line)) {
    Line attribute = decoded();
    if (!module.name.size())
      if (auto name = VbNameOf(attribute.text)) module.name = *name;
    module.attributes.push_back(std::move(attribute));
  }
  if (module.name.empty()) NotVb6(path, kind + ": it has no \"Attribute VB_Name\" line");
  module.codeBegin = more ? line.offset : all.size();
  return module;
}

const std::shared_ptr<DesignerNode>& ModuleFile::Designer() {
  if (!designer && HasDesigner())  // it parses: its end was found the parser's way
    designer = ParseDesigner(bytes, designerBegin, designerEnd, codePage, header.size() + 1);
  return designer;
}

namespace {
constexpr std::string_view kEols[] = {"", "\r\n", "\n", "\r"};
}

void CodeLines::Reserve(std::size_t lines, std::size_t characters) {
  lines_.reserve(lines);
  chars_.reserve(characters);
}

void CodeLines::Add(TextView text, std::string_view eol, bool hidden) {
  const std::size_t at = chars_.size();
  chars_ += text;
  Push(at, eol, hidden);
}

void CodeLines::AddDecoded(std::string_view bytes, int codePage, std::string_view eol, bool hidden) {
  const std::size_t at = chars_.size();
  DecodeInto(chars_, bytes, codePage);
  Push(at, eol, hidden);
}

void CodeLines::Push(std::size_t at, std::string_view eol, bool hidden) {
  if (chars_.size() > UINT32_MAX) throw std::length_error("a module of 4 294 967 296 characters or more cannot be saved");
  const auto kind = static_cast<std::uint8_t>(std::find(std::begin(kEols), std::end(kEols), eol) - std::begin(kEols));
  if (kind == std::size(kEols)) throw std::invalid_argument("a line ends only with CR LF, LF or CR");
  lines_.push_back({static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(chars_.size() - at), kind, hidden});
}

std::string_view CodeLines::eol(std::size_t i) const { return kEols[lines_[i].eol]; }

CodeLines ModuleFile::Code() const {
  const std::string_view all = bytes.view();
  CodeLines code;
  // A byte is at most one character in every code page a file may be read in.
  code.Reserve(CountLineFeeds(all.substr(codeBegin)) + 1, all.size() - codeBegin);
  ByteLines reader(all, codeBegin);
  for (ByteLines::Line line; reader.Next(line);) code.AddDecoded(line.text, codePage, line.eol, IsAttributeBytes(line));
  return code;
}

memhost::LineStore ModuleFile::VisibleCode() {
  const std::string_view all = bytes.view();
  // Lines whose bytes are their characters stay in the file's bytes; only the others are decoded.
  memhost::LineStore lines(bytes);
  lines.Reserve(CountLineFeeds(all.substr(codeBegin)) + 1);
  std::size_t hidden = 0;
  unsigned eols = 0;  // a bit for each kind of line end seen: CR LF, LF, CR
  ForEachByteLine(all, codeBegin, [&](const ByteLine& line) {
    eols |= line.eol.size() == 2 ? 1u : line.eol.empty() ? 0u : line.eol[0] == '\n' ? 2u : 4u;
    if (IsAttributeBytes(line))
      ++hidden;
    else if (!line.highBytes || DecodesByteForByte(line.text, codePage))
      lines.PushBackOrigin(line.offset, line.text.size());
    else
      PushBackDecoded(lines, line.text, codePage);
  });
  codeHasHidden = hidden > 0;
  codeEolsDiffer = std::popcount(eols) > 1;
  ByteLine first;
  codeEol = ByteLines(all, codeBegin).Next(first) ? first.eol : std::string_view();
  return lines;
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

// "Attribute Item.VB_UserMemId" of "Attribute Item.VB_UserMemId = 0": what an attribute line sets.
TextView AttributeKey(TextView line) { return vb::TrimView(line.substr(0, line.find(u'='))); }

bool IsPropertyProcedure(memhost::DeclarationKind kind) {
  return kind == memhost::DeclarationKind::PropertyGet || kind == memhost::DeclarationKind::PropertyLet ||
         kind == memhost::DeclarationKind::PropertySet;
}

// The first line of the statement that ends on lines[last] (continuations joined; VB6 allows 24,
// so a file claiming more cannot make the look-back long). `Lines` gives lines by index.
template <class Lines>
std::size_t StatementStart(const Lines& lines, std::size_t last) {
  std::size_t first = last;
  while (first > 0 && last - first < 25 && vb::ContinuesOnNextLine(lines[first - 1])) --first;
  return first;
}

// The members that the statement on lines[first..last] declares.
template <class Lines>
memhost::ModuleOutline Declared(const Lines& lines, std::size_t first, std::size_t last) {
  std::vector<Text> statement;
  for (std::size_t k = first; k <= last; ++k) statement.emplace_back(lines[k]);
  memhost::ModuleOutline members = memhost::ScanModule(statement);
  std::erase_if(members.declarations, [](const memhost::Declaration& d) {
    return d.nameLength == 0 || d.kind == memhost::DeclarationKind::Implements;
  });
  return members;
}

// The hidden lines of the members that a statement declared (`before`) now that it declares
// `after`: a line of a renamed member is renamed with it, a line of a member that is gone is left
// out and listed in `dropped`.
std::vector<Line> FollowMembers(std::vector<Line> lines, const memhost::ModuleOutline& beforeOutline,
                                const memhost::ModuleOutline& afterOutline, std::vector<DroppedLine>* dropped) {
  const std::vector<memhost::Declaration>& before = beforeOutline.declarations;
  const std::vector<memhost::Declaration>& after = afterOutline.declarations;
  std::vector<Line> kept;
  Text beforeName, afterName;
  for (Line& line : lines) {
    const auto [at, length] = MemberSpan(line.text);
    const TextView member = TextView(line.text).substr(at, length);
    // A line naming no member of the statement goes with the statement's first member.
    std::size_t d = 0;
    while (d < before.size() && !vb::EqualsNoCase(beforeOutline.Name(before[d], beforeName), member)) ++d;
    if (d == before.size()) d = 0;
    if (d >= after.size() || after[d].kind != before[d].kind) {
      if (dropped) dropped->push_back(DroppedLine{length ? Text(member) : beforeOutline.Name(before[0]), line.text});
      continue;
    }
    const TextView renamed = afterOutline.Name(after[d], afterName);
    if (length && vb::EqualsNoCase(member, beforeOutline.Name(before[d], beforeName)) && member != renamed)
      line.text.replace(at, length, renamed);
    kept.push_back(std::move(line));
  }
  return kept;
}

// Where the lines of the old code went: for each new line the old one it is or replaced.
struct LineMap {
  static constexpr std::uint32_t kAdded = UINT32_MAX;
  // Per new line: the old line that it is (same[from] is the new line) or that it replaced, or
  // kAdded. Four bytes a line: a command may add tens of thousands of lines.
  std::vector<std::uint32_t> from;
  std::vector<std::size_t> to;    // per old line: the new line that is it or replaced it, else kUnmatched
  std::vector<std::size_t> same;  // per old line: the new line that is it, else kUnmatched
};

// The visible lines of a module's old code, by their place among them.
class VisibleLines final : public TextLines {
 public:
  explicit VisibleLines(const CodeLines& old) : old_(old) {
    position_.reserve(old.size());
    for (std::size_t i = 0; i < old.size(); ++i)
      if (!old.hidden(i)) position_.push_back(static_cast<std::uint32_t>(i));
  }
  std::size_t size() const override { return position_.size(); }
  TextView operator[](std::size_t index) const override { return old_.text(position_[index]); }
  // Where the visible line stands among all the lines.
  std::size_t Position(std::size_t index) const { return position_[index]; }

 private:
  const CodeLines& old_;
  std::vector<std::uint32_t> position_;  // four bytes a line: a module may have tens of thousands
};

LineMap MapLines(const VisibleLines& before, const memhost::LineStore& after) {
  LineMap map;
  map.same = MatchLines(before, after);
  map.from.assign(after.size(), LineMap::kAdded);
  map.to.assign(before.size(), kUnmatched);
  std::size_t i = 0, j = 0;
  while (i < before.size() || j < after.size()) {
    if (i < before.size() && map.same[i] != kUnmatched && map.same[i] == j) {
      map.from[j] = static_cast<std::uint32_t>(i);
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
      map.from[j + k] = static_cast<std::uint32_t>(i + k);
      map.to[i + k] = j + k;
    }
    i = i2;
    j = j2;
  }
  return map;
}

}  // namespace

void RebuildCode(const CodeLines& old, const memhost::LineStore& currentLines,
                 const std::string& eolBefore, const LineSink& add, std::vector<DroppedLine>* dropped) {
  if (old.size() > LineMap::kAdded) throw std::length_error("a module of 4 294 967 295 lines or more cannot be saved");
  const memhost::LineCursor current(currentLines);
  const VisibleLines visible(old);
  bool unchanged = visible.size() == current.size();
  for (std::size_t i = 0; unchanged && i < visible.size(); ++i) unchanged = visible[i] == current[i];
  if (unchanged) {
    for (std::size_t i = 0; i < old.size(); ++i) add(old.text(i), old.eol(i));
    return;
  }
  const LineMap map = MapLines(visible, currentLines);

  // Each group of hidden lines stays right after the line it followed, wherever that line went.
  // When a command changed the declaration it follows, the group follows the member: renamed
  // with it, or dropped with it.
  struct Placed {
    std::size_t after;  // the number of new lines before the group
    std::vector<Line> lines;
  };
  std::vector<Placed> placed;
  std::vector<DroppedLine> gone;  // lines whose declaration went
  std::size_t keptBefore = 0;  // new lines up to the last surviving old line seen so far
  std::size_t seen = 0;        // old visible lines before the current group
  for (std::size_t i = 0; i < old.size();) {
    if (!old.hidden(i)) {
      if (map.to[seen] != kUnmatched) keptBefore = map.to[seen] + 1;
      ++seen;
      ++i;
      continue;
    }
    Placed group{0, {}};
    for (; i < old.size() && old.hidden(i); ++i) group.lines.push_back(old.line(i));
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
    if (before.declarations.empty()) {
      // Hidden lines after something that declares nothing keep their place among the lines.
      group.after = map.to[last] != kUnmatched ? map.to[last] + 1 : keptBefore;
      placed.push_back(std::move(group));
      continue;
    }
    // The declaration was edited or removed: the lines follow its members.
    memhost::ModuleOutline after;
    if (map.to[last] != kUnmatched) {
      group.after = map.to[last] + 1;
      after = Declared(current, StatementStart(current, map.to[last]), map.to[last]);
    }
    group.lines = FollowMembers(std::move(group.lines), before, after, &gone);
    if (!group.lines.empty()) placed.push_back(std::move(group));
  }
  // A property whose procedure went (deleted, commented out) while another of its procedures
  // stays keeps its attributes: they go after the first that stays, as VB writes a property's
  // attributes after its first procedure; one that a staying procedure carries already (its own
  // #If branch's) is dropped.
  // Both lookups are indexed: commenting out thousands of properties drops a line for each.
  if (!gone.empty()) {
    const memhost::ModuleOutline outline = memhost::ScanModule(currentLines);
    std::unordered_multimap<std::size_t, std::size_t> properties;  // name's hash -> declaration
    Text name;
    for (std::size_t k = 0; k < outline.declarations.size(); ++k)
      if (IsPropertyProcedure(outline.declarations[k].kind))
        properties.emplace(vb::HashNoCase(outline.Name(outline.declarations[k], name)), k);
    std::unordered_multimap<std::size_t, std::size_t> groupsAfter;  // line -> groups placed after it
    for (std::size_t k = 0; k < placed.size(); ++k) groupsAfter.emplace(placed[k].after, k);
    for (DroppedLine& line : gone) {
      const TextView attribute = AttributeKey(line.line);
      std::vector<std::size_t> procedures;  // in the module's order, as the outline has them
      const auto [first, last] = properties.equal_range(vb::HashNoCase(line.member));
      for (auto it = first; it != last; ++it)
        if (vb::EqualsNoCase(outline.Name(outline.declarations[it->second], name), line.member))
          procedures.push_back(it->second);
      std::sort(procedures.begin(), procedures.end());
      bool carried = false;
      for (const std::size_t k : procedures) {
        const auto [from, to] = groupsAfter.equal_range(static_cast<std::size_t>(outline.declarations[k].lastLine));
        for (auto it = from; it != to && !carried; ++it)
          for (const Line& l : placed[it->second].lines)
            carried = carried || vb::EqualsNoCase(AttributeKey(l.text), attribute);
      }
      if (!procedures.empty() && !carried) {
        const auto home = static_cast<std::size_t>(outline.declarations[procedures.front()].lastLine);
        groupsAfter.emplace(home, placed.size());
        placed.push_back(Placed{home, {Line{std::move(line.line), {}}}});
      } else if (dropped) {
        dropped->push_back(std::move(line));
      }
    }
  }
  std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) { return a.after < b.after; });

  // Lines the command left alone keep their line ends, lines it edited keep the end they had, and
  // added lines take the end of the line they follow (all but the last line, which keeps none when
  // it has none): so each line is handed on when the next one comes.
  // The line waiting is copied: a view of a current line lasts only until the next is read.
  bool waiting = false;
  Text pendingText;
  std::string_view pendingEol, previousEol = eolBefore;
  auto emit = [&](TextView text, std::string_view eol) {
    if (waiting) {
      if (pendingEol.empty()) pendingEol = previousEol;
      add(pendingText, pendingEol);
      previousEol = pendingEol;
    }
    waiting = true;
    pendingText.assign(text);
    pendingEol = eol;
  };
  auto next = placed.begin();
  auto emitGroups = [&](std::size_t after) {
    for (; next != placed.end() && next->after == after; ++next)
      for (const Line& l : next->lines) emit(l.text, l.eol);
  };
  emitGroups(0);
  for (std::size_t j = 0; j < current.size(); ++j) {
    const std::uint32_t from = map.from[j];
    if (from == LineMap::kAdded)
      emit(current[j], {});
    else if (map.same[from] == j)
      emit(old.text(visible.Position(from)), old.eol(visible.Position(from)));
    else
      emit(current[j], old.eol(visible.Position(from)));
    emitGroups(j + 1);
  }
  if (waiting) add(pendingText, pendingEol);
}

namespace {

// Writes lines one after the other; a line's break is written when the next line comes, so that a
// line without one takes the break before it and the last line takes the file's last line end.
// The bytes gather in a buffer that goes to the sink whenever it fills.
class FileWriter {
 public:
  FileWriter(const ModuleFile& module, const ByteSink& out) : module_(module), out_(out) {
    buffer_.reserve(kPiece + 4096);
    buffer_ = module.bom;
  }

  void Add(TextView text, std::string_view eol) {
    Break();
    if (!EncodeInto(buffer_, text, module_.codePage))
      throw SaveError(module_.path, "line " + std::to_string(lines_) + " holds characters that code page " +
                                        std::to_string(module_.codePage) + " cannot write: " + vb::ToUtf8(text));
    pending_ = eol;
    Pass();
  }
  // A line already in the file's code page; a long one goes to the sink as it is, not copied.
  void AddBytes(std::string_view bytes, std::string_view eol) {
    Break();
    pending_ = eol;
    if (buffer_.size() + bytes.size() < kPiece) {
      buffer_ += bytes;
      return;
    }
    Pass(true);
    out_(bytes);
    passed_ += bytes.size();
  }
  // Where the next line will start.
  std::size_t NextLineStart() const {
    return passed_ + buffer_.size() + (lines_ > 0 ? EolOfPending().size() : 0);
  }
  void Finish() {
    if (lines_ > 0) buffer_ += module_.lastEol;
    if (!buffer_.empty()) out_(buffer_);
  }

 private:
  static constexpr std::size_t kPiece = 64 * 1024;

  std::string_view EolOfPending() const {
    if (!pending_.empty()) return pending_;
    return lines_ == 1 ? std::string_view(module_.newline) : std::string_view(previous_);
  }
  void Break() {
    if (lines_ > 0) {
      previous_ = std::string(EolOfPending());
      buffer_ += previous_;
    }
    ++lines_;
  }
  // Hands the buffer on once it is full (or now, when `now`).
  void Pass(bool now = false) {
    if (buffer_.size() < kPiece && !now) return;
    if (!buffer_.empty()) out_(buffer_);
    passed_ += buffer_.size();
    buffer_.clear();
  }

  const ModuleFile& module_;
  const ByteSink& out_;
  std::string buffer_;
  std::size_t passed_ = 0;  // bytes handed to the sink
  std::size_t lines_ = 0;
  std::string pending_, previous_;
};

}  // namespace

void AssembleFile(const ModuleFile& module, const DesignerNode* designer,
                  const std::function<void(const LineSink&, const ByteLineSink&)>& code, std::size_t& codeBegin,
                  const ByteSink& out) {
  FileWriter writer(module, out);
  for (const Line& line : module.header) writer.Add(line.text, line.eol);
  if (designer) {
    RenderDesigner(*designer, DesignerSink{[&](std::string_view bytes, std::string_view eol) { writer.AddBytes(bytes, eol); },
                                           [&](TextView text, std::string_view eol) { writer.Add(text, eol); }});
  } else if (module.HasDesigner()) {
    // Never parsed, so never changed: its bytes as they are.
    ByteLines reader(module.bytes.view().substr(0, module.designerEnd), module.designerBegin);
    for (ByteLines::Line line; reader.Next(line);) writer.AddBytes(line.text, line.eol);
  }
  for (const Line& line : module.attributes) writer.Add(line.text, line.eol);
  codeBegin = writer.NextLineStart();
  code([&](TextView text, std::string_view eol) { writer.Add(text, eol); },
       [&](std::string_view bytes, std::string_view eol) { writer.AddBytes(bytes, eol); });
  writer.Finish();
}

}  // namespace files
