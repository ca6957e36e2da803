#include "control_editor/frm_rename_code.h"

#include <vector>

#include "control_editor/control_code.h"
#include "framework/connect.h"
#include "framework/runtime.h"

namespace ravlen {

frmRenameCode::frmRenameCode() : ui::Form(u"frmRenameCode", u"Rename Code for Control") {
  // The fixed parts of the two captions live with the labels themselves.
  lblOldName.SetTag(u"Old Control Name : ");
  lblNewName.SetTag(u"New Control Name : ");
  cmdReplace.SetDefault(true);
  cmdCancel.SetCancel(true);
  cmdReplace.OnClick = [this] { cmdReplace_Click(); };
  cmdCancel.OnClick = [this] { cmdCancel_Click(); };
}

void frmRenameCode::Form_Activate() {
  lblOldName.SetCaption(lblOldName.tag() + OldName);
  lblNewName.SetCaption(lblNewName.tag() + NewName);
}

std::vector<LineChange> RenamedLines(host::CodeModule& module, const Text& oldName, const Text& newName) {
  std::vector<LineChange> changed;
  const long count = module.CountOfLines();
  if (count <= 0) return changed;
  const RenameScope scope = ScopeOfRename(module, oldName, newName);
  CodeRenamer renamer(scope);
  // The lines as one text, so that every line is read with a single call.
  std::vector<Text> lines = vb::Split(module.Lines(1, count), vb::kCrLf);
  lines.resize(static_cast<std::size_t>(count));
  for (long line = 1; line <= count; ++line) {
    Text& before = lines[static_cast<std::size_t>(line - 1)];
    Text after = renamer.Line(before);
    if (after != before) changed.push_back(LineChange{line, std::move(before), std::move(after)});
  }
  return changed;
}

void RenameInModule(host::CodeModule& module, const Text& oldName, const Text& newName) {
  // Line by line rather than emptying the module and adding the text back: the module is never
  // empty, its line count never changes, and hidden member attributes stay where they are.
  const std::vector<LineChange> changes = RenamedLines(module, oldName, newName);
  std::size_t written = 0;
  try {
    for (; written < changes.size(); ++written) module.ReplaceLine(changes[written].line, changes[written].after);
  } catch (...) {
    for (std::size_t i = written; i-- > 0;) {
      try {
        module.ReplaceLine(changes[i].line, changes[i].before);
      } catch (...) {
        // Put back what can be put back; the first failure is the one reported.
      }
    }
    throw;
  }
}

void frmRenameCode::cmdReplace_Click() {
  try {
    RenameInModule(*vb::Required(objCode), OldName, NewName);
  } catch (...) {
    // The code is as it was; the dialog stays open so the rename can be cancelled.
    vb::Error error = addin::AsVbError(std::current_exception());
    vb::MsgBox(u"The following error occurred : " + error.description);
    return;
  }
  cmdCancel_Click();
}

void frmRenameCode::cmdCancel_Click() {
  Hide();
  Unload();
}

}  // namespace ravlen
