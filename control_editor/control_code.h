// How the editor reaches a control's form code and the procedures that belong to a control:
// VBControl.Collection.Parent is the designer, its Parent the component, and that component's
// CodeModule the form's code.
#pragma once

#include <optional>
#include <vector>

#include "control_editor/rename_text.h"
#include "framework/host_model.h"

namespace ravlen {

using host::Ref;
using vb::Text;
using vb::TextView;

// The code module of the form that holds `control`, or Nothing for a designer without code.
Ref<host::CodeModule> FormCodeModule(const Ref<host::VBControl>& control);

// The control's current name (its Name property as text).
Text ControlName(const Ref<host::VBControl>& control);

// The control's Index, -1 when it is no element of a control array.
int ControlIndex(const Ref<host::VBControl>& control);

// The names of the controls on a designer (none for Nothing).
ControlNames NamesOnForm(const Ref<host::VBControls>& controls);

// True when a control on the control's designer, other than the control itself (an element of
// another Index), carries `name`: another element of the same control array, which keeps the
// array's shared event procedures alive.
bool AnotherElementCarries(const Ref<host::VBControl>& control, TextView name);

// What renaming a control in its form's code needs to know about the form of `module`.
RenameScope ScopeOfRename(host::CodeModule& module, const Text& oldName, const Text& newName);

// What kind of procedure a declaration line starts, or None when it starts none (a variable,
// a Declare statement, a comment).
enum class ProcedureKind { None, Sub, Function, Property };
ProcedureKind DeclarationKind(TextView line);

// The line that ends the procedure declared on `start`: `start` itself when its last statement is
// the End statement of its kind ("Sub A(): End Sub"), else the first line after it whose trimmed
// text begins with that End statement ("End Sub" ...). Nothing when another End
// statement or another procedure's declaration comes first, or the module ends.
std::optional<long> FindProcedureEnd(host::CodeModule& module, long start, ProcedureKind kind);

// The names of the members that belong to the control and can be removed as a whole (Sub,
// Function and Property procedures), in the module's member order. A member belongs to the
// control when its name begins with the control's name and "_" (case-sensitive, as the IDE names
// event procedures: Text1_Change) and no other control of `onForm` with a longer name owns it
// (cmd_Save_Click is cmd_Save's).
std::vector<Text> RemovableMembers(host::CodeModule& module, const Text& controlName, ControlNames onForm);

// The member of that exact name in the module's current Members, or Nothing.
Ref<host::Member> FindMember(host::CodeModule& module, TextView name);

// Deletes every procedure of the member named `name` (a property's Get, Let and Set blocks
// included), each from its declaration line to its End line. A member without an End line,
// or one that is no procedure, is left alone. Returns the number of procedures deleted.
int DeleteMemberProcedures(host::CodeModule& module, TextView name);

}  // namespace ravlen
