// The allocator's heap for commands that read whole projects.
#pragma once

namespace cli {

// Reading a project makes tens of megabytes of small allocations at once (every module's line
// table and decoded lines). From here on the heap grows in large steps backed by huge pages where
// the system offers them, so that this costs a few page faults rather than one per 4 KB. Only
// count and summary ask for it: a command that edits one module stays in small pages, whose
// memory follows its use more closely.
void GrowHeapForProjects();

}  // namespace cli
