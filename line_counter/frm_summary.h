// A window with the project summary of the active project, computed once when it loads.
#pragma once

#include "framework/host_model.h"
#include "framework/ui/form.h"

namespace tallowick {

class frmSummary : public ui::Form {
 public:
  frmSummary();

  ui::Label lblSummary{*this, u"lblSummary", u"Project Summary"};
  ui::TextBox txtSummary{*this, u"txtSummary"};
  ui::CommandButton cmdClose{*this, u"cmdClose", u"&Close"};

  host::Ref<host::VBE> VBInstance;

  // True when the summary could not be built at the last load (the failure was reported);
  // such a window is not shown.
  bool failed() const { return failed_; }

  void cmdClose_Click();

 protected:
  void Form_Load() override;

 private:
  bool failed_ = false;
};

}  // namespace tallowick
