#include "interface_builder/connect.h"

namespace morrowgate {

Connect::Connect() = default;

Connect::~Connect() {
  // A window must not outlive the add-in that owns it.
  Attempt([&] {
    if (mfrmAddIn_ && mfrmAddIn_->loaded()) mfrmAddIn_->Unload();
  });
  Attempt([&] {
    if (propertyDetermine_ && propertyDetermine_->loaded()) propertyDetermine_->Unload();
  });
}

host::Ref<host::CommandBarControl> Connect::AddToAddInCommandBar(vb::TextView sCaption) {
  return AddToCommandBar(u"Add-Ins", sCaption);
}

void Connect::Connection(int connectMode) {
  if (connectMode == addin::ext_cm_External) return;
  entry_ = AddToAddInCommandBar(u"M&orrowgate Builder");
  BindClick(MenuHandler, entry_, [this] { MenuHandler_Click(); });
}

void Connect::Disconnection() {
  Attempt([&] { DeleteEntry(entry_); });
  Attempt([&] { MenuHandler.Reset(); });
  Attempt([&] {
    if (mfrmAddIn_) mfrmAddIn_->Unload();
  });
  mfrmAddIn_.reset();
  Attempt([&] {
    if (propertyDetermine_) propertyDetermine_->Unload();
  });
  propertyDetermine_.reset();
}

void Connect::Hide() {
  FormDisplayed = false;
  Attempt([&] {
    if (mfrmAddIn_) mfrmAddIn_->Hide();
  });
}

void Connect::Show() {
  Attempt([&] {
    if (!mfrmAddIn_) mfrmAddIn_ = std::make_unique<frmAddIn>();
  });
  if (!mfrmAddIn_) return;
  Attempt([&] {
    mfrmAddIn_->VBInstance = VBInstance;
    mfrmAddIn_->Connect = this;
  });
  FormDisplayed = true;
  Attempt([&] { mfrmAddIn_->Show(ui::vbModeless); });
}

void Connect::MenuHandler_Click() { Show(); }

frmPropertyDetermine& Connect::PropertyDetermine() {
  if (!propertyDetermine_) propertyDetermine_ = std::make_unique<frmPropertyDetermine>();
  return *propertyDetermine_;
}

}  // namespace morrowgate
