// The property dialog: a name, a type (the fixed types and the project's class modules), a scope
// and the assignment form; OK hands the member variable and both property procedures to the
// module of the code pane that is active at that moment.
#pragma once

#include "framework/host_model.h"
#include "framework/ui/form.h"

namespace quenby {

// The IDE root object, shared by the whole add-in: Connect sets it, the dialog reads it.
extern host::Ref<host::VBE> VBInstance;

// The types every property can have, before the project's class modules.
inline constexpr const char16_t* kFixedTypes[] = {u"Byte",    u"Boolean", u"Date",   u"Decimal",
                                                   u"Double",  u"Float",   u"Integer", u"Long",
                                                   u"Object",  u"String",  u"Time",   u"Variant"};

class frmAddIn : public ui::Form {
 public:
  frmAddIn();

  ui::Label Label1{*this, u"Label1", u"Property Name:"};
  ui::TextBox txtPropName{*this, u"txtPropName"};
  ui::Label Label2{*this, u"Label2", u"Property Type:"};
  ui::ComboBox cmbType{*this, u"cmbType", ui::ComboBox::DropdownCombo};
  ui::Frame Frame1{*this, u"Frame1", u"Property Settings"};
  ui::OptionButton optPublic{*this, u"optPublic", u"&Public Read/Write", true};
  ui::OptionButton optPrivate{*this, u"optPrivate", u"P&rivate Read/Write"};
  ui::OptionButton optFriend{*this, u"optFriend", u"&Friend Read/Write"};
  ui::OptionButton optPublicRead{*this, u"optPublicRead", u"P&ublic Read/Private Write"};
  ui::CheckBox chkUseSet{*this, u"chkUseSet", u"Use &Set in Property Write"};
  ui::CommandButton OKButton{*this, u"OKButton", u"OK"};
  ui::CommandButton CancelButton{*this, u"CancelButton", u"Cancel"};

  void OKButton_Click();
  void CancelButton_Click();

 protected:
  void Form_Load() override;

 private:
  void WriteProperty(host::CodeModule& module);
};

}  // namespace quenby
