#include "control_editor/frm_rename_code.h"

#include <algorithm>
#include <functional>
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

namespace {

// Reads the module into `code` with a single call and gives `changed` each line that the rename
// changes, in order: its number, its text (a view into `code`) and its renamed text; `changed`
// returns false to end the walk.
void ForEachRenamedLine(host::CodeModule& module, const Text& oldName, const Text& newName, Text& code,
                        const std::function<bool(long line, vb::TextView before, const Text& after)>& changed) {
  const long count = module.CountOfLines();
  if (count <= 0) return;
  const RenameScope scope = ScopeOfRename(module, oldName, newName);
  CodeRenamer renamer(scope);
  code = module.Lines(1, count);
  const vb::TextView text = code;
  std::size_t start = 0;
  for (long line = 1; line <= count; ++line) {
    // The lines as views into the one text: a module's worth of copies would double its memory.
    vb::TextView before;
    if (start <= text.size()) {
      const std::size_t end = std::min(text.find(vb::kCrLf, start), text.size());
      before = text.substr(start, end - start);
      start = end + TextView(vb::kCrLf).size();
    }
    const Text after = renamer.Line(before);
    if (after != before && !changed(line, before, after)) return;
  }
}

}  // namespace

bool RenameChangesCode(host::CodeModule& module, const Text& oldName, const Text& newName) {
  bool any = false;
  Text code;
  ForEachRenamedLine(module, oldName, newName, code, [&](long, vb::TextView, const Text&) { return !(any = true); });
  return any;
}

void RenameInModule(host::CodeModule& module, const Text& oldName, const Text& newName) {
  // Line by line rather than emptying the module and adding the text back: the module is never
  // empty, its line count never changes, and hidden member attributes stay where they are. Each
  // line is written as soon as it is renamed; what was written is put back when a write fails.
  struct Written {
    long line;
    vb::TextView before;  // into `code`
  };
  Text code;
  std::vector<Written> written;
  try {
    ForEachRenamedLine(module, oldName, newName, code, [&](long line, vb::TextView before, const Text& after) {
      module.ReplaceLine(line, after);
      written.push_back(Written{line, before});
      return true;
    });
  } catch (...) {
    for (std::size_t i = written.size(); i-- > 0;) {
      try {
        module.ReplaceLine(written[i].line, written[i].before);
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
