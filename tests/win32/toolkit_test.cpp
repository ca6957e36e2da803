// The Win32 toolkit: forms shown in real windows and answered with window messages, as a
// person's keys and clicks arrive.
#include <windows.h>
#include <commctrl.h>

#include "check.h"
#include "framework/runtime.h"
#include "settings/memory_store.h"
#include "win32/win32_toolkit.h"
#include "window_driver.h"

using namespace wintest;
using vb::Text;

namespace {

class frmTest : public ui::Form {
 public:
  frmTest() : ui::Form(u"frmTest", u"Test Dialog") {
    OKButton.SetDefault(true);
    CancelButton.SetCancel(true);
    OKButton.OnClick = [this] {
      answer = txtName.text();
      accepted = true;
      Unload();
    };
    CancelButton.OnClick = [this] { Unload(); };
    // Upper case while ticked: a KeyPress handler that changes the typed key.
    txtName.KeyPress = [this](int& key) {
      if (chkUpper.value() == 1 && key >= 'a' && key <= 'z') key -= 32;
    };
    lstPick.ItemCheck = [this](int row) { ticks.push_back(row); };
  }

  ui::Label lblName{*this, u"lblName", u"&Name:"};
  ui::TextBox txtName{*this, u"txtName"};
  ui::CheckBox chkUpper{*this, u"chkUpper", u"&Upper case"};
  ui::ListBox lstPick{*this, u"lstPick", false, ui::ListBox::Checkbox};
  ui::CommandButton OKButton{*this, u"OKButton", u"OK"};
  ui::CommandButton CancelButton{*this, u"CancelButton", u"Cancel"};

  Text answer;
  bool accepted = false;
  std::vector<int> ticks;
  int refuseClose = 0;  // close-box requests refused before one is let through

 protected:
  void Form_Load() override {
    for (const char16_t* row : {u"One", u"Two", u"Three"}) lstPick.AddItem(row);
  }
  void Form_QueryUnload(int& cancel, int unloadMode) override {
    if (unloadMode == ui::vbFormControlMenu && refuseClose > 0) {
      --refuseClose;
      cancel = 1;
    }
  }
};

// The native toolkit installed for one test, with an IDE-like main window as the owner.
struct NativeHome {
  NativeHome() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"FakeIdeMain";
    RegisterClassW(&windowClass);
    main = CreateWindowExW(0, L"FakeIdeMain", L"Project1 - Microsoft Visual Basic [design]", WS_OVERLAPPEDWINDOW,
                           0, 0, 800, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(main, SW_SHOW);
    SetActiveWindow(main);
  }
  ~NativeHome() { DestroyWindow(main); }
  win32::Win32Toolkit toolkit{u"Tests"};
  settings::MemorySettingsStore settings;
  vb::FixedClock clock{vb::DateTime{2026, 12, 7, 9, 30, 15}};
  vb::RuntimeScope scope{vb::Runtime{&toolkit, &settings, &clock, nullptr, u"/", u":"}};
  HWND main = nullptr;
};

}  // namespace

WIN_TEST(ModalDialogIsAnsweredWithKeysAndClicks) {
  NativeHome home;
  frmTest form;
  bool ran = false;
  WhenShown(L"Test Dialog", [&](HWND dialog) {
    ran = true;
    // Modal: owned by the IDE's window, which is disabled meanwhile.
    CHECK(GetWindow(dialog, GW_OWNER) == home.main);
    CHECK(!IsWindowEnabled(home.main));
    HWND edit = Child(dialog, L"Edit");
    HWND upper = ChildByText(dialog, L"&Upper case");
    HWND list = Child(dialog, WC_LISTVIEWW);
    CHECK(edit && upper && list);
    // Tab order follows the form's controls.
    CHECK(GetNextDlgTabItem(dialog, edit, FALSE) == upper);
    SendMessageW(upper, BM_CLICK, 0, 0);
    CHECK_EQ(form.chkUpper.value(), 1);
    CHECK_EQ(SendMessageW(upper, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
    TypeChars(edit, L"ab1c");
    CHECK_EQ(form.txtName.text(), Text(u"AB1C"));
    CHECK_EQ(TextOf(edit), std::wstring(L"AB1C"));
    TypeChars(edit, L"\b");
    CHECK_EQ(form.txtName.text(), Text(u"AB1"));
    CHECK_EQ(ListView_GetItemCount(list), 3);
    ListView_SetCheckState(list, 2, TRUE);
    CHECK(form.lstPick.Selected(2));
    // Enter in the text box presses the default button.
    PostKey(edit, VK_RETURN);
  });
  form.Show(ui::vbModal);
  CHECK(ran);
  CHECK(form.accepted);
  CHECK_EQ(form.answer, Text(u"AB1"));
  CHECK_EQ(form.ticks, std::vector<int>{2});
  CHECK(!form.loaded());
  CHECK(IsWindowEnabled(home.main));
  CHECK(FindShown(L"Test Dialog") == nullptr);
}

WIN_TEST(EscapeCancelsAndTheCloseBoxAsksTheForm) {
  NativeHome home;
  frmTest form;
  WhenShown(L"Test Dialog", [&](HWND dialog) {
    TypeChars(Child(dialog, L"Edit"), L"kept?");
    PostKey(Child(dialog, L"Edit"), VK_ESCAPE);
  });
  form.Show(ui::vbModal);
  CHECK(!form.accepted);
  CHECK(!form.loaded());
  CHECK_EQ(form.txtName.text(), Text());  // unloading put the design state back

  form.refuseClose = 1;
  int closes = 0;
  std::function<void(HWND)> close = [&](HWND dialog) {
    ++closes;
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    if (IsWindowVisible(dialog)) WhenShown(L"Test Dialog", close);  // refused: ask again
  };
  WhenShown(L"Test Dialog", close);
  form.Show(ui::vbModal);
  CHECK_EQ(closes, 2);
  CHECK(!form.loaded());
  CHECK(!form.accepted);
}

WIN_TEST(ModelessFormFollowsItsModelAndGoesWhenHidden) {
  NativeHome home;
  frmTest form;
  form.Show(ui::vbModeless);  // returns at once
  HWND dialog = home.toolkit.WindowOf(form);
  CHECK(dialog && IsWindowVisible(dialog));
  if (!dialog) return;
  form.SetCaption(u"Renamed Dialog");
  CHECK_EQ(TextOf(dialog), std::wstring(L"Renamed Dialog"));
  form.txtName.SetText(u"from code");
  CHECK_EQ(TextOf(Child(dialog, L"Edit")), std::wstring(L"from code"));
  form.chkUpper.SetValue(1);
  CHECK_EQ(SendMessageW(ChildByText(dialog, L"&Upper case"), BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
  form.lstPick.AddItem(u"Four");
  form.lstPick.SetSelected(3, true);
  HWND list = Child(dialog, WC_LISTVIEWW);
  CHECK_EQ(ListView_GetItemCount(list), 4);
  CHECK(ListView_GetCheckState(list, 3) != FALSE);
  // Tab moves on even in the host's own message loop, which knows nothing of dialogs.
  HWND edit = Child(dialog, L"Edit");
  SetFocus(edit);
  PostKey(edit, VK_TAB);
  Pump(100);
  CHECK(GetFocus() == ChildByText(dialog, L"&Upper case"));
  form.CancelButton.SetEnabled(false);
  CHECK(!IsWindowEnabled(ChildByText(dialog, L"Cancel")));
  form.Hide();
  CHECK(home.toolkit.WindowOf(form) == nullptr);
  home.toolkit.DoEvents();
  CHECK(!IsWindow(dialog));
  CHECK(form.loaded());  // hidden, not unloaded
  form.Unload();
}

WIN_TEST(MessageBoxesAndTheHourglass) {
  NativeHome home;
  Text prompt;
  WhenShown(L"Tests", [&](HWND box) {
    CHECK(ChildByText(box, L"Save the changes?") != nullptr);
    SendMessageW(box, WM_COMMAND, IDNO, 0);
  });
  CHECK_EQ(vb::MsgBox(u"Save the changes?", ui::vbYesNo | ui::vbQuestion), ui::vbNo);
  WhenShown(L"Piece Stored", [&](HWND box) {
    CHECK(ChildByText(box, L"The piece was stored.") != nullptr);
    SendMessageW(box, WM_COMMAND, IDOK, 0);
  });
  CHECK_EQ(vb::MsgBox(u"The piece was stored.", ui::vbInformation, u"Piece Stored"), ui::vbOK);

  frmTest form;
  form.Show(ui::vbModeless);
  vb::SetMousePointer(ui::vbHourglass);
  CHECK_EQ(vb::MousePointer(), ui::vbHourglass);
  HWND dialog = home.toolkit.WindowOf(form);
  SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  CHECK(GetCursor() == LoadCursorW(nullptr, IDC_WAIT));
  vb::SetMousePointer(ui::vbDefault);
  CHECK_EQ(vb::MousePointer(), ui::vbDefault);
  form.Unload();
}

namespace {

class frmBrowse : public ui::Form {
 public:
  frmBrowse() : ui::Form(u"frmBrowse", u"Browse") {
    lvResults.AddColumn(u"Module");
    lvResults.AddColumn(u"Lines");
  }
  ui::TreeView tvMembers{*this, u"tvMembers"};
  ui::ListView lvResults{*this, u"lvResults"};
  ui::CommandButton cmdClose{*this, u"cmdClose", u"&Close"};
};

}  // namespace

WIN_TEST(TreeAndReportListShowTheirRows) {
  NativeHome home;
  frmBrowse form;
  ui::Node* subs = form.tvMembers.Add(nullptr, ui::tvwLast, u"subs", u"Subs");
  form.tvMembers.Add(subs, ui::tvwChild, u"s1", u"Main");
  form.tvMembers.Add(subs, ui::tvwChild, u"s2", u"Load");
  form.tvMembers.Add(nullptr, ui::tvwLast, u"props", u"Properties");
  const int row = form.lvResults.AddItem(u"Module1");
  form.lvResults.SetSubItem(row, 1, u"42");
  form.Show(ui::vbModeless);
  home.toolkit.DoEvents();  // the tree is rebuilt from a posted message
  HWND dialog = home.toolkit.WindowOf(form);
  HWND tree = Child(dialog, WC_TREEVIEWW);
  HWND list = Child(dialog, WC_LISTVIEWW);
  CHECK_EQ(static_cast<int>(TreeView_GetCount(tree)), 4);
  wchar_t text[64] = {};
  TVITEMW item = {};
  item.mask = TVIF_TEXT;
  item.hItem = TreeView_GetRoot(tree);
  item.pszText = text;
  item.cchTextMax = 64;
  TreeView_GetItem(tree, &item);
  CHECK_EQ(std::wstring(text), std::wstring(L"Subs"));
  CHECK_EQ(ListView_GetItemCount(list), 1);
  ListView_GetItemText(list, 0, 1, text, 64);
  CHECK_EQ(std::wstring(text), std::wstring(L"42"));
  HWND header = ListView_GetHeader(list);
  CHECK_EQ(static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)), 2);
  form.Unload();
  CHECK(home.toolkit.WindowOf(form) == nullptr);
}
