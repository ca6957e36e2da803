// The question asked about a public variable of an interface whose type is not a built-in name:
// is the property written through a Let procedure, a Set procedure or both? One instance lives
// as long as the add-in; OK only hides it, so the last answer is offered again next time.
#pragma once

#include <array>
#include <cstdint>

#include "framework/ui/form.h"

namespace morrowgate {

class frmPropertyDetermine : public ui::Form {
 public:
  frmPropertyDetermine();

  ui::Label Label1{*this, u"Label1",
                   u"The following data type is unknown and the correct property assignment method cannot be "
                   u"determined.  Please select the correct property assignment implementation to use:"};
  ui::Label lblVarType{*this, u"lblVarType", u"Unknown Data Type: "};
  ui::Frame Frame1{*this, u"Frame1", u"Select Correct Property Assignment"};
  // The control array optProperty, indexes 1 to 3 (element 0 is index 1).
  std::array<ui::OptionButton, 3> optProperty{{
      {*this, u"optProperty", u"Property &Let", true, 1},
      {*this, u"optProperty", u"Property &Set", false, 2},
      {*this, u"optProperty", u"&Property Let/Set", false, 3},
  }};
  ui::CommandButton cmdOK{*this, u"cmdOK", u"&Ok"};

  // The type name shown to the developer.
  void SetVarType(vb::TextView value) { varType_ = vb::Text(value); }
  const vb::Text& VarType() const { return varType_; }
  // The chosen write procedures: 1 Let, 2 Set, 3 both. Starts with the option that is
  // selected when the dialog first shows (Let).
  std::int16_t PropertyType() const { return propertyType_; }

  // Sets VarType, shows the dialog modally and returns the answer.
  std::int16_t Ask(vb::TextView varType);

  ui::OptionButton& optPropertyItem(int index) { return optProperty.at(static_cast<std::size_t>(index - 1)); }

  void optProperty_Click(int Index);
  void cmdOK_Click();

 protected:
  void Form_Activate() override;

 private:
  vb::Text varType_;
  std::int16_t propertyType_ = 1;
};

}  // namespace morrowgate
