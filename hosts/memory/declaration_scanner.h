// The one VB declaration scanner: reads a module's code lines and finds its module-level
// declarations, where the declarations section ends and where the procedures begin. The in-memory
// code module computes Members, CountOfDeclarationLines and the AddFromString position with it;
// the VB6 files host uses it to place member attributes back after their declarations.
#pragma once

#include <vector>

#include "framework/host_model.h"
#include "framework/vb_text.h"

namespace memhost {

using vb::Text;
using vb::TextView;

enum class DeclarationKind {
  Option,      // Option Explicit, Option Compare ...
  Implements,  // Implements IShape
  Variable,    // Dim/Public/Private/Global name (one declaration per name)
  Constant,    // Const name = ... (one declaration per name)
  Declare,     // Declare Function/Sub ... Lib
  Event,       // Event Name(...)
  Type,        // Type ... End Type
  Enum,        // Enum ... End Enum
  Sub,
  Function,
  PropertyGet,
  PropertyLet,
  PropertySet,
  Other,       // any other module-level statement (DefInt, #If, #Const, ...)
};

struct Declaration {
  DeclarationKind kind = DeclarationKind::Other;
  Text name;                         // empty for Option, Other; the interface for Implements
  int scope = host::vbext_Private;   // host::Scope, with the IDE's defaults applied
  bool withEvents = false;           // a WithEvents variable
  long firstLine = 0;                // first physical line of the statement (1-based)
  long lastLine = 0;                 // last physical line of the statement (continuations)
  long endLine = 0;                  // procedures, Type, Enum: the line of their End statement (0 when missing)
};

struct ModuleOutline {
  std::vector<Declaration> declarations;  // module level, in the order of the code
  long declarationLines = 0;              // last line of the declarations section (0 when none)
  long firstProcedureLine = 0;            // header line of the first procedure (0 when none)
};

// True when a physical line continues on the next one: it ends with a blank and "_".
bool ContinuesOnNextLine(TextView line);

// Scans code lines (without line breaks). Comments, blank lines, " _" continuations and
// statements joined with ":" are handled; procedure bodies are skipped.
ModuleOutline ScanModule(const std::vector<Text>& lines);

// A conditional-compilation directive line (#If ... Then, #ElseIf, #Else, #End If).
enum class Directive { None, If, ElseIf, Else, EndIf };
Directive DirectiveOf(TextView line);

// Where text that would go in before line `line` (1-based) goes instead so that it is compiled on
// every branch: before the outermost #If block still open at that line, or `line` itself when none
// is. Looks at lines 1 to line - 1 only.
template <class LineList>
long OutsideConditionalBlocks(const LineList& lines, long line) {
  long outermostOpen = 0;
  int depth = 0;
  bool continued = false;
  for (long i = 1; i < line; ++i) {
    const TextView text = lines[static_cast<std::size_t>(i - 1)];
    // A continued line is the rest of the statement above, never a directive of its own.
    const Directive directive = continued ? Directive::None : DirectiveOf(text);
    continued = ContinuesOnNextLine(text);
    if (directive == Directive::If && depth++ == 0) outermostOpen = i;
    if (directive == Directive::EndIf && depth > 0) --depth;
  }
  return depth > 0 ? outermostOpen : line;
}

// One member of a module as the IDE lists it.
struct MemberInfo {
  Text name;
  int type = host::vbext_mt_Method;  // host::MemberType
  int scope = host::vbext_Public;    // host::Scope
  long codeLocation = 0;
};

// One member per distinct name (letter case ignored) in the order of the first declaration:
// Sub/Function/Declare methods, properties (Get/Let/Set once), variables, events, constants.
std::vector<MemberInfo> MembersOf(const ModuleOutline& outline);

}  // namespace memhost
