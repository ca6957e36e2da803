// The procedures a code module declares, read from its lines: what the interface implementer
// writes stubs for, and what an implementing module already has.
#pragma once

#include <functional>
#include <vector>

#include "framework/host_model.h"
#include "framework/vb_statements.h"

namespace morrowgate {

struct DeclaredProcedure {
  vb::ProcedureKind kind;
  vb::Text name;
};

// Each line of the module in order, read a block of lines per host call: few calls on a long
// module, and no copy of all of it at once.
void ForEachLine(host::CodeModule& module, const std::function<void(vb::TextView line)>& visit);

// Each Sub, Function and Property procedure of the module, in the order of the code: its header,
// its declaration with the lines it continues onto (" _") joined by CR LF, and its first line.
using ProcedureVisitor = std::function<void(const vb::ProcedureHeader& header, vb::TextView declaration, long line)>;
void ForEachProcedure(host::CodeModule& module, const ProcedureVisitor& visit);

// Every Sub, Function and Property procedure of the module, in the order of the code.
std::vector<DeclaredProcedure> DeclaredProcedures(host::CodeModule& module);

// True when a new procedure of `kind` named `name` would clash with one of `procedures`: any
// Sub or Function of that name, or the same procedure (Get, Let or Set) of a property.
bool Declares(const std::vector<DeclaredProcedure>& procedures, vb::ProcedureKind kind, vb::TextView name);

// The declaration at `line` with the lines it continues onto, joined by CR LF.
vb::Text DeclarationAt(host::CodeModule& module, long line);


}  // namespace morrowgate
