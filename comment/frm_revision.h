// The revision dialog: finds the procedure at the caret on activation and adds a signed, dated
// entry directly above the "' END REVISIONS:" line of its header.
#pragma once

#include "framework/host_model.h"
#include "framework/ui/form.h"

namespace comment {

class frmRevision final : public ui::Form {
 public:
  frmRevision();

  host::Ref<host::VBE> VBInstance;  // handed over before the dialog is shown

  ui::Frame Frame1{*this, u"Frame1", u"Method Information"};
  ui::Label lblMethodName{*this, u"lblMethodName", u"Method Name:"};
  ui::Label lblMethodNameText{*this, u"lblMethodNameText"};
  ui::Label lblUserName{*this, u"lblUserName", u"&User Name:"};
  ui::TextBox txtUsername{*this, u"txtUsername"};
  ui::Label lblRevText{*this, u"lblRevText", u"&Revision Text:"};
  ui::TextBox txtRevision{*this, u"txtRevision"};
  ui::CommandButton cmdAdd{*this, u"cmdAdd", u"&Add"};
  ui::CommandButton cmdCancel{*this, u"cmdCancel", u"&Cancel"};

  void cmdAdd_Click();
  void cmdCancel_Click();

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(int& cancel) override;

 private:
  // The line of "' END REVISIONS:" in the header above the declaration, or 0 without a header.
  long FindEndMarker(host::CodeModule& module) const;

  host::Ref<host::Member> member_;  // found on activation
  long declarationLine_ = 0;
};

}  // namespace comment
