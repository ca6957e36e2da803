// The procedure locator shared by the header and revision dialogs, and the small helpers they
// use: word splitting, scope names, the login name and the declaration reader.
#pragma once

#include <vector>

#include "comment/header_text.h"
#include "framework/host_model.h"

namespace comment {

using host::Ref;

// Where the last search found a procedure.
struct ProcLocationRecord {
  Text Name;             // name in the declaration found, "" when none
  long StartLine = 0;    // the declaration's first physical line, 0 when none
  long EndLine = 0;      // the first End Sub/Function/Property line at or below the start, 0 when none
  long MemberType = 5;   // 1 method, 2 property; 5 when no end line was found
  bool operator==(const ProcLocationRecord&) const = default;
};

// Overwritten by every LocateProcedure; keeps the last search's result until the next one.
extern ProcLocationRecord ProcLocation;

// Words of the trimmed text split at each delimiter; consecutive delimiters give empty words.
std::vector<Text> SplitWords(TextView text, TextView delimiter);
// The first `count` of those words as views into `text`; the rest of the line is not looked at,
// so a line of a hundred thousand words costs what a short one does.
std::vector<TextView> FirstWords(TextView text, TextView delimiter, std::size_t count);

// "Private" 1, "Public" 2, "Friend" 3, "" for anything else.
Text ScopeText(host::Scope scope);

// The name the operating system gives the logged-in user, trimmed and upper-cased.
Text GetLoginName();

// Finds the procedure around `line`: the first End line at or below it gives the kind and the
// end; the declaration is the nearest one at or above the line, unless another procedure's End
// line comes first (or the module's top), when it is the first one below the line with only
// blank and comment lines between. Declarations with or without a scope word, Static, and
// one-line procedures count; Declare, Event and variable lines do not. Fills ProcLocation and
// returns it. Host failures while looking for the declaration end the search silently.
ProcLocationRecord LocateProcedure(long line, const Ref<host::CodeModule>& codeModule);

struct MemberAtLine {
  Ref<host::Member> member;  // Nothing when no procedure encloses the line
  long declarationLine = 0;
};
// The member of the active code pane's module whose procedure encloses `line`.
MemberAtLine GetMemberAtLine(const Ref<host::VBE>& vbe, long line);
// The method (not a variable or constant) around the caret of the active code pane, or an empty
// result: what the header and revision dialogs work on.
MemberAtLine MethodAtCaret(const Ref<host::VBE>& vbe);

// The declaration at `declarationLine` joined over its continuation lines (a trailing "_"),
// one blank between the parts.
Text JoinDeclaration(const Ref<host::CodeModule>& codeModule, long declarationLine);
// The return value text and the parameter lines of the declaration at `declarationLine`.
DeclarationParts ParseDeclaration(const Ref<host::CodeModule>& codeModule, long declarationLine);

}  // namespace comment
