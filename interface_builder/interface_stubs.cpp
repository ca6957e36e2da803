#include "interface_builder/interface_stubs.h"

namespace morrowgate {

namespace {

using vb::kCrLf;
using vb::kTab;

// The close of every generated procedure body: an empty line, the End statement, two empty lines.
Text Closing(TextView endStatement) { return kCrLf + Text(endStatement) + kCrLf + kCrLf + kCrLf; }

Text PropertyHeader(ProcedureKind kind) {
  switch (kind) {
    case ProcedureKind::PropertyLet: return u"Private Property Let ";
    case ProcedureKind::PropertySet: return u"Private Property Set ";
    default: return u"Private Property Get ";
  }
}

// A property procedure's body and close: the comment of its kind, an empty line, End Property.
Text PropertyBody(ProcedureKind kind, TextView memberName) {
  Text comment = kind == ProcedureKind::PropertyLet   ? Text(u"' put your code here to store the variable passed in")
                 : kind == ProcedureKind::PropertySet ? Text(u"' put your code here to store the object")
                 : u"' put your code here to return the " + Text(memberName) + u" property";
  return kTab + comment + kCrLf + Closing(u"End Property");
}

// The first word of `item` removed when it is one of the words that may stand before a
// variable's name.
bool DropLeadingWord(Text& item) {
  for (TextView word : {u"Public", u"Global", u"Private", u"Dim", u"Static", u"WithEvents"}) {
    if (vb::StartsWith(item, Text(word) + u" ")) {
      item = vb::Trim(item.substr(word.size()));
      return true;
    }
  }
  return false;
}

// The type of one item of a variable list ("A As Long", "B$", "[C]() As New Collection").
Text ItemType(TextView item, std::size_t nameEnd) {
  std::int64_t as = vb::InStr(item, u" As ");
  if (as == 0) return nameEnd < item.size() ? vb::TypeOfCharacter(item[nameEnd]) : Text(u"Variant");
  Text type = vb::Trim(vb::Mid(item, as + 4));
  if (vb::StartsWith(type, u"New ")) type = vb::Trim(type.substr(4));
  return type;
}

// What ends a variable's name in an item of a list: a blank, its bounds or its type character.
constexpr TextView kNameEnds = u" (%&!#@$";

// Hands each item of a variable list (one statement of a declaration line) to `visit`, trimmed
// and without its leading words, until `visit` answers false.
template <class Visit>
void ForEachListItem(TextView statement, const Visit& visit) {
  for (Text item : vb::SplitList(statement)) {
    item = vb::Trim(item);
    while (DropLeadingWord(item)) {
    }
    if (!visit(item)) return;
  }
}

// The type of variable `name` in its declaration line, or nullopt when no item names it.
std::optional<Text> ItemTypeOf(TextView declaration, TextView name) {
  std::optional<Text> type;
  for (const Text& statement : vb::StatementsOfLine(declaration)) {
    ForEachListItem(statement, [&](const Text& item) {
      bool bracketed = vb::StartsWith(item, u"[");
      std::size_t nameAt = bracketed ? 1 : 0;
      std::size_t nameEnd = nameAt + name.size();
      if (item.size() < nameEnd || !vb::EqualsNoCase(TextView(item).substr(nameAt, name.size()), name)) return true;
      if (bracketed) {
        if (nameEnd >= item.size() || item[nameEnd] != u']') return true;
        ++nameEnd;
      } else if (nameEnd < item.size() && kNameEnds.find(item[nameEnd]) == TextView::npos) {
        return true;  // a longer name that begins with this one
      }
      type = ItemType(item, nameEnd);
      return false;
    });
    if (type) return type;
  }
  return std::nullopt;
}

// A statement that declares public variables: "Public" or "Global" and then no other kind of
// declaration.
bool DeclaresPublicVariables(TextView statement) {
  const Text text = vb::Trim(statement);
  if (!vb::StartsWith(text, u"Public ") && !vb::StartsWith(text, u"Global ")) return false;
  const Text rest = vb::Trim(TextView(text).substr(7));
  for (TextView word : {u"Const", u"Declare", u"Event", u"Type", u"Enum", u"Sub", u"Function", u"Property",
                        u"Static", u"Friend"})
    if (rest == word || vb::StartsWith(rest, Text(word) + u" ")) return false;
  return true;
}

}  // namespace

Text VariableType(TextView declaration, TextView name) { return ItemTypeOf(declaration, name).value_or(u"Variant"); }

std::optional<Text> PublicVariableType(TextView declaration, TextView name) {
  for (const Text& statement : vb::StatementsOfLine(declaration))
    if (DeclaresPublicVariables(statement))
      if (std::optional<Text> type = ItemTypeOf(statement, name)) return type;
  return std::nullopt;
}

std::vector<Text> PublicVariableNames(TextView declaration) {
  std::vector<Text> names;
  for (const Text& statement : vb::StatementsOfLine(declaration)) {
    if (!DeclaresPublicVariables(statement)) continue;
    ForEachListItem(statement, [&](const Text& item) {
      std::size_t end = 0;
      if (vb::StartsWith(item, u"[")) {
        end = item.find(u']');
        if (end != Text::npos) names.push_back(item.substr(1, end - 1));
        return true;
      }
      while (end < item.size() && kNameEnds.find(item[end]) == TextView::npos) ++end;
      if (end > 0) names.push_back(item.substr(0, end));
      return true;
    });
  }
  return names;
}

std::optional<int> KnownWriteProcedures(TextView type) {
  if (type == u"Variant") return kLetProcedure | kSetProcedure;
  if (type == u"Object") return kSetProcedure;
  for (TextView valueType : vb::kBuiltInTypes)  // Object and Variant answered above
    if (type == valueType) return kLetProcedure;
  return std::nullopt;
}

Text VariableStub(TextView interfaceName, TextView memberName, TextView type, ProcedureKind kind) {
  Text procedure = Text(interfaceName) + u"_" + Text(memberName);
  if (kind == ProcedureKind::PropertyGet)
    return PropertyHeader(kind) + procedure + u" () As " + Text(type) + kCrLf + PropertyBody(kind, memberName);
  Text byVal = type == u"Variant" ? Text() : Text(u"byval");
  return PropertyHeader(kind) + procedure + u" (" + byVal + u" RHS as " + Text(type) + u")" + kCrLf +
         PropertyBody(kind, memberName);
}

Text ProcedureStub(TextView interfaceName, TextView memberName, const vb::ProcedureHeader& header,
                   TextView declaration) {
  std::size_t end = vb::StatementEnd(declaration, header.nameEnd);
  Text rest(declaration.substr(header.nameEnd, end - header.nameEnd));
  if (end < declaration.size()) rest = vb::RTrim(rest);
  Text name = Text(interfaceName) + u"_" + Text(memberName);
  if (header.kind != ProcedureKind::Sub && header.kind != ProcedureKind::Function)
    return PropertyHeader(header.kind) + name + rest + kCrLf + PropertyBody(header.kind, memberName);
  Text keyword(vb::BlockKeyword(header.kind));
  return u"Private " + keyword + u" " + name + rest + kCrLf + kTab + u"' place your code here" + kCrLf +
         Closing(u"End " + keyword);
}

}  // namespace morrowgate
