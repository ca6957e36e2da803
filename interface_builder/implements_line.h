// Where the "Implements" statement of an interface goes in the implementing module.
#pragma once

#include "framework/host_model.h"

namespace morrowgate {

// Inserts an empty line and "Implements <interfaceName>" before the first line that does not
// begin with "Option"; a module that holds only Option lines (or nothing) gets them at its end.
void AddImplementsLine(host::CodeModule& module, vb::TextView interfaceName);

}  // namespace morrowgate
