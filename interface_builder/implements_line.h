// The "Implements" statement of an interface in the implementing module.
#pragma once

#include "framework/host_model.h"

namespace morrowgate {

// Inserts an empty line and "Implements <interfaceName>" before the first line that does not
// begin with "Option"; a module that holds only Option lines (or nothing) gets them at its end.
void AddImplementsLine(host::CodeModule& module, vb::TextView interfaceName);

// True when the module implements the interface already: an "Implements" statement names it
// with its project ("Implements Project1.IShape") or without ("Implements IShape").
bool HasImplementsLine(host::CodeModule& module, vb::TextView project, vb::TextView className);

}  // namespace morrowgate
