#include "property_generator/connect.h"

#include "framework/runtime.h"

namespace quenby {

namespace {
constexpr const char16_t* kCaption = u"Add New &Property";
}

Connect::~Connect() {
  Unbind(MenuHandler);
  Unbind(ContextMenuHandler);
  // The shared root object goes with the Connect that set it.
  if (quenby::VBInstance == ConnectBase::VBInstance) quenby::VBInstance.reset();
}

void Connect::Connection(int connectMode) {
  quenby::VBInstance = ConnectBase::VBInstance;
  if (connectMode == addin::ext_cm_External) return;
  addInsEntry_ = AddToAddInCommandBar(kCaption, u"Add-Ins");
  BindClick(MenuHandler, addInsEntry_, [this] { MenuHandler_Click(); });
  codeWindowEntry_ = AddToAddInCommandBar(kCaption, u"Code Window");
  BindClick(ContextMenuHandler, codeWindowEntry_, [this] { ContextMenuHandler_Click(); });
}

void Connect::Disconnection() {
  DeleteEntry(addInsEntry_);
  DeleteEntry(codeWindowEntry_);
  Unbind(MenuHandler);
  Unbind(ContextMenuHandler);
  CloseDialog(mfrmAddIn_);
}

host::Ref<host::CommandBarControl> Connect::AddToAddInCommandBar(vb::TextView sCaption, vb::TextView Menu) {
  return AddToCommandBar(Menu, sCaption);
}

void Connect::Show() {
  host::Ref<host::CodeModule> module;
  Attempt([&] {
    if (host::Ref<host::CodePane> pane = ConnectBase::VBInstance->ActiveCodePane()) module = pane->CodeModule();
  });
  if (!module) {
    vb::MsgBox(u"You must be in the code pane where you want to add the new property", ui::vbInformation,
               u"No Code Pane Available");
    return;
  }
  Attempt([this] {
    if (!mfrmAddIn_) mfrmAddIn_ = std::make_unique<frmAddIn>();
    mfrmAddIn_->Show(ui::vbModeless);
  });
}

}  // namespace quenby
