#include "framework/vb_statements.h"

#include <initializer_list>

namespace vb {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == kTab; }

bool IsIdentifierChar(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' || c > 0x7F;
}

// Skips blanks and line continuations (" _" then a line break) from `at`.
std::size_t SkipSeparators(TextView text, std::size_t at) {
  for (;;) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at >= text.size() || text[at] != u'_') return at;
    std::size_t next = at + 1;
    while (next < text.size() && IsBlank(text[next])) ++next;
    if (next >= text.size() || (text[next] != kCr && text[next] != kLf)) return at;
    if (text[next] == kCr && next + 1 < text.size() && text[next + 1] == kLf) ++next;
    at = next + 1;
  }
}

// Reads keywords and a name from the front of a statement, across continuations.
class Reader {
 public:
  explicit Reader(TextView text) : text_(text), at_(SkipSeparators(text, 0)) {}

  bool Take(TextView word) {
    if (text_.substr(at_, word.size()) != word) return false;
    std::size_t end = at_ + word.size();
    if (end < text_.size() && IsIdentifierChar(text_[end])) return false;
    at_ = SkipSeparators(text_, end);
    return true;
  }

  // A name, plain or in [brackets]; false when none stands here.
  bool Name(ProcedureHeader& header) {
    std::size_t end = at_;
    if (end < text_.size() && text_[end] == u'[') {
      std::size_t close = text_.find(u']', end);
      if (close == TextView::npos || close == end + 1) return false;
      header.name = Text(text_.substr(end + 1, close - end - 1));
      end = close + 1;
    } else {
      while (end < text_.size() && IsIdentifierChar(text_[end])) ++end;
      if (end == at_) return false;
      header.name = Text(text_.substr(at_, end - at_));
    }
    header.nameStart = at_;
    header.nameEnd = end;
    return true;
  }

  std::size_t at() const { return at_; }

 private:
  TextView text_;
  std::size_t at_;
};

}  // namespace

bool ContinuesOnNextLine(TextView line) {
  // Looks at the end only: a long continued statement is tested line after line.
  const std::size_t last = line.find_last_not_of(u' ');
  if (last == TextView::npos || line[last] != u'_') return false;
  return last == 0 || IsBlank(line[last - 1]);
}

std::size_t StatementEnd(TextView code, std::size_t from) {
  bool inString = false;
  for (std::size_t i = from; i < code.size(); ++i) {
    char16_t c = code[i];
    if (c == u'"') {
      inString = !inString;
    } else if (!inString && (c == u'\'' || (c == u':' && !(i + 1 < code.size() && code[i + 1] == u'=')))) {
      return i;
    }
  }
  return code.size();
}

std::size_t ClosingParenthesis(TextView code, std::size_t open) {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = open; i < code.size(); ++i) {
    char16_t c = code[i];
    if (c == u'"') inString = !inString;
    if (inString) continue;
    if (c == u'(') ++depth;
    if (c == u')' && --depth == 0) return i;
  }
  return TextView::npos;
}

std::vector<Text> SplitList(TextView list) {
  std::vector<Text> items;
  if (Trim(list).empty()) return items;
  Text current;
  int depth = 0;
  bool inString = false;
  for (char16_t c : list) {
    if (c == u'"') inString = !inString;
    if (!inString) {
      if (c == u'(') ++depth;
      if (c == u')') --depth;
      if (c == u',' && depth == 0) {
        items.push_back(std::move(current));
        current.clear();
        continue;
      }
    }
    current += c;
  }
  items.push_back(std::move(current));
  return items;
}

Text TypeOfCharacter(char16_t c) {
  switch (c) {
    case u'%': return u"Integer";
    case u'&': return u"Long";
    case u'!': return u"Single";
    case u'#': return u"Double";
    case u'@': return u"Currency";
    case u'$': return u"String";
    default: return u"Variant";
  }
}

TextView BlockKeyword(ProcedureKind kind) {
  switch (kind) {
    case ProcedureKind::Sub: return u"Sub";
    case ProcedureKind::Function: return u"Function";
    default: return u"Property";
  }
}

std::optional<ProcedureHeader> ReadProcedureHeader(TextView statement) {
  Reader r(statement);
  ProcedureHeader header;
  if (r.Take(u"Public")) header.scope = 2;
  else if (r.Take(u"Private")) header.scope = 1;
  else if (r.Take(u"Friend")) header.scope = 3;
  r.Take(u"Static");
  if (r.Take(u"Sub")) {
    header.kind = ProcedureKind::Sub;
  } else if (r.Take(u"Function")) {
    header.kind = ProcedureKind::Function;
  } else if (r.Take(u"Property")) {
    if (r.Take(u"Get")) header.kind = ProcedureKind::PropertyGet;
    else if (r.Take(u"Let")) header.kind = ProcedureKind::PropertyLet;
    else if (r.Take(u"Set")) header.kind = ProcedureKind::PropertySet;
    else return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (!r.Name(header)) return std::nullopt;
  return header;
}

TextView ProcedureEnd(TextView statement) {
  Reader r(statement);
  if (!r.Take(u"End")) return {};
  for (TextView keyword : {u"Sub", u"Function", u"Property"})
    if (r.Take(keyword)) return keyword;
  return {};
}

TextView AfterLineLabel(TextView line) {
  std::size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  std::size_t end = start;
  const bool number = end < line.size() && line[end] >= u'0' && line[end] <= u'9';
  while (end < line.size() && (number ? line[end] >= u'0' && line[end] <= u'9' : IsIdentifierChar(line[end]))) ++end;
  if (end == start || end == line.size()) return line.substr(start);
  if (line[end] == u':' && (end + 1 == line.size() || line[end + 1] != u'=')) {
    ++end;  // a label, or a number written as one ("20:")
  } else if (!number || !IsBlank(line[end])) {
    return line.substr(start);
  }
  while (end < line.size() && IsBlank(line[end])) ++end;
  return line.substr(end);
}

std::vector<Text> StatementsOfLine(TextView code) {
  std::vector<Text> statements;
  std::size_t from = 0;
  for (;;) {
    std::size_t end = StatementEnd(code, from);
    statements.emplace_back(code.substr(from, end - from));
    if (end >= code.size() || code[end] != u':') return statements;
    from = end + 1;
  }
}

}  // namespace vb
