#include "control_editor/frm_rename_code.h"

#include <vector>

#include "control_editor/rename_text.h"
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

void RenameInModule(host::CodeModule& module, const Text& oldName, const Text& newName) {
  const long count = module.CountOfLines();
  if (count <= 0) return;
  // The lines as one text, so that every line is read with a single call.
  std::vector<Text> lines = vb::Split(module.Lines(1, count), vb::kCrLf);
  lines.resize(static_cast<std::size_t>(count));

  // Line by line rather than emptying the module and adding the text back: the module is never
  // empty, its line count never changes, and hidden member attributes stay where they are.
  std::vector<long> changed;
  try {
    for (long line = 1; line <= count; ++line) {
      const Text& before = lines[static_cast<std::size_t>(line - 1)];
      Text after = ReplaceWholeName(before, oldName, newName);
      if (after == before) continue;
      module.ReplaceLine(line, after);
      changed.push_back(line);
    }
  } catch (...) {
    for (auto it = changed.rbegin(); it != changed.rend(); ++it) {
      try {
        module.ReplaceLine(*it, lines[static_cast<std::size_t>(*it - 1)]);
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
