// The retrieval dialog: picks one stored piece by name and inserts it at the code window's
// selection.
#pragma once

#include "framework/host_model.h"
#include "framework/ui/form.h"

namespace pellmoss {

class Connect;

class frmRetrieveCode : public ui::Form {
 public:
  frmRetrieveCode();

  host::Ref<host::VBE> VBInstance;
  pellmoss::Connect* Connect = nullptr;

  ui::Frame fraSelectCode{*this, u"fraSelectCode", u"Select Code to Insert:"};
  ui::Label lblCode{*this, u"lblCode", u"Code Items :"};
  ui::ComboBox cboCodeItems{*this, u"cboCodeItems", ui::ComboBox::DropdownList, true};
  ui::CommandButton cmdOk{*this, u"cmdOk", u"&Ok"};
  ui::CommandButton cmdCancel{*this, u"cmdCancel", u"&Cancel"};

  void cmdOk_Click();
  void cmdCancel_Click();

 protected:
  void Form_Activate() override;
};

}  // namespace pellmoss
