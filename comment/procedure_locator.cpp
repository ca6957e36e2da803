#include "comment/procedure_locator.h"

#include <cstdint>

#include "comment/active_code.h"
#include "framework/vb_statements.h"

namespace comment {

ProcLocationRecord ProcLocation;

namespace {

// The member type (1 method, 2 property) of the End statement among the line's statements, 0
// when it has none. A one-line procedure's line holds its declaration and its End.
long EndOnLine(TextView line) {
  for (const Text& statement : vb::StatementsOfLine(line)) {
    const TextView keyword = vb::ProcedureEnd(statement);
    if (!keyword.empty()) return keyword == u"Property" ? host::vbext_mt_Property : host::vbext_mt_Method;
  }
  return 0;
}

long MemberTypeOf(vb::ProcedureKind kind) {
  return (kind == vb::ProcedureKind::Sub || kind == vb::ProcedureKind::Function) ? host::vbext_mt_Method
                                                                                 : host::vbext_mt_Property;
}

// Lines that belong to no statement: blank lines, comments and conditional compilation lines.
bool IsBlankOrComment(TextView line) {
  const Text text = vb::Trim(line);
  return text.empty() || vb::StartsWith(text, u"'") || vb::StartsWith(text, u"#");
}

// The downward search: the first line at or below `line` with an End statement.
bool FindEndLine(long line, host::CodeModule& module, ProcLocationRecord& found) {
  for (long current = line; current <= module.CountOfLines(); ++current) {
    if (const long type = EndOnLine(module.Lines(current, 1)); type != 0) {
      found.MemberType = type;
      found.EndLine = current;
      return true;
    }
  }
  return false;
}

// A statement read upward: its first physical line and its text joined over continuations.
struct StatementAt {
  long start = 0;
  Text text;
};
StatementAt StatementEndingAt(long line, host::CodeModule& module) {
  StatementAt statement{line, module.Lines(line, 1)};
  while (statement.start > 1) {
    const Text above = vb::Trim(module.Lines(statement.start - 1, 1));
    if (!vb::ContinuesOnNextLine(above)) break;
    statement.text = vb::Left(above, static_cast<std::int64_t>(above.size()) - 1) + u" " + statement.text;
    --statement.start;
  }
  return statement;
}

// Records the declaration when it is one of the kind the End line closes.
void Take(const vb::ProcedureHeader& header, long start, ProcLocationRecord& found) {
  if (MemberTypeOf(header.kind) != found.MemberType) return;
  found.Name = header.name;
  found.StartLine = start;
}

// The caret lies above a declaration (in its comment block or the blank lines before it): the
// declaration is the first one below, provided only blank and comment lines lie between.
void FindDeclarationBelow(long line, host::CodeModule& module, ProcLocationRecord& found) {
  for (long current = line; current <= found.EndLine; ++current) {
    const Text text = module.Lines(current, 1);
    if (IsBlankOrComment(text)) continue;
    if (std::optional<vb::ProcedureHeader> header = vb::ReadProcedureHeader(text)) Take(*header, current, found);
    return;
  }
}

// The upward search: the declaration of the procedure the caret is in, never past the End line
// of another procedure.
void FindDeclaration(long line, host::CodeModule& module, ProcLocationRecord& found) {
  for (long current = line; current >= 1; --current) {
    const StatementAt statement = StatementEndingAt(current, module);
    current = statement.start;
    if (IsBlankOrComment(statement.text)) continue;
    if (statement.start != found.EndLine && EndOnLine(statement.text) != 0) break;
    if (std::optional<vb::ProcedureHeader> header = vb::ReadProcedureHeader(statement.text)) {
      Take(*header, statement.start, found);
      return;
    }
  }
  FindDeclarationBelow(line, module, found);
}

}  // namespace

std::vector<TextView> FirstWords(TextView text, TextView delimiter, std::size_t count) {
  std::vector<TextView> words;
  TextView rest = vb::TrimView(text);
  if (delimiter.empty()) {
    if (!rest.empty() && count > 0) words.push_back(rest);
    return words;
  }
  for (std::size_t at = rest.find(delimiter); at != TextView::npos && words.size() < count; at = rest.find(delimiter)) {
    words.push_back(rest.substr(0, at));
    rest.remove_prefix(at + delimiter.size());
  }
  if (!rest.empty() && words.size() < count) words.push_back(rest);
  return words;
}

std::vector<Text> SplitWords(TextView text, TextView delimiter) {
  const std::vector<TextView> words = FirstWords(text, delimiter, SIZE_MAX);
  return std::vector<Text>(words.begin(), words.end());
}

Text ScopeText(host::Scope scope) {
  switch (scope) {
    case host::vbext_Private: return u"Private";
    case host::vbext_Public: return u"Public";
    case host::vbext_Friend: return u"Friend";
    default: return Text();
  }
}

ProcLocationRecord LocateProcedure(long line, const Ref<host::CodeModule>& codeModule) {
  ProcLocation = ProcLocationRecord{};
  host::CodeModule& module = *vb::Required(codeModule);
  ProcLocationRecord found;
  if (FindEndLine(line, module, found)) {
    try {
      FindDeclaration(line, module, found);
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
  MemberAtLine found = GetMemberAtLine(vbe, ActivePane(vbe)->GetSelection().startLine);
  if (found.member && (found.member->Type() == host::vbext_mt_Variable || found.member->Type() == host::vbext_mt_Const))
    return {};
  return found;
}

Text JoinDeclaration(const Ref<host::CodeModule>& codeModule, long declarationLine) {
  Text joined = vb::Trim(vb::Required(codeModule)->Lines(declarationLine, 1));
  // A module that ends in a continuation has nothing more to join. Joined in place, so a long
  // run of continued lines costs its length once.
  for (long next = declarationLine + 1; vb::ContinuesOnNextLine(joined) && next <= codeModule->CountOfLines(); ++next) {
    joined.pop_back();
    while (!joined.empty() && joined.back() == u' ') joined.pop_back();
    joined.erase(0, std::min(joined.size(), joined.find_first_not_of(u' ')));
    joined += u' ';
    joined += vb::TrimView(codeModule->Lines(next, 1));
  }
  return joined;
}

DeclarationParts ParseDeclaration(const Ref<host::CodeModule>& codeModule, long declarationLine) {
  return ParseDeclarationText(JoinDeclaration(codeModule, declarationLine));
}

}  // namespace comment
