// The one VB declaration scanner: reads a module's code lines and finds its module-level
// declarations, where the declarations section ends and where the procedures begin. The in-memory
// code module computes Members, CountOfDeclarationLines and the AddFromString position with it
// (keeping the outline up to date across edits by rescanning only what an edit touched); the VB6
// files host uses it to place member attributes back after their declarations.
//
// One pass over the characters: a line is read once whatever its length, continued lines are
// joined without copying what was joined before, and procedure bodies are only searched for
// their End statement.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/conditional_compilation.h"
#include "framework/host_model.h"
#include "framework/vb_statements.h"
#include "framework/vb_text.h"

namespace memhost {

using vb::Text;
using vb::TextView;

class LineStore;

// Line `index` (0-based) of a list of lines, a store's widened into `scratch` when it keeps it as
// bytes.
inline TextView LineAt(const std::vector<Text>& lines, std::size_t index, Text& /*scratch*/) { return lines[index]; }
inline TextView LineAt(const LineStore& lines, std::size_t index, Text& scratch);  // in line_store.h

enum class DeclarationKind : std::uint8_t {
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

// Kept small (28 bytes): a module may hold a hundred thousand declarations, and the outline holds
// each. Its name lies in the outline's names: a string of its own would take more than the rest of
// it.
struct Declaration {
  std::uint32_t nameAt = 0;          // where the name starts in its DeclaredNames text
  std::int32_t firstLine = 0;        // first physical line of the statement (1-based)
  std::int32_t lastLine = 0;         // last physical line of the statement (continuations)
  std::int32_t endLine = 0;          // procedures, Type, Enum: the line of their End statement (0 when missing)
  std::int32_t markLine = 0;         // the last line it adds to a declarations section (0 for procedures)
  std::uint32_t nameHash = 0;        // vb::HashNoCase(name), cut to 32 bits
  std::uint32_t nameLength : 24 = 0;  // 0 for Option and Other; the interface's name for Implements
  DeclarationKind kind : 4 = DeclarationKind::Other;
  std::uint32_t scope : 2 = host::vbext_Private;  // host::Scope, with the IDE's defaults applied
  bool withEvents : 1 = false;       // a WithEvents variable
  bool wideName : 1 = false;         // the name has a character above U+00FF
};
// The longest name a declaration holds (a VB name has at most 255 characters; a longer one comes
// only from a damaged file).
inline constexpr std::size_t kLongestDeclaredName = (std::size_t{1} << 24) - 1;

// The names of a module's declarations, one after the other: a byte per character, as nearly
// every VB name can be kept (the character of the same number, U+0000 to U+00FF), and 16-bit
// units for the others.
class DeclaredNames {
 public:
  // Adds `name` and says in `d` where it lies.
  void Add(TextView name, Declaration& d);
  // The name of `d`, widened into `scratch` when it is kept as bytes: the view then lasts until
  // `scratch` changes.
  TextView Of(const Declaration& d, Text& scratch) const;
  Text Of(const Declaration& d) const;
  std::size_t size() const { return bytes_.size() + wide_.size(); }
  void shrink_to_fit() {
    bytes_.shrink_to_fit();
    wide_.shrink_to_fit();
  }

 private:
  std::string bytes_;
  Text wide_;
};

struct ModuleOutline {
  std::vector<Declaration> declarations;  // module level, in the order of the code
  DeclaredNames names;
  long declarationLines = 0;              // last line of the declarations section (0 when none)
  long firstProcedureLine = 0;            // header line of the first procedure (0 when none)

  TextView Name(const Declaration& d, Text& scratch) const { return names.Of(d, scratch); }
  Text Name(const Declaration& d) const { return names.Of(d); }
  // The names again without those of declarations that are gone, once they take as much room as
  // the names still used.
  void DropUnusedNames();
};

// Scans code lines (without line breaks). Comments, blank lines, " _" continuations and
// statements joined with ":" are handled; procedure bodies are skipped.
ModuleOutline ScanModule(const std::vector<Text>& lines);
ModuleOutline ScanModule(const LineStore& lines);

// The part of a scan that an edit needs redone: from line `from` (1-based; a line that starts a
// statement outside any procedure, Type or Enum block) on, appending to `out`, until the first
// line at or after `stopFrom` that starts a statement outside any block and that `canStop`
// accepts; their names are added to `names`. Returns that line, or the line after the last when
// the scan ran to the end.
long ScanFrom(const LineStore& lines, long from, long stopFrom, const std::function<bool(long line)>& canStop,
              std::vector<Declaration>& out, DeclaredNames& names);
// Sets the first procedure line and the end of the declarations section from the declarations.
void SummarizeOutline(ModuleOutline& outline);

bool IsProcedure(DeclarationKind kind);
bool IsBlock(DeclarationKind kind);  // procedures, Type and Enum: they run to an End statement

using vb::Directive;
using vb::DirectiveOf;

// Where text that would go in before line `line` (1-based) goes instead so that it is compiled on
// every branch: before the outermost #If block still open at that line, or `line` itself when none
// is. Looks at lines 1 to line - 1 only.
template <class LineList>
long OutsideConditionalBlocks(const LineList& lines, long line) {
  long outermostOpen = 0;
  int depth = 0;
  bool continued = false;
  Text scratch;
  for (long i = 1; i < line; ++i) {
    const TextView text = LineAt(lines, static_cast<std::size_t>(i - 1), scratch);
    // A continued line is the rest of the statement above, never a directive of its own.
    const Directive directive = continued ? Directive::None : DirectiveOf(text);
    continued = vb::ContinuesOnNextLine(text);
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

// The member type a declaration gives its name (host::MemberType), 0 when it declares no member.
int MemberTypeOf(DeclarationKind kind);
MemberInfo MemberOf(const ModuleOutline& outline, const Declaration& declaration);

// The declarations that are the module's members, one per distinct name (letter case ignored) in
// the order of the first declaration: Sub/Function/Declare methods, properties (Get/Let/Set
// once), variables, events, constants.
void MemberDeclarations(const ModuleOutline& outline, std::vector<std::uint32_t>& members);

}  // namespace memhost
