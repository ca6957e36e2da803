// Between a designer tree read from a file and the in-memory form: loading the controls with
// their properties, and writing back only what the designer changed since (a renamed control's
// Begin line, changed property lines, a removed control's block, a new control's block at the end
// of its container). Lines of properties the in-memory designer does not know stay as written.
#pragma once

#include <filesystem>
#include <memory>

#include "hosts/files/designer_block.h"
#include "hosts/memory/memory_host.h"

namespace files {

// Places a control in `form` ("Project.Component") for each control block of the tree (parsed
// from `bytes`) and binds the blocks to them; raises vb::Error when the in-memory designer refuses
// a control.
void LoadDesignerControls(memhost::MemoryVBE& vbe, TextView form, DesignerNode& root, const memhost::SharedBytes& bytes);

// Writes the designer's changes since load (or the last save) into the tree: the blocks of the
// controls written to, deleted or new. The tree is first put back as loaded or last saved, so
// that every rendering writes the same changes once. A new line takes the line end of the line
// before it (`eolBefore` is the end of the line before the block). SaveError naming `file` when a
// value cannot be written in a designer block (a text holding a line break belongs in the .frx
// file).
void ApplyDesignerChanges(memhost::MemoryVBE& vbe, TextView form, DesignerNode& root, const std::string& eolBefore,
                          const std::filesystem::path& file);

// After the file was saved with them: the tree as it is now, and the controls as they are, are
// what later changes are found against.
void DesignerSaved(memhost::MemoryVBE& vbe, DesignerNode& root);

}  // namespace files
