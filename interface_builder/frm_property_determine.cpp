#include "interface_builder/frm_property_determine.h"

namespace morrowgate {

frmPropertyDetermine::frmPropertyDetermine() : ui::Form(u"frmPropertyDetermine", u"Determine Property Type") {
  lblVarType.SetTag(lblVarType.caption());
  for (ui::OptionButton& option : optProperty) {
    option.SetContainer(&Frame1);
    int index = option.index();
    option.OnClick = [this, index] { optProperty_Click(index); };
  }
  cmdOK.SetDefault(true);
  cmdOK.OnClick = [this] { cmdOK_Click(); };
}

std::int16_t frmPropertyDetermine::Ask(vb::TextView varType) {
  SetVarType(varType);
  Show(ui::vbModal);
  return PropertyType();
}

void frmPropertyDetermine::Form_Activate() { lblVarType.SetCaption(lblVarType.tag() + varType_); }

void frmPropertyDetermine::optProperty_Click(int Index) { propertyType_ = static_cast<std::int16_t>(Index); }

void frmPropertyDetermine::cmdOK_Click() { Hide(); }

}  // namespace morrowgate
