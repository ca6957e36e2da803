// The function header dialog: finds the procedure at the caret on activation, asks for the
// author and a description, and writes the header block above the declaration.
#pragma once

#include "framework/host_model.h"
#include "framework/ui/form.h"

namespace comment {

class frmFunction final : public ui::Form {
 public:
  frmFunction();

  host::Ref<host::VBE> VBInstance;  // handed over before the dialog is shown

  ui::Label lblFuncName{*this, u"lblFuncName", u"Function Name:"};
  ui::TextBox txtFuncname{*this, u"txtFuncname"};
  ui::Label lblUsername{*this, u"lblUsername", u"Username:"};
  ui::TextBox txtUsername{*this, u"txtUsername"};
  ui::Frame Frame1{*this, u"Frame1", u"Description"};
  ui::TextBox txtDescr{*this, u"txtDescr"};
  ui::CommandButton cmdAdd{*this, u"cmdAdd", u"&Add"};
  ui::CommandButton cmdCancel{*this, u"cmdCancel", u"&Cancel"};

  void cmdAdd_Click();
  void cmdCancel_Click();

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(int& cancel) override;

 private:
  host::Ref<host::Member> member_;  // found on activation
  long declarationLine_ = 0;
};

}  // namespace comment
