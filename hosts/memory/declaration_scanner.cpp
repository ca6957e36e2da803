#include "hosts/memory/declaration_scanner.h"

#include <optional>
#include <string_view>

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

bool StartsWithWord(TextView s, TextView word) {
  if (s.size() < word.size() || !vb::EqualsNoCase(s.substr(0, word.size()), word)) return false;
  return s.size() == word.size() || !IsIdentChar(s[word.size()]);
}

// Inside a procedure only its End statement counts. A line that does not go on with " _" holds
// none unless one of its statements starts with the word "End" and a word that may be Sub,
// Function or Property ("End If" and "End Select" are not); most lines of a module are such lines,
// and a look at the bytes of one is quicker than reading it.
bool StartsWithNoCase(std::string_view s, std::string_view lowerWord) {
  if (s.size() < lowerWord.size()) return false;
  for (std::size_t i = 0; i < lowerWord.size(); ++i)
    if ((s[i] | 0x20) != lowerWord[i]) return false;
  return true;
}
bool MayEndProcedure(std::string_view statement) {
  std::size_t i = 0;
  auto at = [&statement](std::size_t k) { return static_cast<char16_t>(static_cast<unsigned char>(statement[k])); };
  while (i < statement.size() && IsBlank(at(i))) ++i;
  if (!StartsWithNoCase(statement.substr(i), "end")) return false;
  i += 3;
  if (i < statement.size() && IsIdentChar(at(i))) return false;  // "EndTime = 0"
  while (i < statement.size() && IsBlank(at(i))) ++i;
  const std::string_view word = statement.substr(i);
  return StartsWithNoCase(word, "sub") || StartsWithNoCase(word, "function") || StartsWithNoCase(word, "property");
}
bool HoldsNoEnd(std::string_view line) {
  std::size_t last = line.size();
  while (last > 0 && IsBlank(static_cast<char16_t>(line[last - 1]))) --last;
  if (last > 0 && line[last - 1] == '_') return false;
  if (line.find(':') == std::string_view::npos) return !MayEndProcedure(line);
  // Statements split at ":" outside strings, up to a comment.
  std::size_t start = 0;
  bool inString = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      inString = !inString;
    } else if (!inString && c == '\'') {
      break;
    } else if (!inString && c == ':') {
      if (MayEndProcedure(line.substr(start, i - start))) return false;
      start = i + 1;
    }
  }
  return !MayEndProcedure(line.substr(start));
}
bool HoldsNoEnd(const std::vector<Text>& /*lines*/, std::size_t /*index*/) { return false; }
bool HoldsNoEnd(const LineStore& lines, std::size_t index) {
  std::string_view bytes;
  return lines.LineBytes(index, bytes) && HoldsNoEnd(bytes);
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
  explicit Scanner(std::vector<Declaration>& out) : out_(out) {}

  // Scans logical lines from `from` (1-based) on; stops before a logical line at or after
  // `stopFrom` that starts outside any block when `canStop` accepts it. Returns where it stopped.
  template <class Lines>
  long Run(const Lines& lines, long from, long stopFrom, const std::function<bool(long)>& canStop) {
    const std::size_t count = lines.size();
    Text joined;  // a statement continued over several lines, joined with blanks
    Text scratch;
    for (std::size_t i = static_cast<std::size_t>(from - 1); i < count; ++i) {
      first_ = static_cast<long>(i + 1);
      if (canStop && block_ == Block::Module && first_ >= stopFrom && canStop(first_)) return first_;
      if (block_ == Block::Procedure && HoldsNoEnd(lines, i)) continue;
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
      last_ = static_cast<long>(i + 1);
      ForEachStatement(text, [this](TextView statement) { Statement(statement); });
    }
    return static_cast<long>(count + 1);
  }

 private:
  void Statement(TextView statement) {
    Words w(statement);
    switch (block_) {
      case Block::Procedure:
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

  void Add(DeclarationKind kind, Text name, int scope, bool withEvents = false) {
    Declaration d;
    d.kind = kind;
    d.name = std::move(name);
    d.scope = scope;
    d.withEvents = withEvents;
    d.firstLine = first_;
    d.lastLine = last_;
    d.markLine = IsProcedure(kind) ? 0 : last_;
    d.nameHash = vb::HashNoCase(d.name);
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
  long first_ = 0, last_ = 0;  // physical lines of the logical line being read
  Block block_ = Block::Module;
  std::size_t open_ = 0;  // the declaration whose block is open
};

template <class Lines>
ModuleOutline Scan(const Lines& lines) {
  ModuleOutline outline;
  Scanner(outline.declarations).Run(lines, 1, 0, nullptr);
  SummarizeOutline(outline);
  return outline;
}

}  // namespace

Directive DirectiveOf(TextView line) {
  TextView t = TrimBlanks(line);
  if (t.empty() || t[0] != u'#') return Directive::None;
  Words w(t.substr(1));
  if (w.Take(u"If")) return Directive::If;
  if (w.Take(u"ElseIf")) return Directive::ElseIf;
  if (w.Take(u"Else")) return Directive::Else;
  if (w.Take(u"EndIf") || (w.Take(u"End") && w.Take(u"If"))) return Directive::EndIf;
  return Directive::None;
}

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
              std::vector<Declaration>& out) {
  return Scanner(out).Run(lines, from, stopFrom, canStop);
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

MemberInfo MemberOf(const Declaration& d) { return MemberInfo{d.name, MemberTypeOf(d.kind), d.scope, d.firstLine}; }

void MemberDeclarations(const ModuleOutline& outline, std::vector<std::uint32_t>& members,
                        std::vector<std::uint32_t>& table) {
  // An open-addressed set of the names seen so far (declaration index + 1; 0 is empty), sized to
  // stay at most half full: no allocation per name, no copy of a name.
  const std::vector<Declaration>& declarations = outline.declarations;
  std::size_t size = 16;
  while (size < 2 * declarations.size()) size *= 2;
  table.assign(size, 0);
  members.clear();
  for (std::size_t i = 0; i < declarations.size(); ++i) {
    const Declaration& d = declarations[i];
    if (MemberTypeOf(d.kind) == 0 || d.name.empty()) continue;
    std::size_t slot = d.nameHash & (size - 1);
    bool known = false;
    for (; table[slot] != 0; slot = (slot + 1) & (size - 1)) {
      const Declaration& other = declarations[table[slot] - 1];
      if (other.nameHash == d.nameHash && vb::EqualsNoCase(other.name, d.name)) {
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
