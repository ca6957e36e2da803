// The store dialog: a name and a text (from the code window's selection, or empty when the admin
// dialog opened it), stored under that name, optionally offered in the retrieval menu.
#pragma once

#include "framework/host_model.h"
#include "framework/ui/form.h"

namespace pellmoss {

class Connect;

class frmAddCode : public ui::Form {
 public:
  frmAddCode();

  // True when the admin dialog opened it: the code box then starts empty.
  bool Admin = false;
  host::Ref<host::VBE> VBInstance;
  // The connection object: the name lists and the retrieval menu.
  pellmoss::Connect* Connect = nullptr;

  ui::Frame fraCodeInfo{*this, u"fraCodeInfo", u"&Code Info:"};
  ui::Label lblNewCode{*this, u"lblNewCode", u"New Code Segment Name:"};
  ui::TextBox txtSegName{*this, u"txtSegName"};
  ui::TextBox txtCode{*this, u"txtCode"};
  ui::CheckBox chkAddToMenu{*this, u"chkAddToMenu", u"Add Code &Segment to Menu?"};
  ui::CommandButton cmdAddSegment{*this, u"cmdAddSegment", u"&Add Segment"};
  ui::CommandButton cmdCancel{*this, u"cmdCancel", u"&Cancel"};

  void cmdAddSegment_Click();
  void cmdCancel_Click();

 protected:
  void Form_Activate() override;

 private:
  // The whole lines of the active pane's selection; empty when no code pane is active.
  vb::Text SelectedLines();
  void Refuse(vb::TextView prompt, vb::TextView title);
};

}  // namespace pellmoss
