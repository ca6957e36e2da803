// The control editor's connection to the IDE: its one menu entry "&Ravlen Editor Options", its
// options loaded at connection, and the designer events of the project active at connection,
// which open the control dialogs and offer to rename or remove a control's code.
#pragma once

#include <memory>
#include <vector>

#include "control_editor/editor_options.h"
#include "framework/connect.h"

namespace ui {
class Form;
}

namespace ravlen {

class frmAddInOptions;
class frmRemoveControl;
class frmRenameCode;

using host::Ref;

class Connect : public addin::ConnectBase {
 public:
  Connect();
  ~Connect() override;

  host::VBControlsEventsMember CompHandler;

  // Designer events of the project that was active at connection.
  void CompHandler_ItemAdded(const Ref<host::VBControl>& VBControl);
  void CompHandler_ItemRemoved(const Ref<host::VBControl>& VBControl);
  void CompHandler_ItemRenamed(const Ref<host::VBControl>& VBControl, const Text& OldName, int OldIndex);
  void MenuHandler_Click();

  // The option state (basGlobal) of this add-in.
  EditorOptions& Options() { return options_; }

 protected:
  void Connection(int connectMode) override;
  void Disconnection() override;

 private:
  EditorOptions options_;
  Ref<host::CommandBarControl> menuEntry_;
  // Single instances, created on first use.
  // Shared with the handler that shows them: the IDE may unload the add-in while one is shown.
  std::shared_ptr<frmRemoveControl> removeDialog_;
  std::shared_ptr<frmRenameCode> renameDialog_;
  std::shared_ptr<frmAddInOptions> optionsDialog_;
  // The control dialogs on screen, innermost last.
  std::vector<ui::Form*> openControlDialogs_;
};

}  // namespace ravlen
