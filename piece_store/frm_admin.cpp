#include "piece_store/frm_admin.h"

#include "piece_store/connect.h"
#include "piece_store/frm_add_code.h"
#include "piece_store/settings_changes.h"

namespace pellmoss {

using vb::Required;

namespace {
void Step(const std::function<void()>& step) { pellmoss::Connect::Attempt(step); }
}  // namespace

frmAdmin::frmAdmin() : ui::Form(u"frmAdmin", u"Code Storage Admin") {
  for (ui::Control* c : std::initializer_list<ui::Control*>{&lstCodeItems, &txtCode, &chkMenu})
    c->SetContainer(&fraCode);
  txtCode.SetMultiLine(true);
  txtCode.SetScrollBars(ui::vbBoth);
  SetBorderStyle(ui::vbSizable);  // code is read and written in a large box
  cmdClose.SetDefault(true);
  lstCodeItems.OnClick = [this] { lstCodeItems_Click(); };
  chkMenu.OnClick = [this] { chkMenu_Click(); };
  cmdAdd.OnClick = [this] { cmdAdd_Click(); };
  cmdEdit.OnClick = [this] { cmdEdit_Click(); };
  cmdDelete.OnClick = [this] { cmdDelete_Click(); };
  cmdClose.OnClick = [this] { cmdClose_Click(); };
}

frmAdmin::~frmAdmin() = default;

void frmAdmin::Form_Activate() { FillCodeList(); }

void frmAdmin::FillCodeList() {
  Step([&] { lstCodeItems.Clear(); });
  Step([&] {
    for (const auto& entry : Required(Connect)->colCodeNames) lstCodeItems.AddItem(entry.item);
  });
  if (lstCodeItems.listCount() > 0) {
    Step([&] { lstCodeItems.SetListIndex(0); });
  } else {
    Step([&] { txtCode.SetText(u""); });
    Step([&] { ShowMenuFlag(0); });
  }
}

bool frmAdmin::SelectedName(vb::Text& name) const {
  const int index = lstCodeItems.listIndex();
  if (index < 0) return false;
  name = lstCodeItems.List(index);
  return true;
}

void frmAdmin::ShowMenuFlag(int value) {
  showingMenuFlag_ = true;
  Step([&] { chkMenu.SetValue(value); });
  showingMenuFlag_ = false;
}

void frmAdmin::lstCodeItems_Click() {
  vb::Text name;
  if (!SelectedName(name)) return;
  Step([&] { txtCode.SetText(ReadCodePiece(name)); });
  Step([&] {
    const NameList& menu = Required(Connect)->colMenuItems;
    const bool listed = menu.Contains(name);
    ShowMenuFlag(listed ? 1 : 0);
    // A full menu takes no further piece, but a listed one can still be taken off.
    chkMenu.SetEnabled(listed || menu.Count() < kMaxMenuItems);
  });
  Step([&] { txtCode.SetFocus(); });
}

void frmAdmin::chkMenu_Click() {
  if (showingMenuFlag_) return;
  vb::Text name;
  if (!SelectedName(name)) return;
  SettingsChanges changes(Connect);
  Step([&] {
    NameList& menu = Required(Connect)->colMenuItems;
    if (chkMenu.value() == 1) {
      if (menu.Count() < kMaxMenuItems) menu.TryAdd(name, name);
    } else if (menu.Contains(name)) {
      menu.Remove(name);
    }
  });
  if (!changes.Save([&] { SaveMenuItems(Required(Connect)->colMenuItems); })) {
    // The box shows the flag as it stayed.
    Step([&] { ShowMenuFlag(Required(Connect)->colMenuItems.Contains(name) ? 1 : 0); });
    return;
  }
  Step([&] { Required(Connect)->RebuildRetrieveMenu(); });
}

void frmAdmin::cmdAdd_Click() {
  Step([&] {
    if (!mfrmAddCode_) mfrmAddCode_ = std::make_unique<frmAddCode>();
    mfrmAddCode_->Admin = true;
    mfrmAddCode_->VBInstance = VBInstance;
    mfrmAddCode_->Connect = Connect;
    mfrmAddCode_->Show(ui::vbModal);
  });
  FillCodeList();
}

void frmAdmin::cmdEdit_Click() {
  vb::Text name;
  if (!SelectedName(name)) return;
  SettingsChanges(Connect).Save([&] { WriteCodePiece(name, txtCode.text()); });
}

void frmAdmin::cmdDelete_Click() {
  vb::Text name;
  if (!SelectedName(name)) return;
  SettingsChanges changes(Connect);
  Step([&] { Required(Connect)->colCodeNames.Remove(name); });
  Step([&] {
    NameList& menu = Required(Connect)->colMenuItems;
    if (menu.Contains(name)) menu.Remove(name);
  });
  FillCodeList();
  // The key stays in the store with an empty value; storing the name again overwrites it.
  if (!changes.Save([&] {
        WriteCodePiece(name, u"");
        SaveCodeNames(Required(Connect)->colCodeNames);
        SaveMenuItems(Required(Connect)->colMenuItems);
      })) {
    FillCodeList();
    return;
  }
  Step([&] { Required(Connect)->RebuildRetrieveMenu(); });
}

void frmAdmin::cmdClose_Click() {
  Step([&] { Hide(); });
  Step([&] { Unload(); });
}

}  // namespace pellmoss
