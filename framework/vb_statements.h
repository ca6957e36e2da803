// How VB statements are read where the add-ins read code: where a statement ends, the items of
// a list, and the header of a procedure. Keywords are compared exactly, as the IDE writes them.
// Texts may hold a declaration continued over several lines (" _" and a line break).
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "framework/vb_text.h"

namespace vb {

// True when a line continues on the next one: it ends with a blank and "_" (or is only "_").
bool ContinuesOnNextLine(TextView line);

// Where the statement that starts at `from` (0-based) ends: at the first ":" that is no ":=",
// or the first "'", outside a string literal; the text's length when neither occurs.
std::size_t StatementEnd(TextView code, std::size_t from = 0);

// The ")" that closes the "(" at `open`, strings and nested parentheses skipped; npos when the
// text ends first.
std::size_t ClosingParenthesis(TextView code, std::size_t open);

// The items of a list split at the commas outside string literals and parentheses, as written
// (blanks kept). An empty or blank list gives no items.
std::vector<Text> SplitList(TextView list);

// VB's built-in types as VB writes them, the ones a declaration may name after "As" (Decimal
// lives only inside a Variant).
inline constexpr std::array<TextView, 11> kBuiltInTypes{u"Boolean", u"Byte",   u"Integer", u"Long",   u"Currency", u"Single",
                                                        u"Double",  u"Date",   u"String",  u"Object", u"Variant"};

// The type that a type character after a name gives it ("Name$" is a String): Integer for "%",
// Long "&", Single "!", Double "#", Currency "@", String "$"; Variant for any other character.
Text TypeOfCharacter(char16_t c);

enum class ProcedureKind { Sub, Function, PropertyGet, PropertyLet, PropertySet };

// "Sub", "Function" or "Property": the word of the End statement that closes the procedure.
TextView BlockKeyword(ProcedureKind kind);

struct ProcedureHeader {
  ProcedureKind kind = ProcedureKind::Sub;
  Text name;                   // without brackets and type character
  int scope = 2;               // host::Scope; Public when there is no scope word
  // The name as written, brackets included; a type character ("Name$") follows nameEnd.
  std::size_t nameStart = 0;
  std::size_t nameEnd = 0;
};

// Reads "[Public|Private|Friend] [Static] Sub|Function|Property Get|Let|Set name" at the start
// of a statement (leading blanks allowed); nullopt for any other statement (Declare, Event,
// variables, code).
std::optional<ProcedureHeader> ReadProcedureHeader(TextView statement);

// "Sub", "Function" or "Property" when the statement at the start of the text (leading blanks
// allowed) is "End Sub", "End Function" or "End Property"; empty for any other statement.
TextView ProcedureEnd(TextView statement);

// The line from its first statement on: without the blanks, the line number ("20  End Sub") or
// the line label ("Done: End Sub") before it.
TextView AfterLineLabel(TextView line);

// The statements of one line of code, from the start up to its comment: each statement's text
// as written, without the ":" that separates them.
std::vector<Text> StatementsOfLine(TextView code);

}  // namespace vb
