#include "hosts/memory/declaration_scanner.h"

#include <optional>

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

// A logical line: physical lines joined at their continuations.
struct LogicalLine {
  Text text;
  long first = 0, last = 0;  // 1-based physical lines
};

std::vector<LogicalLine> JoinContinuations(const std::vector<Text>& lines) {
  std::vector<LogicalLine> result;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    LogicalLine logical{lines[i], static_cast<long>(i + 1), static_cast<long>(i + 1)};
    while (ContinuesOnNextLine(logical.text) && i + 1 < lines.size()) {
      TextView t = TrimBlanks(logical.text);
      logical.text = Text(t.substr(0, t.size() - 1)) + u" " + lines[++i];
      logical.last = static_cast<long>(i + 1);
    }
    result.push_back(std::move(logical));
  }
  return result;
}

bool StartsWithWord(TextView s, TextView word) {
  if (s.size() < word.size() || !vb::EqualsNoCase(s.substr(0, word.size()), word)) return false;
  return s.size() == word.size() || !IsIdentChar(s[word.size()]);
}

// The statements of a logical line without its comment: split at ":" outside strings; a "'"
// outside a string or a "Rem" statement ends the code of the line.
std::vector<Text> Statements(TextView line) {
  std::vector<Text> result;
  Text current;
  bool inString = false;
  auto flush = [&] {
    TextView t = TrimBlanks(current);
    if (!t.empty()) result.emplace_back(t);
    current.clear();
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    char16_t c = line[i];
    if (inString) {
      current += c;
      if (c == u'"') inString = false;
      continue;
    }
    if (c == u'"') {
      inString = true;
      current += c;
    } else if (c == u'\'') {
      break;
    } else if (c == u':' && !(i + 1 < line.size() && line[i + 1] == u'=')) {
      flush();
    } else {
      if (TrimBlanks(current).empty() && StartsWithWord(line.substr(i), u"Rem")) {
        current.clear();
        break;
      }
      current += c;
    }
  }
  flush();
  return result;
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
    Text name;
    if (!rest_.empty() && rest_[0] == u'[') {
      std::size_t close = rest_.find(u']');
      if (close == TextView::npos) return {};
      name = Text(rest_.substr(1, close - 1));
      n = close + 1;
    } else {
      while (n < rest_.size() && IsIdentChar(rest_[n])) ++n;
      name = Text(rest_.substr(0, n));
      if (n < rest_.size() && TextView(u"%&!#@$").find(rest_[n]) != TextView::npos) ++n;
    }
    rest_ = TrimBlanks(rest_.substr(n));
    return name;
  }
  TextView rest() const { return rest_; }

 private:
  TextView rest_;
};

// Splits a declaration list at the commas outside parentheses and strings.
std::vector<Text> ListItems(TextView s) {
  std::vector<Text> items;
  Text current;
  int depth = 0;
  bool inString = false;
  for (char16_t c : s) {
    if (inString) {
      if (c == u'"') inString = false;
    } else if (c == u'"') {
      inString = true;
    } else if (c == u'(') {
      ++depth;
    } else if (c == u')') {
      --depth;
    } else if (c == u',' && depth == 0) {
      items.push_back(current);
      current.clear();
      continue;
    }
    current += c;
  }
  items.push_back(current);
  return items;
}

enum class Block { Module, Procedure, Type, Enum };

class Scanner {
 public:
  ModuleOutline Run(const std::vector<Text>& lines) {
    for (const LogicalLine& logical : JoinContinuations(lines)) {
      line_ = &logical;
      for (const Text& statement : Statements(logical.text)) Statement(statement);
    }
    return std::move(outline_);
  }

 private:
  void Statement(TextView statement) {
    Words w(statement);
    switch (block_) {
      case Block::Procedure:
        if (w.Take(u"End") && (w.Take(u"Sub") || w.Take(u"Function") || w.Take(u"Property"))) {
          outline_.declarations[open_].endLine = line_->last;
          block_ = Block::Module;
        }
        return;
      case Block::Type:
      case Block::Enum:
        MarkDeclarationLine();
        if (w.Take(u"End") && (w.Take(u"Type") || w.Take(u"Enum"))) {
          outline_.declarations[open_].endLine = line_->last;
          block_ = Block::Module;
        }
        return;
      case Block::Module:
        ModuleStatement(w);
        return;
    }
  }

  void MarkDeclarationLine() {
    if (outline_.firstProcedureLine == 0) outline_.declarationLines = line_->last;
  }

  void Add(DeclarationKind kind, Text name, int scope, bool withEvents = false) {
    Declaration d;
    d.kind = kind;
    d.name = std::move(name);
    d.scope = scope;
    d.withEvents = withEvents;
    d.firstLine = line_->first;
    d.lastLine = line_->last;
    outline_.declarations.push_back(std::move(d));
  }

  void ModuleStatement(Words& w) {
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
      if (outline_.firstProcedureLine == 0) outline_.firstProcedureLine = line_->first;
      Add(procedure, w.Identifier(), scope.value_or(host::vbext_Public));
      open_ = outline_.declarations.size() - 1;
      block_ = Block::Procedure;
      return;
    }

    MarkDeclarationLine();
    if (w.Take(u"Declare")) {
      w.Take(u"PtrSafe");
      if (w.Take(u"Sub") || w.Take(u"Function")) Add(DeclarationKind::Declare, w.Identifier(), scope.value_or(host::vbext_Public));
    } else if (w.Take(u"Event")) {
      Add(DeclarationKind::Event, w.Identifier(), scope.value_or(host::vbext_Public));
    } else if (w.Take(u"Const")) {
      for (const Text& item : ListItems(w.rest())) {
        Words iw(item);
        Text name = iw.Identifier();
        if (!name.empty()) Add(DeclarationKind::Constant, std::move(name), scope.value_or(host::vbext_Private));
      }
    } else if (!dim && w.Take(u"Type")) {
      Add(DeclarationKind::Type, w.Identifier(), scope.value_or(host::vbext_Public));
      open_ = outline_.declarations.size() - 1;
      block_ = Block::Type;
    } else if (!dim && w.Take(u"Enum")) {
      Add(DeclarationKind::Enum, w.Identifier(), scope.value_or(host::vbext_Public));
      open_ = outline_.declarations.size() - 1;
      block_ = Block::Enum;
    } else if (scope || isStatic) {
      Variables(w.rest(), scope.value_or(host::vbext_Private));
    } else if (w.Take(u"Option")) {
      Add(DeclarationKind::Option, {}, host::vbext_Private);
    } else if (w.Take(u"Implements")) {
      Add(DeclarationKind::Implements, w.Identifier(), host::vbext_Public);
    } else {
      Add(DeclarationKind::Other, {}, host::vbext_Private);
    }
  }

  void Variables(TextView list, int scope) {
    for (const Text& item : ListItems(list)) {
      Words iw(item);
      bool withEvents = iw.Take(u"WithEvents");
      Text name = iw.Identifier();
      if (!name.empty()) Add(DeclarationKind::Variable, std::move(name), scope, withEvents);
    }
  }

  ModuleOutline outline_;
  const LogicalLine* line_ = nullptr;
  Block block_ = Block::Module;
  std::size_t open_ = 0;  // the declaration whose block is open
};

}  // namespace

bool ContinuesOnNextLine(TextView line) {
  TextView t = TrimBlanks(line);
  if (t == u"_") return true;
  return t.size() >= 2 && t.back() == u'_' && IsBlank(t[t.size() - 2]);
}

ModuleOutline ScanModule(const std::vector<Text>& lines) { return Scanner().Run(lines); }

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

std::vector<MemberInfo> MembersOf(const ModuleOutline& outline) {
  std::vector<MemberInfo> members;
  for (const Declaration& d : outline.declarations) {
    int type = 0;
    switch (d.kind) {
      case DeclarationKind::Sub:
      case DeclarationKind::Function:
      case DeclarationKind::Declare:
        type = host::vbext_mt_Method;
        break;
      case DeclarationKind::PropertyGet:
      case DeclarationKind::PropertyLet:
      case DeclarationKind::PropertySet:
        type = host::vbext_mt_Property;
        break;
      case DeclarationKind::Variable:
        type = host::vbext_mt_Variable;
        break;
      case DeclarationKind::Event:
        type = host::vbext_mt_Event;
        break;
      case DeclarationKind::Constant:
        type = host::vbext_mt_Const;
        break;
      default:
        continue;
    }
    if (d.name.empty()) continue;
    bool known = false;
    for (const MemberInfo& m : members) known = known || vb::EqualsNoCase(m.name, d.name);
    if (!known) members.push_back(MemberInfo{d.name, type, d.scope, d.firstLine});
  }
  return members;
}

}  // namespace memhost
