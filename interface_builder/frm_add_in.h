// The interface dialog (modeless): the developer picks the implementing component and ticks the
// interface classes; OK writes each interface's Implements line and its procedures.
#pragma once

#include <vector>

#include "framework/host_model.h"
#include "framework/ui/form.h"

namespace morrowgate {

class Connect;

class frmAddIn : public ui::Form {
 public:
  frmAddIn();

  ui::Label Label1{*this, u"Label1", u"Select Component to Add Interface(s) to:"};
  ui::ComboBox cboClasses{*this, u"cboClasses", ui::ComboBox::DropdownCombo, false};
  ui::Label Label2{*this, u"Label2", u"Select Interfaces to Implement:"};
  ui::ListBox lstClasses{*this, u"lstClasses", true, ui::ListBox::Checkbox};
  ui::CommandButton cmdOK{*this, u"cmdOK", u"&Ok"};

  host::Ref<host::VBE> VBInstance;
  morrowgate::Connect* Connect = nullptr;

  // What the last OK found done already: each ticked interface that the module implemented
  // before (it keeps its one Implements line), and whether procedures missing from it were added.
  struct AlreadyImplemented {
    vb::Text interfaceEntry;  // "Project.Class" as in the list
    bool addedMissing = false;
  };
  std::vector<AlreadyImplemented> alreadyImplemented;

  void cmdOK_Click();

 protected:
  void Form_Activate() override;

 private:
  void FillLists();
  void PreselectImplementingClass();
  // The row of cboClasses whose text is exactly the combo's text, -1 when none.
  int ChosenRow() const;
  void AddInterfaces();
};

}  // namespace morrowgate
