// The procedures a code module declares, read from its lines: what the interface implementer
// writes stubs for, and what an implementing module already has.
#pragma once

#include <vector>

#include "framework/host_model.h"
#include "framework/vb_statements.h"

namespace morrowgate {

struct DeclaredProcedure {
  vb::ProcedureHeader header;
  vb::Text declaration;  // with the lines it continues onto (" _"), joined by CR LF
};

// Every Sub, Function and Property procedure of the module, in the order of the code.
std::vector<DeclaredProcedure> DeclaredProcedures(host::CodeModule& module);

// True when a new procedure of `kind` named `name` would clash with one of `procedures`: any
// Sub or Function of that name, or the same procedure (Get, Let or Set) of a property.
bool Declares(const std::vector<DeclaredProcedure>& procedures, vb::ProcedureKind kind, vb::TextView name);

// The declaration at `line` with the lines it continues onto, joined by CR LF.
vb::Text DeclarationAt(host::CodeModule& module, long line);

// A procedure as a key of a set or map: its kind and its name in upper case (names ignore letter
// case), so that looking one up costs the same in a module of any size.
vb::Text ProcedureKey(vb::ProcedureKind kind, vb::TextView name);

}  // namespace morrowgate
