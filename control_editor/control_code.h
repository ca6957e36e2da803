// How the editor reaches a control's form code and the procedures that belong to a control:
// VBControl.Collection.Parent is the designer, its Parent the component, and that component's
// CodeModule the form's code.
#pragma once

#include <optional>
#include <vector>

#include "framework/host_model.h"

namespace ravlen {

using host::Ref;
using vb::Text;
using vb::TextView;

// The code module of the form that holds `control`, or Nothing for a designer without code.
Ref<host::CodeModule> FormCodeModule(const Ref<host::VBControl>& control);

// The control's current name (its Name property as text).
Text ControlName(const Ref<host::VBControl>& control);

// A member belongs to a control when its name begins with the control's name and "_"
// (case-sensitive), as the IDE names event procedures (Text1_Change).
bool BelongsToControl(TextView memberName, TextView controlName);

// What kind of procedure a declaration line starts, or None when it starts none (a variable,
// a Declare statement, a comment).
enum class ProcedureKind { None, Sub, Function, Property };
ProcedureKind DeclarationKind(TextView line);

// The line that ends the procedure declared on `start`: the first line after it whose trimmed
// text begins with the End statement of its kind ("End Sub" ...). Nothing when another End
// statement or another procedure's declaration comes first, or the module ends.
std::optional<long> FindProcedureEnd(host::CodeModule& module, long start, ProcedureKind kind);

// The names of the members that belong to the control and can be removed as a whole (Sub,
// Function and Property procedures), in the module's member order.
std::vector<Text> RemovableMembers(host::CodeModule& module, TextView controlName);

// The member of that exact name in the module's current Members, or Nothing.
Ref<host::Member> FindMember(host::CodeModule& module, TextView name);

// Deletes every procedure of the member named `name` (a property's Get, Let and Set blocks
// included), each from its declaration line to its End line. A member without an End line,
// or one that is no procedure, is left alone. Returns the number of procedures deleted.
int DeleteMemberProcedures(host::CodeModule& module, TextView name);

}  // namespace ravlen
