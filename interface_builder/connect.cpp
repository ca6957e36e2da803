#include "interface_builder/connect.h"

namespace morrowgate {

Connect::Connect() = default;

Connect::~Connect() {
  // A window must not outlive the add-in that owns it.
  CloseDialog(mfrmAddIn_);
  CloseDialog(propertyDetermine_);
}

void Connect::Connection(int connectMode) {
  if (connectMode == addin::ext_cm_External) return;
  entry_ = AddToAddInCommandBar(u"M&orrowgate Builder");
  BindClick(MenuHandler, entry_, [this] { MenuHandler_Click(); });
}

void Connect::Disconnection() {
  DeleteEntry(entry_);
  Unbind(MenuHandler);
  CloseDialog(mfrmAddIn_);
  CloseDialog(propertyDetermine_);
}

void Connect::Hide() {
  FormDisplayed = false;
  Attempt([&] {
    if (mfrmAddIn_) mfrmAddIn_->Hide();
  });
}

void Connect::Show() {
  if (!PrepareDialog(mfrmAddIn_, this)) return;
  FormDisplayed = true;
  Attempt([&] { mfrmAddIn_->Show(ui::vbModeless); });
}

void Connect::MenuHandler_Click() { Show(); }

frmPropertyDetermine& Connect::PropertyDetermine() {
  if (!propertyDetermine_) propertyDetermine_ = std::make_unique<frmPropertyDetermine>();
  return *propertyDetermine_;
}

}  // namespace morrowgate
