// The example project (examples/Inventory, copied beside the test programs) in the in-memory IDE,
// so that dialogs show what they show on a real project: each module's code as the code window
// shows it (the file's header, its designer block and every Attribute line left out; the files are
// Windows-1252), and the form's controls. The files host does this fully on the command line; the
// Windows build reads the few files of the example itself.
#pragma once

#include <memory>

#include "hosts/memory/memory_host.h"

namespace wintest {

// The project with `activeModule`'s pane active and the caret on the first line that holds
// `caretLine` (at its first column); throws std::runtime_error naming a file it cannot read.
std::shared_ptr<memhost::MemoryVBE> ExampleProject(vb::TextView activeModule, vb::TextView caretLine);

}  // namespace wintest
