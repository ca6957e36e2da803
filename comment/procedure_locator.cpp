#include "comment/procedure_locator.h"

#include <algorithm>
#include <initializer_list>

#include "comment/active_code.h"

namespace comment {

ProcLocationRecord ProcLocation;

namespace {

bool IsOneOf(TextView word, std::initializer_list<TextView> choices) {
  return std::find(choices.begin(), choices.end(), word) != choices.end();
}

// Examines the words of a declaration line for the procedure's name: a continuation "_" names
// the word before it, a word with "(" names what precedes the parenthesis.
bool NameFromWords(const std::vector<Text>& words, Text& name) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const Text& word = words[i];
    if (vb::StartsWith(word, u"_")) {
      name = i > 0 ? words[i - 1] : Text();
      return true;
    }
    if (const std::int64_t paren = vb::InStr(word, u"("); paren > 0) {
      name = vb::Left(word, paren - 1);
      return true;
    }
  }
  return false;
}

// The downward search: the first End line at or below `line`; false when the module ends first.
bool FindEndLine(long line, host::CodeModule& module, ProcLocationRecord& found) {
  for (long current = line;; ++current) {
    if (current > module.CountOfLines()) return false;
    const Text head = vb::Left(vb::Trim(module.Lines(current, 1)), 7);
    if (head == u"End Fun" || head == u"End Sub" || head == u"End Pro") {
      const Text kind = vb::Right(head, 3);
      found.MemberType = (kind == u"Pro") ? host::vbext_mt_Property : host::vbext_mt_Method;
      found.EndLine = current;
      return true;
    }
  }
}

// The upward search for the declaration of the kind the End line gave.
void FindDeclaration(long line, host::CodeModule& module, ProcLocationRecord& found) {
  for (long current = line; current >= 1; --current) {
    const Text text = vb::Trim(module.Lines(current, 1));
    if (text.empty() || vb::StartsWith(text, u"'")) continue;
    std::vector<Text> words;
    if (found.MemberType == host::vbext_mt_Method) {
      words = SplitWords(text, u" ");
      if (!IsOneOf(words.front(), {u"Friend", u"Private", u"Public", u"Sub", u"Function"})) continue;
    } else if (found.MemberType == host::vbext_mt_Property) {
      if (vb::InStr(text, u" Property ") == 0) continue;
      words = SplitWords(text, u" ");
      if (!IsOneOf(words.front(), {u"Friend", u"Private", u"Public", u"Property"})) continue;
    } else {
      continue;
    }
    if (NameFromWords(words, found.Name)) {
      found.StartLine = current;
      return;
    }
  }
}

}  // namespace

std::vector<Text> SplitWords(TextView text, TextView delimiter) {
  std::vector<Text> words;
  Text rest = vb::Trim(text);
  if (delimiter.empty()) {
    if (!rest.empty()) words.push_back(rest);
    return words;
  }
  for (std::int64_t at = vb::InStr(rest, delimiter); at > 0; at = vb::InStr(rest, delimiter)) {
    words.push_back(vb::Left(rest, at - 1));
    rest = vb::Mid(rest, at + static_cast<std::int64_t>(delimiter.size()));
  }
  if (!rest.empty()) words.push_back(rest);
  return words;
}

Text ScopeText(int scope) {
  switch (scope) {
    case host::vbext_Private: return u"Private";
    case host::vbext_Public: return u"Public";
    case host::vbext_Friend: return u"Friend";
    default: return Text();
  }
}

ProcLocationRecord LocateProcedure(long line, const Ref<host::CodeModule>& codeModule) {
  ProcLocation = ProcLocationRecord{};
  if (!codeModule) vb::RaiseStandard(vb::err::kObjectNotSet);
  ProcLocationRecord found;
  if (FindEndLine(line, *codeModule, found)) {
    try {
      FindDeclaration(line, *codeModule, found);
    } catch (...) {
      // A failing read ends the upward search; what was found so far stands.
    }
  }
  ProcLocation = found;
  return found;
}

MemberAtLine GetMemberAtLine(const Ref<host::VBE>& vbe, long line) {
  Ref<host::CodeModule> module = ActiveCodeModule(vbe);
  const ProcLocationRecord found = LocateProcedure(line, module);
  if (found.StartLine == 0 && found.EndLine == 0) return {};
  Ref<host::Members> members = module->Members();
  const long count = members ? members->Count() : 0;
  for (long i = 1; i <= count; ++i) {
    Ref<host::Member> member = members->Item(i);
    if (member && member->Name() == found.Name) return {member, found.StartLine};
  }
  return {};
}

MemberAtLine MethodAtCaret(const Ref<host::VBE>& vbe) {
  long startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
  ActivePane(vbe)->GetSelection(startLine, startColumn, endLine, endColumn);
  MemberAtLine found = GetMemberAtLine(vbe, startLine);
  if (found.member && (found.member->Type() == host::vbext_mt_Variable || found.member->Type() == host::vbext_mt_Const))
    return {};
  return found;
}

Text JoinDeclaration(const Ref<host::CodeModule>& codeModule, long declarationLine) {
  if (!codeModule) vb::RaiseStandard(vb::err::kObjectNotSet);
  Text joined = vb::Trim(codeModule->Lines(declarationLine, 1));
  // A module that ends in a continuation has nothing more to join.
  for (long next = declarationLine + 1; vb::EndsWith(joined, u"_") && next <= codeModule->CountOfLines(); ++next) {
    joined = vb::Trim(vb::Left(joined, static_cast<std::int64_t>(joined.size()) - 1)) + u" " +
             vb::Trim(codeModule->Lines(next, 1));
  }
  return joined;
}

DeclarationParts ParseDeclaration(const Ref<host::CodeModule>& codeModule, long declarationLine) {
  return ParseDeclarationText(JoinDeclaration(codeModule, declarationLine));
}

}  // namespace comment
