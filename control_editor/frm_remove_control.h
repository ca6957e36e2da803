// frmRemoveControl: offered when a control is deleted and its form's code still holds its
// procedures; lists them, each ticked, and "&Ok" deletes the ticked ones.
#pragma once

#include "framework/host_model.h"
#include "framework/ui/form.h"

namespace ravlen {

using host::Ref;

class frmRemoveControl : public ui::Form {
 public:
  frmRemoveControl();

  // The control being deleted (its properties can still be read); set before the dialog shows.
  Ref<host::VBControl> objControl;

  ui::Label Label1{*this, u"Label1",
                   u"The following methods are declared for the control that was just deleted.  Select the methods "
                   u"that you would like to remove from the code listing."};
  ui::Label lblCtlName{*this, u"lblCtlName"};
  ui::ListBox lstMembers{*this, u"lstMembers", false, ui::ListBox::Checkbox};
  ui::CommandButton cmdOK{*this, u"cmdOK", u"&Ok"};

  void cmdOK_Click();

 protected:
  void Form_Activate() override;
  void Form_Unload(int& cancel) override;

 private:
  bool opened_ = false;
};

}  // namespace ravlen
