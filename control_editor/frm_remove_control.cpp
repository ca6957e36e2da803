#include "control_editor/frm_remove_control.h"

#include "control_editor/control_code.h"

namespace ravlen {

frmRemoveControl::frmRemoveControl() : ui::Form(u"frmRemoveControl", u"Remove Code for Control") {
  lblCtlName.SetTag(u"Control Name : ");
  cmdOK.SetDefault(true);
  cmdOK.OnClick = [this] { cmdOK_Click(); };
}

void frmRemoveControl::Form_Activate() {
  // Filled once per display: coming back to the dialog must not undo the person's unticking.
  if (opened_) return;
  opened_ = true;
  Text name = ControlName(objControl);
  lblCtlName.SetCaption(lblCtlName.tag() + name);
  Ref<host::CodeModule> module = FormCodeModule(objControl);
  if (!module) return;
  for (const Text& member : RemovableMembers(*module, name, NamesOnForm(objControl->Collection()))) {
    lstMembers.AddItem(member);
    lstMembers.SetSelected(lstMembers.newIndex(), true);
  }
}

void frmRemoveControl::Form_Unload(int& /*cancel*/) { opened_ = false; }

void frmRemoveControl::cmdOK_Click() {
  Ref<host::CodeModule> module = FormCodeModule(objControl);
  if (module) {
    for (int i = 0; i < lstMembers.listCount(); ++i) {
      // Looked up anew for every row: the deletions before it have moved the lines.
      if (lstMembers.Selected(i)) DeleteMemberProcedures(*module, lstMembers.List(i));
    }
  }
  Hide();
  Unload();
}

}  // namespace ravlen
