// frmRenameCode: offered when a control got a new name and its form's code mentions the old
// one; "&Replace" renames the control throughout the form's code module.
#pragma once

#include "framework/host_model.h"
#include "framework/ui/form.h"

namespace ravlen {

using host::Ref;
using vb::Text;

class frmRenameCode : public ui::Form {
 public:
  frmRenameCode();

  // Set in this order before the dialog is shown.
  Ref<host::CodeModule> objCode;
  Text OldName;
  Text NewName;

  ui::Label Label1{*this, u"Label1",
                   u"You have just changed the name of a control.  Do you want to change all references in the code "
                   u"for the current Form/Control to reflect the new name for the control?"};
  ui::Label lblOldName{*this, u"lblOldName"};
  ui::Label lblNewName{*this, u"lblNewName"};
  ui::CommandButton cmdReplace{*this, u"cmdReplace", u"&Replace"};
  ui::CommandButton cmdCancel{*this, u"cmdCancel", u"&Cancel"};

  void cmdReplace_Click();
  void cmdCancel_Click();

 protected:
  void Form_Activate() override;
};

// Whether renaming the control `oldName` to `newName` would change a line of the module.
bool RenameChangesCode(host::CodeModule& module, const Text& oldName, const Text& newName);

// Renames the control in the module, changing only the lines that refer to it. If a line cannot
// be written, the lines already changed are put back before the error is raised again, so the
// module is never left half renamed.
void RenameInModule(host::CodeModule& module, const Text& oldName, const Text& newName);

}  // namespace ravlen
