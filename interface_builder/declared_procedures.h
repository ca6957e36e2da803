// The procedures a code module declares, read from its lines: what the interface implementer
// writes stubs for, and what an implementing module already has.
#pragma once

#include <functional>
#include <vector>

#include "framework/conditional_compilation.h"
#include "framework/host_model.h"
#include "framework/vb_statements.h"

namespace morrowgate {

struct DeclaredProcedure {
  vb::ProcedureKind kind;
  vb::Text name;
  vb::BranchConditions conditions;  // of the #If branch it is declared in
};

// The Sub, Function and Property procedures a module declares, found by name: a class that
// implements an interface of thousands of members has thousands of procedures to look through.
class DeclaredProcedures {
 public:
  explicit DeclaredProcedures(host::CodeModule& module);

  // True when a new procedure of `kind` named `name`, under `conditions`, would clash with one
  // of them in some configuration: any Sub or Function of that name, or the same procedure (Get,
  // Let or Set) of a property, unless the two stand in different branches of one #If block.
  bool Declares(vb::ProcedureKind kind, vb::TextView name, const vb::BranchConditions& conditions) const;

 private:
  std::vector<std::pair<std::size_t, DeclaredProcedure>> byHash_;  // by the hash of the name
};

// Each line of the module in order, read a block of lines per host call: few calls on a long
// module, and no copy of all of it at once.
void ForEachLine(host::CodeModule& module, const std::function<void(vb::TextView line)>& visit);

// Each statement line of the module in order, with the lines it continues onto (" _") joined by
// CR LF, and its first line; `branches` has read the statement when it is visited.
using StatementVisitor = std::function<void(vb::TextView statement, long line)>;
void ForEachStatement(host::CodeModule& module, vb::ConditionalBranches& branches, const StatementVisitor& visit);

// The declaration at `line` with the lines it continues onto, joined by CR LF.
vb::Text DeclarationAt(host::CodeModule& module, long line);
// A statement continued over lines (" _" and CR LF) as one line: a list continued over lines
// names its variables all the same.
vb::Text JoinedLines(vb::TextView statement);


}  // namespace morrowgate
