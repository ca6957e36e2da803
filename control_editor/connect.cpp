#include "control_editor/connect.h"

#include "control_editor/control_code.h"
#include "control_editor/control_dialog.h"
#include "control_editor/control_types.h"
#include "control_editor/frm_add_in_options.h"
#include "control_editor/frm_remove_control.h"
#include "control_editor/frm_rename_code.h"

namespace ravlen {

namespace {

// Nothing may reach the IDE from an event sink.
template <class F>
void Guarded(F&& handler) {
  try {
    handler();
  } catch (...) {
  }
}

// Shows a dialog modally; a dialog whose display failed half-way is unloaded, so that it is
// not left on screen and can be shown again.
void ShowModalDialog(ui::Form& form) {
  try {
    form.Show(ui::vbModal);
  } catch (...) {
    try {
      ui::UnloadIfLoaded(&form);
    } catch (...) {
    }
    throw;
  }
}

}  // namespace

Connect::Connect() = default;
Connect::~Connect() = default;

void Connect::Connection(int /*connectMode*/) {
  // The entry is created in every connect mode: the designer events need no menu.
  menuEntry_ = AddToAddInCommandBar(u"&Ravlen Editor Options");
  BindClick(MenuHandler, menuEntry_, [this] { MenuHandler_Click(); });
  LoadOptions(options_);
  host::ControlsSink sink;
  sink.ItemAdded = [this](const Ref<host::VBControl>& control) { Guarded([&] { CompHandler_ItemAdded(control); }); };
  sink.ItemRemoved = [this](const Ref<host::VBControl>& control) {
    Guarded([&] { CompHandler_ItemRemoved(control); });
  };
  sink.ItemRenamed = [this](const Ref<host::VBControl>& control, const Text& oldName, int oldIndex) {
    Guarded([&] { CompHandler_ItemRenamed(control, oldName, oldIndex); });
  };
  CompHandler.Bind(VBInstance->Events()->VBControlsEvents(VBInstance->ActiveVBProject(), nullptr), std::move(sink));
}

void Connect::Disconnection() {
  DeleteEntry(menuEntry_);
  Unbind(MenuHandler);
  Unbind(CompHandler);
  // Control dialogs still open (the IDE closing while one is shown).
  for (ui::Form* dialog : std::vector<ui::Form*>(openControlDialogs_)) Attempt([&] { ui::UnloadIfLoaded(dialog); });
  CloseDialog(removeDialog_);
  CloseDialog(renameDialog_);
  CloseDialog(optionsDialog_);
}

void Connect::CompHandler_ItemAdded(const Ref<host::VBControl>& VBControl) {
  const ControlTypeRow& row = FindControlType(VBControl->ClassName());
  if (!options_.PromptFlags[row.typeIndex]) return;
  // A fresh dialog for every control placed.
  auto dialog = std::make_unique<ControlDialog>(*row.dialog);
  dialog->objControl = VBControl;
  dialog->VBInstance = VBInstance;
  openControlDialogs_.push_back(dialog.get());
  struct Forget {
    std::vector<ui::Form*>& open;
    ~Forget() { open.pop_back(); }
  } forget{openControlDialogs_};
  ShowModalDialog(*dialog);
  ui::UnloadIfLoaded(dialog.get());
}

void Connect::CompHandler_ItemRemoved(const Ref<host::VBControl>& VBControl) {
  if (!options_.RemoveCode) return;
  Ref<host::CodeModule> module = FormCodeModule(VBControl);
  if (!module) return;
  const Text name = ControlName(VBControl);
  // The procedures of a control array stay while another element is on the form.
  if (AnotherElementCarries(VBControl, name)) return;
  if (RemovableMembers(*module, name, NamesOnForm(VBControl->Collection())).empty()) return;
  if (!removeDialog_) removeDialog_ = std::make_shared<frmRemoveControl>();
  const auto dialog = removeDialog_;
  dialog->objControl = VBControl;
  ShowModalDialog(*dialog);
}

void Connect::CompHandler_ItemRenamed(const Ref<host::VBControl>& VBControl, const Text& OldName, int /*OldIndex*/) {
  if (!options_.RenameCode) return;
  Ref<host::CodeModule> module = FormCodeModule(VBControl);
  if (!module) return;
  // From here on a failure ends the handler without a message.
  try {
    // The other elements of an array that keep the old name keep its procedures too.
    if (AnotherElementCarries(VBControl, OldName)) return;
    const Text newName = ControlName(VBControl);
    if (!RenameChangesCode(*module, OldName, newName)) return;
    if (!renameDialog_) renameDialog_ = std::make_shared<frmRenameCode>();
    const auto dialog = renameDialog_;
    dialog->objCode = module;
    dialog->OldName = OldName;
    dialog->NewName = newName;
    ShowModalDialog(*dialog);
  } catch (...) {
  }
}

void Connect::MenuHandler_Click() {
  if (!optionsDialog_) optionsDialog_ = std::make_shared<frmAddInOptions>(options_);
  const auto dialog = optionsDialog_;
  ShowModalDialog(*dialog);
}

}  // namespace ravlen
