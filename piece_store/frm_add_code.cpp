#include "piece_store/frm_add_code.h"

#include "framework/runtime.h"
#include "piece_store/connect.h"
#include "piece_store/settings_changes.h"

namespace pellmoss {

using vb::Required;

frmAddCode::frmAddCode() : ui::Form(u"frmAddCode", u"Add Code Segment") {
  for (ui::Control* c : std::initializer_list<ui::Control*>{&lblNewCode, &txtSegName, &txtCode, &chkAddToMenu})
    c->SetContainer(&fraCodeInfo);
  txtCode.SetMultiLine(true);
  txtCode.SetScrollBars(ui::vbBoth);
  SetBorderStyle(ui::vbSizable);  // code is read and written in a large box
  cmdAddSegment.SetDefault(true);
  cmdCancel.SetCancel(true);
  cmdAddSegment.OnClick = [this] { cmdAddSegment_Click(); };
  cmdCancel.OnClick = [this] { cmdCancel_Click(); };
}

void frmAddCode::Form_Activate() {
  Text code;
  if (!Admin) pellmoss::Connect::Attempt([&] { code = SelectedLines(); });
  txtCode.SetText(code);
  pellmoss::Connect::Attempt([&] {
    if (Required(Connect)->colMenuItems.Count() >= kMaxMenuItems) chkAddToMenu.SetEnabled(false);
  });
  pellmoss::Connect::Attempt([&] { txtSegName.SetFocus(); });
}

vb::Text frmAddCode::SelectedLines() {
  host::Ref<host::CodePane> pane = Required(VBInstance)->ActiveCodePane();
  if (!pane) return {};
  long startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
  pane->GetSelection(startLine, startColumn, endLine, endColumn);
  host::Ref<host::CodeModule> module = pane->CodeModule();
  if (!module) return {};
  return module->Lines(startLine, endLine - startLine + 1);
}

void frmAddCode::Refuse(vb::TextView prompt, vb::TextView title) {
  vb::MsgBox(prompt, ui::vbInformation, title);
  pellmoss::Connect::Attempt([&] { txtSegName.SetFocus(); });
}

void frmAddCode::cmdAddSegment_Click() {
  const Text name = vb::Trim(txtSegName.text());
  if (name.empty()) {
    Refuse(u"You must provide a name for the code segment before continuing.", u"No Segment Name.");
    return;
  }
  if (Text reason = InvalidNameReason(name); !reason.empty()) {
    Refuse(reason, u"Invalid Segment Name");
    return;
  }

  // From here on each step runs whatever became of the one before.
  bool used = false;
  pellmoss::Connect::Attempt([&] { used = Required(Connect)->colCodeNames.Contains(name); });
  if (used) {
    Refuse(u"The entered code segment name has already been used.  Please use a unique name for each code segment.",
           u"Code Segment Name not Unique");
    return;
  }
  // A write that fails keeps the dialog open with what was typed.
  SettingsChanges changes(Connect);
  if (!changes.Save([&] { WriteCodePiece(name, txtCode.text()); })) return;
  pellmoss::Connect::Attempt([&] { Required(Connect)->colCodeNames.Add(name, name); });
  if (!changes.Save([&] { SaveCodeNames(Required(Connect)->colCodeNames); })) return;
  if (chkAddToMenu.value() == 1) {
    pellmoss::Connect::Attempt([&] {
      // The box is disabled once the menu is full; the list never outgrows the ten entries.
      if (Required(Connect)->colMenuItems.Count() < kMaxMenuItems) Required(Connect)->colMenuItems.Add(name, name);
    });
    if (!changes.Save([&] { SaveMenuItems(Required(Connect)->colMenuItems); })) return;
    pellmoss::Connect::Attempt([&] { Required(Connect)->RebuildRetrieveMenu(); });
  }
  cmdCancel_Click();
}

void frmAddCode::cmdCancel_Click() {
  Hide();
  Unload();
}

}  // namespace pellmoss
