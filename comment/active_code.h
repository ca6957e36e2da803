// The active code pane and its module, as the commands reach them through VBInstance. The IDE
// answers Nothing when no code window is active; using Nothing is error 91, as in VB.
#pragma once

#include "framework/host_model.h"

namespace comment {

using host::Ref;

// VBInstance.ActiveCodePane; error 91 when there is none.
Ref<host::CodePane> ActivePane(const Ref<host::VBE>& vbe);
// VBInstance.ActiveCodePane.CodeModule; error 91 when either is Nothing.
Ref<host::CodeModule> ActiveCodeModule(const Ref<host::VBE>& vbe);

}  // namespace comment
