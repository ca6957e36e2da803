// The property generator's connection: two "Add New &Property" entries (Add-Ins menu and the code
// window's context menu) that open one modeless property dialog.
#pragma once

#include <memory>

#include "framework/connect.h"
#include "property_generator/frm_add_in.h"

namespace quenby {

class Connect : public addin::ConnectBase {
 public:
  ~Connect() override;

  host::CommandBarEventsMember ContextMenuHandler;

  // Opens the property dialog when a code pane is active.
  void Show();
  // A button `sCaption` at the end of the command bar `Menu`, or Nothing.
  host::Ref<host::CommandBarControl> AddToAddInCommandBar(vb::TextView sCaption, vb::TextView Menu);

  frmAddIn* dialog() const { return mfrmAddIn_.get(); }

 protected:
  void Connection(int connectMode) override;
  void Disconnection() override;

 private:
  void MenuHandler_Click() { Show(); }
  void ContextMenuHandler_Click() { Show(); }

  host::Ref<host::CommandBarControl> addInsEntry_;
  host::Ref<host::CommandBarControl> codeWindowEntry_;
  std::unique_ptr<frmAddIn> mfrmAddIn_;
};

}  // namespace quenby
