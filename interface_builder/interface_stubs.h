// The text of the procedures that implement one member of an interface class. Pure text
// functions; the builder reads the declarations and decides which of them to call.
#pragma once

#include <optional>
#include <vector>

#include "framework/vb_statements.h"
#include "framework/vb_text.h"

namespace morrowgate {

using vb::ProcedureKind;
using vb::Text;
using vb::TextView;

// Write procedures of a property, as a bit set.
inline constexpr int kLetProcedure = 1;
inline constexpr int kSetProcedure = 2;

// The type text of variable `name` in its declaration line, continuations joined ("Public A As
// Long, B As String" gives Long for A and String for B): what follows " As " in the variable's
// own item, without a comment, a next statement or "New"; a type character gives its type; with
// neither, "Variant".
Text VariableType(TextView declaration, TextView name);

// The type of variable `name` when the declaration line declares it a public variable ("Public"
// or "Global"), as VariableType reads it; nullopt otherwise.
std::optional<Text> PublicVariableType(TextView declaration, TextView name);
// The names of the public variables the declaration line declares, brackets and type characters
// left out.
std::vector<Text> PublicVariableNames(TextView declaration);

// The write procedures for a built-in type name (exact, case-sensitive), or nullopt for a
// type that the developer has to be asked about.
std::optional<int> KnownWriteProcedures(TextView type);

// One property procedure (Get, Let or Set) for variable N of interface I with type T. The value
// parameter is passed without "byval" for a Variant only.
Text VariableStub(TextView interfaceName, TextView memberName, TextView type, ProcedureKind kind);

// The stub of a procedure of the interface declared by `declaration` (continuation lines
// included): its header repeats the declaration after the name up to the end of the statement,
// so a one-line procedure's ": End Sub" and a trailing comment stay out.
Text ProcedureStub(TextView interfaceName, TextView memberName, const vb::ProcedureHeader& header,
                   TextView declaration);

}  // namespace morrowgate
