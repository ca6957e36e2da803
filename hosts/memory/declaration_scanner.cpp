#include "hosts/memory/declaration_scanner.h"

#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <type_traits>

#include "framework/vb_statements.h"
#include "hosts/memory/line_store.h"

namespace memhost {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool IsIdentChar(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' ||
         (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7);
}

TextView TrimBlanks(TextView s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// `word` is a keyword, all ASCII letters: a character matches one of them, letter case ignored,
// exactly when the two agree with their 0x20 bit set.
bool StartsWithWord(TextView s, TextView word) {
  if (s.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if ((s[i] | 0x20) != (word[i] | 0x20)) return false;
  return s.size() == word.size() || !IsIdentChar(s[word.size()]);
}

// The line number before a statement with the blanks after it ("20  End Sub"); 0 when none.
template <class Char>
std::size_t LineNumberLength(std::basic_string_view<Char> s) {
  std::size_t n = 0;
  while (n < s.size() && s[n] >= '0' && s[n] <= '9') ++n;
  if (n == 0 || n == s.size() || !IsBlank(s[n])) return 0;
  while (n < s.size() && IsBlank(s[n])) ++n;
  return n;
}

// Inside a procedure only its End statement counts, and most lines of a module are inside one: a
// look at a line's characters where they are (bytes or 16-bit units) tells nearly every line apart
// from one that may end the procedure, and only those are read in full. The look may say "maybe"
// where a full read finds no end (it splits at every ":" and does not know Rem), never the other
// way round.
template <class Char>
bool IsIdentUnit(Char c) {
  return IsIdentChar(static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(c)));
}
// Whether `s` starts with `lowerWord` (ASCII letters), letter case ignored.
template <class Char>
bool StartsWithNoCase(std::basic_string_view<Char> s, std::string_view lowerWord) {
  if (s.size() < lowerWord.size()) return false;
  for (std::size_t i = 0; i < lowerWord.size(); ++i)
    if ((s[i] | 0x20) != lowerWord[i]) return false;
  return true;
}
// Whether a statement starting with `s` (its first character not blank) may be End Sub, End
// Function or End Property. On a piece of a continued line, "End" with nothing after it may still
// be followed by the word on the next line.
template <class Char>
bool MayEndProcedure(std::basic_string_view<Char> s, bool continued) {
  s.remove_prefix(LineNumberLength(s));  // "20  End Sub"
  if (!StartsWithNoCase(s, "end")) return false;
  std::size_t i = 3;
  if (i < s.size() && IsIdentUnit(s[i])) return false;  // "EndTime = 0"
  while (i < s.size() && IsBlank(s[i])) ++i;
  if (i == s.size()) return continued;
  const std::basic_string_view<Char> word = s.substr(i);
  return StartsWithNoCase(word, "sub") || StartsWithNoCase(word, "function") || StartsWithNoCase(word, "property");
}

// The first character at or after `i` that is not blank. Code is indented by spaces, mostly four
// at a time: those go four to a comparison.
template <class Char>
std::size_t SkipBlanks(std::basic_string_view<Char> s, std::size_t i) {
  static constexpr Char kFour[4] = {' ', ' ', ' ', ' '};
  while (i + 4 <= s.size() && std::memcmp(s.data() + i, kFour, sizeof kFour) == 0) i += 4;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return i;
}

// A look at a logical line inside a procedure, one physical line after the other: the state
// carried over a " _" join.
struct BodyLook {
  bool inString = false;
  bool atStatement = true;  // nothing but blanks since the last ":" (or the start)
};
enum class Seen { Nothing, MaybeEnd, Comment };

// Looks at `line`, one physical line of a logical line inside a procedure; `continued` when the
// next line goes on with it (`line` is then without its "_": the blank before it remains, as in
// the joined statement).
template <class Char>
Seen LookAtBodyLine(std::basic_string_view<Char> line, bool continued, BodyLook& look) {
  const std::size_t n = line.size();
  std::size_t i = 0, colon = continued ? 0 : line.find(Char(':'));
  while (i < n) {
    if (look.inString) {
      const std::size_t close = line.find(Char('"'), i);
      if (close == line.npos) return Seen::Nothing;
      look.inString = false;
      i = close + 1;
      continue;
    }
    if (look.atStatement) {
      i = SkipBlanks(line, i);
      if (i == n) break;
      look.atStatement = false;
      if (MayEndProcedure(line.substr(i), continued)) return Seen::MaybeEnd;
    }
    if (!continued) {
      // Only a later statement could end the procedure: with no ":" ahead, nothing more can.
      if (colon != line.npos && colon < i) colon = line.find(Char(':'), i);
      if (colon == line.npos) return Seen::Nothing;
    }
    for (; i < n; ++i) {
      const Char c = line[i];
      if (c == '"' || c == ':') break;
      if (c == '\'') return Seen::Comment;
    }
    if (i == n) break;
    if (line[i] == '"') look.inString = true;
    else look.atStatement = true;
    ++i;
  }
  return Seen::Nothing;
}

// The line without the " _" that continues it on the next, or npos when it does not.
template <class Char>
std::size_t ContinuationAt(std::basic_string_view<Char> line) {
  std::size_t last = line.size();
  while (last > 0 && line[last - 1] == ' ') --last;
  if (last == 0 || line[last - 1] != '_') return line.npos;
  --last;
  return last == 0 || IsBlank(line[last - 1]) ? last : line.npos;
}

// A line with no statement: blanks, or a comment after them.
template <class Char>
bool IsBlankOrComment(std::basic_string_view<Char> line) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  return i == line.size() || line[i] == '\'';
}

// Calls `f` with line `index` as it is kept: bytes or 16-bit units.
template <class F>
decltype(auto) WithLine(const std::vector<Text>& lines, std::size_t index, F&& f) {
  return f(TextView(lines[index]));
}
template <class F>
decltype(auto) WithLine(const LineStore& lines, std::size_t index, F&& f) {
  std::string_view bytes;
  if (lines.LineBytes(index, bytes)) return f(bytes);
  Text unused;  // a line not kept as bytes is viewed where it is
  return f(lines.Line(index, unused));
}

// The first line, from `i` (0-based) on, of a logical line inside a procedure that may end it;
// the line count when none does.
template <class Lines>
std::size_t SkipProcedureBody(const Lines& lines, std::size_t i) {
  const std::size_t count = lines.size();
  while (i < count) {
    const std::size_t start = i;
    BodyLook look;
    Seen seen = Seen::Nothing;
    bool continued = true;
    for (; continued && i < count; ++i) {
      WithLine(lines, i, [&](auto line) {
        const std::size_t cut = i + 1 < count ? ContinuationAt(line) : line.npos;
        continued = cut != line.npos;
        if (seen == Seen::Nothing) seen = LookAtBodyLine(continued ? line.substr(0, cut) : line, continued, look);
      });
      if (seen == Seen::MaybeEnd) return start;
    }
  }
  return count;
}

// Calls `statement` with each statement of a logical line, without its comment: the line splits
// at ":" outside strings; a "'" outside a string or a "Rem" statement ends the code of the line.
template <class F>
void ForEachStatement(TextView line, F&& statement) {
  std::size_t start = 0, end = line.size();
  bool inString = false, blankSoFar = true;
  auto emit = [&](std::size_t to) {
    TextView t = TrimBlanks(line.substr(start, to - start));
    if (!t.empty()) statement(t);
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (inString) {
      if (c == u'"') inString = false;
      continue;
    }
    if (c == u'"') {
      inString = true;
      blankSoFar = false;
    } else if (c == u'\'') {
      end = i;
      break;
    } else if (c == u':' && !(i + 1 < line.size() && line[i + 1] == u'=')) {
      emit(i);
      start = i + 1;
      blankSoFar = true;
    } else if (blankSoFar && !IsBlank(c)) {
      if (StartsWithWord(line.substr(i), u"Rem")) {
        end = start;  // the statement is a comment: nothing of it counts
        break;
      }
      blankSoFar = false;
    }
  }
  emit(end);
}

// Reads words from the front of a statement.
class Words {
 public:
  explicit Words(TextView s) : rest_(TrimBlanks(s)) {}
  bool Take(TextView word) {
    if (!StartsWithWord(rest_, word)) return false;
    rest_ = TrimBlanks(rest_.substr(word.size()));
    return true;
  }
  // Passes over the line number before a statement ("20  End Sub").
  void SkipLineNumber() { rest_.remove_prefix(LineNumberLength(rest_)); }
  // An identifier (with an optional type character or [brackets]); empty when none follows.
  Text Identifier() {
    std::size_t n = 0;
    TextView name;
    if (!rest_.empty() && rest_[0] == u'[') {
      std::size_t close = rest_.find(u']');
      if (close == TextView::npos) return {};
      name = rest_.substr(1, close - 1);
      n = close + 1;
    } else {
      while (n < rest_.size() && IsIdentChar(rest_[n])) ++n;
      name = rest_.substr(0, n);
      if (n < rest_.size() && TextView(u"%&!#@$").find(rest_[n]) != TextView::npos) ++n;
    }
    rest_ = TrimBlanks(rest_.substr(n));
    return Text(name);
  }
  TextView rest() const { return rest_; }

 private:
  TextView rest_;
};

// Calls `item` with each item of a declaration list: split at the commas outside parentheses and
// strings.
template <class F>
void ForEachListItem(TextView s, F&& item) {
  std::size_t start = 0;
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (inString) {
      if (c == u'"') inString = false;
    } else if (c == u'"') {
      inString = true;
    } else if (c == u'(') {
      ++depth;
    } else if (c == u')') {
      --depth;
    } else if (c == u',' && depth == 0) {
      item(s.substr(start, i - start));
      start = i + 1;
    }
  }
  item(s.substr(start));
}

enum class Block { Module, Procedure, Type, Enum };

class Scanner {
 public:
  Scanner(std::vector<Declaration>& out, DeclaredNames& names) : out_(out), names_(names) {}

  // Scans logical lines from `from` (1-based) on; stops before a logical line at or after
  // `stopFrom` that starts outside any block when `canStop` accepts it. Returns where it stopped.
  template <class Lines>
  long Run(const Lines& lines, long from, long stopFrom, const std::function<bool(long)>& canStop) {
    const std::size_t count = lines.size();
    Text joined;  // a statement continued over several lines, joined with blanks
    Text scratch;
    for (std::size_t i = static_cast<std::size_t>(from - 1); i < count; ++i) {
      if (block_ == Block::Procedure && (i = SkipProcedureBody(lines, i)) == count) break;
      first_ = static_cast<std::int32_t>(i + 1);
      if (canStop && block_ == Block::Module && first_ >= stopFrom && canStop(first_)) return first_;
      if (WithLine(lines, i, [&](auto line) { return IsBlankOrComment(line) && (i + 1 == count || ContinuationAt(line) == line.npos); }))
        continue;
      TextView text = LineAt(lines, i, scratch);
      if (vb::ContinuesOnNextLine(text) && i + 1 < count) {
        joined.assign(text);
        TextView next;
        do {
          // Drop the " _" and go on with the next line after one blank.
          while (!joined.empty() && IsBlank(joined.back())) joined.pop_back();
          joined.pop_back();
          joined += u' ';
          next = LineAt(lines, ++i, scratch);
          joined += next;
        } while (vb::ContinuesOnNextLine(next) && i + 1 < count);
        text = joined;
      }
      last_ = static_cast<std::int32_t>(i + 1);
      ForEachStatement(text, [this](TextView statement) { Statement(statement); });
    }
    return static_cast<long>(count + 1);
  }

 private:
  void Statement(TextView statement) {
    Words w(statement);
    switch (block_) {
      case Block::Procedure:
        w.SkipLineNumber();
        if (w.Take(u"End") && (w.Take(u"Sub") || w.Take(u"Function") || w.Take(u"Property"))) {
          out_[open_].endLine = last_;
          block_ = Block::Module;
        }
        return;
      case Block::Type:
      case Block::Enum:
        out_[open_].markLine = last_;
        if (w.Take(u"End") && (w.Take(u"Type") || w.Take(u"Enum"))) {
          out_[open_].endLine = last_;
          block_ = Block::Module;
        }
        return;
      case Block::Module:
        ModuleStatement(w);
        return;
    }
  }

  void Add(DeclarationKind kind, TextView name, int scope, bool withEvents = false) {
    Declaration d;
    d.kind = kind;
    names_.Add(name, d);
    d.scope = static_cast<std::uint32_t>(scope) & 3u;
    d.withEvents = withEvents;
    d.firstLine = first_;
    d.lastLine = last_;
    d.markLine = IsProcedure(kind) ? 0 : last_;
    d.nameHash = static_cast<std::uint32_t>(vb::HashNoCase(name));
    out_.push_back(std::move(d));
  }

  void Open(Block block) {
    open_ = out_.size() - 1;
    block_ = block;
  }

  void ModuleStatement(Words& w) {
    const std::size_t before = out_.size();
    std::optional<int> scope;
    bool dim = false;
    if (w.Take(u"Public") || w.Take(u"Global")) {
      scope = host::vbext_Public;
    } else if (w.Take(u"Private")) {
      scope = host::vbext_Private;
    } else if (w.Take(u"Friend")) {
      scope = host::vbext_Friend;
    } else if (w.Take(u"Dim")) {
      scope = host::vbext_Private;
      dim = true;
    }
    bool isStatic = w.Take(u"Static");

    DeclarationKind procedure = DeclarationKind::Other;
    if (w.Take(u"Sub")) {
      procedure = DeclarationKind::Sub;
    } else if (w.Take(u"Function")) {
      procedure = DeclarationKind::Function;
    } else if (w.Take(u"Property")) {
      if (w.Take(u"Get")) procedure = DeclarationKind::PropertyGet;
      else if (w.Take(u"Let")) procedure = DeclarationKind::PropertyLet;
      else if (w.Take(u"Set")) procedure = DeclarationKind::PropertySet;
    }
    if (procedure != DeclarationKind::Other) {
      Add(procedure, w.Identifier(), scope.value_or(host::vbext_Public));
      Open(Block::Procedure);
      return;
    }

    if (w.Take(u"Declare")) {
      w.Take(u"PtrSafe");
      if (w.Take(u"Sub") || w.Take(u"Function")) Add(DeclarationKind::Declare, w.Identifier(), scope.value_or(host::vbext_Public));
    } else if (w.Take(u"Event")) {
      Add(DeclarationKind::Event, w.Identifier(), scope.value_or(host::vbext_Public));
    } else if (w.Take(u"Const")) {
      ForEachListItem(w.rest(), [&](TextView item) {
        Text name = Words(item).Identifier();
        if (!name.empty()) Add(DeclarationKind::Constant, std::move(name), scope.value_or(host::vbext_Private));
      });
    } else if (!dim && w.Take(u"Type")) {
      Add(DeclarationKind::Type, w.Identifier(), scope.value_or(host::vbext_Public));
      Open(Block::Type);
    } else if (!dim && w.Take(u"Enum")) {
      Add(DeclarationKind::Enum, w.Identifier(), scope.value_or(host::vbext_Public));
      Open(Block::Enum);
    } else if (scope || isStatic) {
      Variables(w.rest(), scope.value_or(host::vbext_Private));
    } else if (w.Take(u"Option")) {
      Add(DeclarationKind::Option, {}, host::vbext_Private);
    } else if (w.Take(u"Implements")) {
      Add(DeclarationKind::Implements, w.Identifier(), host::vbext_Public);
    }
    // Every statement outside a procedure belongs to the declarations section, even one that
    // declares nothing by name.
    if (out_.size() == before) Add(DeclarationKind::Other, {}, host::vbext_Private);
  }

  void Variables(TextView list, int scope) {
    ForEachListItem(list, [&](TextView item) {
      Words iw(item);
      bool withEvents = iw.Take(u"WithEvents");
      Text name = iw.Identifier();
      if (!name.empty()) Add(DeclarationKind::Variable, std::move(name), scope, withEvents);
    });
  }

  std::vector<Declaration>& out_;
  DeclaredNames& names_;
  std::int32_t first_ = 0, last_ = 0;  // physical lines of the logical line being read
  Block block_ = Block::Module;
  std::size_t open_ = 0;  // the declaration whose block is open
};

template <class Lines>
ModuleOutline Scan(const Lines& lines) {
  ModuleOutline outline;
  Scanner(outline.declarations, outline.names).Run(lines, 1, 0, nullptr);
  // Kept as long as the module is: without the room that growing left over.
  outline.declarations.shrink_to_fit();
  outline.names.shrink_to_fit();
  SummarizeOutline(outline);
  return outline;
}

}  // namespace

bool IsProcedure(DeclarationKind kind) {
  return kind == DeclarationKind::Sub || kind == DeclarationKind::Function || kind == DeclarationKind::PropertyGet ||
         kind == DeclarationKind::PropertyLet || kind == DeclarationKind::PropertySet;
}

bool IsBlock(DeclarationKind kind) {
  return IsProcedure(kind) || kind == DeclarationKind::Type || kind == DeclarationKind::Enum;
}

ModuleOutline ScanModule(const std::vector<Text>& lines) { return Scan(lines); }
ModuleOutline ScanModule(const LineStore& lines) { return Scan(lines); }

long ScanFrom(const LineStore& lines, long from, long stopFrom, const std::function<bool(long line)>& canStop,
              std::vector<Declaration>& out, DeclaredNames& names) {
  return Scanner(out, names).Run(lines, from, stopFrom, canStop);
}

void SummarizeOutline(ModuleOutline& outline) {
  outline.declarationLines = 0;
  outline.firstProcedureLine = 0;
  for (const Declaration& d : outline.declarations) {
    if (IsProcedure(d.kind)) {
      outline.firstProcedureLine = d.firstLine;
      break;
    }
    // Marks only grow along the code, so the last one before the first procedure is the end.
    outline.declarationLines = d.markLine;
  }
}

int MemberTypeOf(DeclarationKind kind) {
  switch (kind) {
    case DeclarationKind::Sub:
    case DeclarationKind::Function:
    case DeclarationKind::Declare:
      return host::vbext_mt_Method;
    case DeclarationKind::PropertyGet:
    case DeclarationKind::PropertyLet:
    case DeclarationKind::PropertySet:
      return host::vbext_mt_Property;
    case DeclarationKind::Variable:
      return host::vbext_mt_Variable;
    case DeclarationKind::Event:
      return host::vbext_mt_Event;
    case DeclarationKind::Constant:
      return host::vbext_mt_Const;
    default:
      return 0;
  }
}

MemberInfo MemberOf(const ModuleOutline& outline, const Declaration& d) {
  return MemberInfo{outline.Name(d), MemberTypeOf(d.kind), static_cast<int>(d.scope), d.firstLine};
}

void DeclaredNames::Add(TextView name, Declaration& d) {
  if (name.size() > kLongestDeclaredName) throw std::length_error("declared name too long");
  d.nameLength = static_cast<std::uint32_t>(name.size()) & kLongestDeclaredName;
  // Narrowed as it is looked at: one pass over the name.
  std::size_t at = bytes_.size();
  bytes_.resize(at + name.size());
  char* out = bytes_.data() + at;
  bool fits = true;
  for (char16_t c : name) {
    fits &= c <= 0xFF;
    *out++ = static_cast<char>(c);
  }
  d.wideName = !fits;
  if (d.wideName) {
    bytes_.resize(at);
    at = wide_.size();
    wide_ += name;
  }
  if (at + name.size() > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("too many declarations");
  d.nameAt = static_cast<std::uint32_t>(at);
}

TextView DeclaredNames::Of(const Declaration& d, Text& scratch) const {
  if (d.wideName) return TextView(wide_).substr(d.nameAt, d.nameLength);
  scratch.resize(d.nameLength);
  WidenBytes(reinterpret_cast<const unsigned char*>(bytes_.data()) + d.nameAt, d.nameLength, scratch.data());
  return scratch;
}

Text DeclaredNames::Of(const Declaration& d) const {
  if (d.wideName) return Text(TextView(wide_).substr(d.nameAt, d.nameLength));
  // Straight from the bytes, each the character of its number: no text to widen into first.
  const auto* first = reinterpret_cast<const unsigned char*>(bytes_.data()) + d.nameAt;
  return Text(first, first + d.nameLength);
}

void ModuleOutline::DropUnusedNames() {
  std::size_t used = 0;
  for (const Declaration& d : declarations) used += d.nameLength;
  if (names.size() - used < used) return;
  // Into new room: after edits the names no longer lie in the order of their declarations.
  DeclaredNames kept;
  Text scratch;
  for (Declaration& d : declarations) kept.Add(Name(d, scratch), d);
  kept.shrink_to_fit();
  names = std::move(kept);
}

void MemberDeclarations(const ModuleOutline& outline, std::vector<std::uint32_t>& members) {
  // An open-addressed set of the names seen so far (declaration index + 1; 0 is empty), sized to
  // stay at most half full: no allocation per name, no copy of a name. It is let go on return: a
  // module keeps its members for as long as it is not edited, and the set is twice their number.
  const std::vector<Declaration>& declarations = outline.declarations;
  std::size_t size = 16;
  while (size < 2 * declarations.size()) size *= 2;
  std::vector<std::uint32_t> table(size, 0);
  Text otherName, name;
  members.clear();
  for (std::size_t i = 0; i < declarations.size(); ++i) {
    const Declaration& d = declarations[i];
    if (MemberTypeOf(d.kind) == 0 || d.nameLength == 0) continue;
    std::size_t slot = d.nameHash & (size - 1);
    bool known = false;
    for (; table[slot] != 0; slot = (slot + 1) & (size - 1)) {
      const Declaration& other = declarations[table[slot] - 1];
      if (other.nameHash == d.nameHash && vb::EqualsNoCase(outline.Name(other, otherName), outline.Name(d, name))) {
        known = true;
        break;
      }
    }
    if (known) continue;
    table[slot] = static_cast<std::uint32_t>(i + 1);
    members.push_back(static_cast<std::uint32_t>(i));
  }
}

}  // namespace memhost
