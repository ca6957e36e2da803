// Builds the procedures that implement an interface class: a stub for every public method and
// property procedure and property procedures for every public variable of the class, as one text
// to add to the implementing module. Stateless apart from the way it asks about unknown types.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/conditional_compilation.h"
#include "framework/host_model.h"
#include "framework/vb_statements.h"

namespace morrowgate {

class BuildInterface {
 public:
  // Asked for a variable whose type is not a built-in name (the type text is handed over);
  // answers the write procedures as a bit set: 1 Let, 2 Set, 3 both.
  using AskPropertyType = std::function<std::int16_t(const vb::Text& varType)>;
  // Whether the implementing module has a procedure of that kind and name already that would be
  // compiled together with a stub under these #If conditions; the stub is then left out (nothing
  // is asked about a variable that has its write procedure already).
  using AlreadyThere =
      std::function<bool(vb::ProcedureKind kind, vb::TextView name, const vb::BranchConditions& conditions)>;

  explicit BuildInterface(AskPropertyType ask);

  // The text for interface `ClassName` of project `ProjName`; empty when the class has no
  // public member or every stub is there already. Host failures (unknown project or class) pass
  // to the caller.
  vb::Text operator()(const host::Ref<host::VBE>& VBInst, vb::TextView ProjName, vb::TextView ClassName,
                      const AlreadyThere& alreadyThere = {}) const;

 private:
  AskPropertyType ask_;
};

}  // namespace morrowgate
