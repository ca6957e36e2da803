#include "interface_builder/interface_stubs.h"

#include <array>

namespace morrowgate {

namespace {

using vb::kCrLf;
using vb::kTab;

// The close of every generated procedure body: an empty line, the End statement, two empty lines.
Text Closing(TextView endStatement) { return kCrLf + Text(endStatement) + kCrLf + kCrLf + kCrLf; }

bool IsIdentifierChar(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' || c > 0x7F;
}

bool IsBlank(char16_t c) { return c == u' ' || c == kTab; }

// Skips blanks and line continuations (" _" then a line break) from `at`.
std::size_t SkipSeparators(TextView text, std::size_t at) {
  for (;;) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at < text.size() && text[at] == u'_') {
      std::size_t next = at + 1;
      while (next < text.size() && IsBlank(text[next])) ++next;
      if (next < text.size() && (text[next] == vb::kCr || text[next] == vb::kLf)) {
        if (text[next] == vb::kCr && next + 1 < text.size() && text[next + 1] == vb::kLf) ++next;
        at = next + 1;
        continue;
      }
    }
    return at;
  }
}

// Position just after `name` when it follows `keyword` as whole words at `keywordAt`.
std::optional<std::size_t> NameAfterKeyword(TextView text, std::size_t keywordAt, TextView keyword, TextView name) {
  if (keywordAt > 0 && IsIdentifierChar(text[keywordAt - 1])) return std::nullopt;
  std::size_t afterKeyword = keywordAt + keyword.size();
  if (afterKeyword >= text.size() || IsIdentifierChar(text[afterKeyword])) return std::nullopt;
  std::size_t nameAt = SkipSeparators(text, afterKeyword);
  if (nameAt == afterKeyword || text.substr(nameAt, name.size()) != name) return std::nullopt;
  std::size_t end = nameAt + name.size();
  if (end < text.size() && IsIdentifierChar(text[end])) return std::nullopt;
  return end;
}

}  // namespace

Text VariableType(TextView declaration) {
  std::int64_t at = vb::InStr(declaration, u" As ");
  if (at == 0) return u"Variant";
  return vb::Trim(vb::Mid(declaration, at + 4));
}

std::optional<int> KnownWriteProcedures(TextView type) {
  if (type == u"Variant") return kLetProcedure | kSetProcedure;
  if (type == u"Object") return kSetProcedure;
  static constexpr std::array<TextView, 9> kValueTypes{u"Boolean", u"Byte",    u"Currency", u"Date",  u"Double",
                                                       u"Integer", u"Long", u"Single",   u"String"};
  for (TextView valueType : kValueTypes)
    if (type == valueType) return kLetProcedure;
  return std::nullopt;
}

Text PropertyStubs(TextView interfaceName, TextView memberName, TextView type, int writeProcedures) {
  Text procedure = Text(interfaceName) + u"_" + Text(memberName);
  Text out = u"Private Property Get " + procedure + u" () As " + Text(type) + kCrLf;
  out += kTab + Text(u"' put your code here to return the ") + Text(memberName) + u" property" + kCrLf;
  out += Closing(u"End Property");
  Text byVal = type == u"Variant" ? Text() : Text(u"byval");
  if (writeProcedures & kLetProcedure) {
    out += u"Private Property Let " + procedure + u" (" + byVal + u" RHS as " + Text(type) + u")" + kCrLf;
    out += kTab + Text(u"' put your code here to store the variable passed in") + kCrLf;
    out += Closing(u"End Property");
  }
  if (writeProcedures & kSetProcedure) {
    out += u"Private Property Set " + procedure + u" (" + byVal + u" RHS as " + Text(type) + u")" + kCrLf;
    out += kTab + Text(u"' put your code here to store the object") + kCrLf;
    out += Closing(u"End Property");
  }
  return out;
}

MethodHeader SplitMethodDeclaration(TextView declaration, TextView memberName) {
  // The earliest Sub or Function keyword that the name follows.
  for (std::size_t at = 0; at < declaration.size(); ++at) {
    for (TextView keyword : {TextView(u"Sub"), TextView(u"Function")}) {
      if (declaration.substr(at, keyword.size()) != keyword) continue;
      if (auto end = NameAfterKeyword(declaration, at, keyword, memberName))
        return MethodHeader{Text(keyword), Text(declaration.substr(*end))};
    }
  }
  // A declaration of an unusual shape: cut at the first occurrence of the name.
  std::int64_t nameAt = vb::InStr(declaration, memberName);
  bool isFunction = nameAt > 0 && vb::InStr(vb::Left(declaration, nameAt - 1), u"Function") > 0;
  return MethodHeader{isFunction ? Text(u"Function") : Text(u"Sub"),
                      vb::Mid(declaration, nameAt + static_cast<std::int64_t>(memberName.size()))};
}

Text MethodStub(TextView interfaceName, TextView memberName, const MethodHeader& header) {
  Text out = u"Private " + header.keyword + u" " + Text(interfaceName) + u"_" + Text(memberName) + header.rest + kCrLf;
  out += kTab + Text(u"' place your code here") + kCrLf;
  out += Closing(u"End " + header.keyword);
  return out;
}

}  // namespace morrowgate
