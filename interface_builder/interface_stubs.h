// The text of the procedures that implement one member of an interface class. Pure text
// functions; the builder reads the declarations and decides which of them to call.
#pragma once

#include <optional>

#include "framework/vb_text.h"

namespace morrowgate {

using vb::Text;
using vb::TextView;

// Write procedures of a property, as a bit set.
inline constexpr int kLetProcedure = 1;
inline constexpr int kSetProcedure = 2;

// The type text of a variable declaration: everything after the first " As " with the blanks
// around it removed (a trailing comment stays), or "Variant" when there is no " As ".
Text VariableType(TextView declaration);

// The write procedures for a built-in type name (exact, case-sensitive), or nullopt for a
// type that the developer has to be asked about.
std::optional<int> KnownWriteProcedures(TextView type);

// Get, then Let and/or Set as `writeProcedures` says, for variable N of interface I with type T.
// The value parameter is passed without "byval" for a Variant only.
Text PropertyStubs(TextView interfaceName, TextView memberName, TextView type, int writeProcedures);

// A method declaration split around the member's name: the keyword ("Sub" or "Function") and
// everything after the name (arguments, return type, continuation lines with their breaks).
struct MethodHeader {
  Text keyword;
  Text rest;
  bool operator==(const MethodHeader&) const = default;
};
// The name is located as the word that follows the Sub or Function keyword, so a name that
// also occurs earlier in the line ('Public Sub Pub()') is found at the right place.
MethodHeader SplitMethodDeclaration(TextView declaration, TextView memberName);

Text MethodStub(TextView interfaceName, TextView memberName, const MethodHeader& header);

}  // namespace morrowgate
