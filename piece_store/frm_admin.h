// The admin dialog: lists every stored piece, shows and edits its text, deletes it and sets
// whether it is offered in the retrieval menu. Every handler skips a step that fails and goes on,
// except a settings write that fails, which ends the handler with the failure report.
#pragma once

#include <memory>

#include "framework/host_model.h"
#include "framework/ui/form.h"

namespace pellmoss {

class Connect;
class frmAddCode;

class frmAdmin : public ui::Form {
 public:
  frmAdmin();
  ~frmAdmin() override;

  host::Ref<host::VBE> VBInstance;
  pellmoss::Connect* Connect = nullptr;

  ui::Frame fraCode{*this, u"fraCode", u"Code Segments :"};
  ui::ListBox lstCodeItems{*this, u"lstCodeItems", true};
  ui::TextBox txtCode{*this, u"txtCode"};
  ui::CheckBox chkMenu{*this, u"chkMenu", u"D&isplay in Menu?"};
  ui::CommandButton cmdAdd{*this, u"cmdAdd", u"&Add"};
  ui::CommandButton cmdEdit{*this, u"cmdEdit", u"&Edit"};
  ui::CommandButton cmdDelete{*this, u"cmdDelete", u"&Delete"};
  ui::CommandButton cmdClose{*this, u"cmdClose", u"&Close"};

  // Lists the names of every piece and selects the first in sorted order.
  void FillCodeList();

  void lstCodeItems_Click();
  void chkMenu_Click();
  void cmdAdd_Click();
  void cmdEdit_Click();
  void cmdDelete_Click();
  void cmdClose_Click();

 protected:
  void Form_Activate() override;

 private:
  // Sets chkMenu by code without taking it for the user's click.
  void ShowMenuFlag(int value);
  // The selected name, or false when no row is selected.
  bool SelectedName(vb::Text& name) const;

  bool showingMenuFlag_ = false;
  // The admin dialog's own store dialog, opened with Admin set.
  std::unique_ptr<frmAddCode> mfrmAddCode_;
};

}  // namespace pellmoss
