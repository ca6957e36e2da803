#include "win32/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "win32/com_module.h"
#include "win32/wide_text.h"

namespace win32 {

namespace {

constexpr const wchar_t* kClassName = L"Vb6KitForm";
constexpr UINT kRefreshTree = WM_APP + 1;  // wParam: the id of a tree to rebuild
constexpr int kFirstId = 100;              // clear of IDOK and IDCANCEL

// Layout in pixels at 96 dots per inch.
constexpr int kMargin = 10;
constexpr int kGap = 6;
constexpr int kWidth = 400;
constexpr int kLabelWidth = 150;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 25;

bool hourglass = false;

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetTextIfDifferent(HWND hwnd, vb::TextView text) {
  const std::wstring wanted = Wide(text);
  if (WindowText(hwnd) != wanted) SetWindowTextW(hwnd, wanted.c_str());
}

void RegisterFormClass() {
  static bool registered = false;
  if (registered) return;
  INITCOMMONCONTROLSEX common = {sizeof common, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = DefWindowProcW;  // replaced per window once it is bound
  windowClass.hInstance = ThisModule();  // one class per add-in DLL
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
  registered = true;
}

// Height of one control's row.
int RowHeight(const ui::Control& control) {
  const std::string kind = control.kind();
  if (kind == "TextBox") return static_cast<const ui::TextBox&>(control).multiLine() ? 84 : 22;
  if (kind == "Label") {
    const vb::Text& caption = static_cast<const ui::Label&>(control).caption();
    int lines = 1 + static_cast<int>(std::count(caption.begin(), caption.end(), u'\n')) +
                static_cast<int>(caption.size() / 64);
    return 16 * lines;
  }
  if (kind == "CheckBox" || kind == "OptionButton") return 20;
  if (kind == "ComboBox") return 24;
  if (kind == "ListBox") return 124;
  if (kind == "TreeView") return 240;
  if (kind == "ListView") return 200;
  if (kind == "CommandButton") return kButtonHeight;
  return 0;
}

bool Laid(const ui::Control& control) {
  const std::string kind = control.kind();
  return kind != "CommonDialog" && kind != "Menu";
}

bool Input(const ui::Control* control) {
  return control && (std::string(control->kind()) == "TextBox" || std::string(control->kind()) == "ComboBox");
}

struct Place {
  RECT rect;
};

// Lays out the controls inside `container` (nullptr: the form) from top `y` in the column
// from `left` of `width`. Command buttons of the form itself go to a row at the bottom.
int LayOut(const std::vector<ui::Control*>& controls, const ui::Control* container, int left, int y, int width,
           std::map<const ui::Control*, RECT>& places, std::vector<const ui::Control*>& bottomButtons) {
  for (size_t i = 0; i < controls.size(); ++i) {
    const ui::Control* control = controls[i];
    if (control->container() != container || !Laid(*control)) continue;
    const std::string kind = control->kind();
    if (kind == "CommandButton" && !container) {
      bottomButtons.push_back(control);
      continue;
    }
    if (kind == "Frame") {
      int inner = LayOut(controls, control, left + 10, y + 20, width - 20, places, bottomButtons);
      places[control] = RECT{left, y, left + width, inner + 8};
      y = inner + 8 + kGap;
      continue;
    }
    // A label just before a text box or combo box names it on the same row.
    const ui::Control* next = i + 1 < controls.size() ? controls[i + 1] : nullptr;
    if (kind == "Label" && Input(next) && next->container() == container) {
      // A caption too long for one line in the label column gets two.
      const size_t length = static_cast<const ui::Label*>(control)->caption().size();
      const int labelHeight = length * 7 > static_cast<size_t>(kLabelWidth - 8) ? 30 : 16;
      const int height = std::max(RowHeight(*next), labelHeight);
      places[control] = RECT{left, y + 3, left + kLabelWidth - 6, y + 3 + labelHeight};
      places[next] = RECT{left + kLabelWidth, y, left + width, y + RowHeight(*next)};
      y += height + kGap;
      ++i;
      continue;
    }
    const int height = RowHeight(*control);
    places[control] = RECT{left, y, left + (kind == "CommandButton" ? kButtonWidth : width), y + height};
    // A control hidden from the start takes no room (it shows over the next one if it appears).
    if (control->visible()) y += height + kGap;
  }
  return y;
}

}  // namespace

FormWindow::FormWindow(ui::Form& form, HWND owner) : form_(&form), owner_(owner) {
  RegisterFormClass();
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW logFont = metrics.lfMessageFont;
  if (!form.fontName().empty()) {
    const std::wstring face = Wide(form.fontName());
    wcsncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  }
  font_ = CreateFontIndirectW(&logFont);

  hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName, Wide(form.caption()).c_str(),
                          WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                          owner, nullptr, ThisModule(), nullptr);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  CreateControls();
  form.SetObserver(this);
}

FormWindow::~FormWindow() {
  Detach();
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    HWND window = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(window);
  }
  if (font_) DeleteObject(font_);
}

void FormWindow::Detach() {
  if (!form_) return;
  if (form_->observer() == this) form_->SetObserver(nullptr);
  form_ = nullptr;
  for (Bound& bound : bound_) bound.control = nullptr;
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

bool FormWindow::IsFormWindow(HWND hwnd) {
  wchar_t name[32] = {};
  return hwnd && GetClassNameW(hwnd, name, 32) && wcscmp(name, kClassName) == 0;
}

void FormWindow::SetHourglass(bool on) { hourglass = on; }

void FormWindow::CreateControls() {
  const std::vector<ui::Control*>& controls = form_->controls();
  std::map<const ui::Control*, RECT> places;
  std::vector<const ui::Control*> buttons;
  int bottom = LayOut(controls, nullptr, kMargin, kMargin, kWidth, places, buttons);
  if (!buttons.empty()) {
    bottom += kGap;
    int x = kMargin + kWidth - static_cast<int>(buttons.size()) * (kButtonWidth + kGap) + kGap;
    for (const ui::Control* button : buttons) {
      places[button] = RECT{x, bottom, x + kButtonWidth, bottom + kButtonHeight};
      x += kButtonWidth + kGap;
    }
    bottom += kButtonHeight + kGap;
  }
  const int clientWidth = kWidth + 2 * kMargin;
  const int clientHeight = bottom + kMargin - kGap;

  int id = kFirstId;
  for (ui::Control* control : controls) {
    auto place = places.find(control);
    if (place == places.end()) continue;
    const RECT& r = place->second;
    const std::string kind = control->kind();
    Bound bound;
    bound.control = control;
    bound.id = id++;
    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD;
    DWORD exStyle = 0;
    if (kind == "Label") {
      style |= SS_LEFT;
    } else if (kind == "Frame") {
      windowClass = L"BUTTON";
      style |= BS_GROUPBOX;
      exStyle = WS_EX_TRANSPARENT;
    } else if (kind == "TextBox") {
      windowClass = L"EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL;
      if (static_cast<ui::TextBox*>(control)->multiLine()) style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
    } else if (kind == "CommandButton") {
      windowClass = L"BUTTON";
      style |= WS_TABSTOP | (static_cast<ui::CommandButton*>(control)->isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    } else if (kind == "CheckBox") {
      windowClass = L"BUTTON";
      style |= WS_TABSTOP | BS_CHECKBOX;
    } else if (kind == "OptionButton") {
      windowClass = L"BUTTON";
      style |= WS_TABSTOP | BS_RADIOBUTTON;
    } else if (kind == "ListBox") {
      if (static_cast<ui::ListBox*>(control)->style() == ui::ListBox::Checkbox) {
        windowClass = WC_LISTVIEWW;
        style |= WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
        bound.checkList = true;
      } else {
        windowClass = L"LISTBOX";
        style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      }
      exStyle = WS_EX_CLIENTEDGE;
    } else if (kind == "ComboBox") {
      windowClass = L"COMBOBOX";
      style |= WS_TABSTOP | WS_VSCROLL |
               (static_cast<ui::ComboBox*>(control)->style() == ui::ComboBox::DropdownList ? CBS_DROPDOWNLIST
                                                                                           : CBS_DROPDOWN | CBS_AUTOHSCROLL);
    } else if (kind == "TreeView") {
      windowClass = WC_TREEVIEWW;
      style |= WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
      exStyle = WS_EX_CLIENTEDGE;
    } else if (kind == "ListView") {
      windowClass = WC_LISTVIEWW;
      style |= WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
      exStyle = WS_EX_CLIENTEDGE;
    }
    // A combo box's height includes its drop-down list.
    const int height = kind == "ComboBox" ? 200 : r.bottom - r.top;
    bound.hwnd = CreateWindowExW(exStyle, windowClass, L"", style, r.left, r.top, r.right - r.left, height, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(bound.id)), ThisModule(),
                                 nullptr);
    SendMessageW(bound.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (kind == "TextBox") SetWindowSubclass(bound.hwnd, &EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
    if (kind == "ListView" || bound.checkList) {
      ListView_SetExtendedListViewStyle(bound.hwnd, LVS_EX_FULLROWSELECT | (bound.checkList ? LVS_EX_CHECKBOXES : 0));
    }
    if (bound.checkList) {
      LVCOLUMNW column = {};
      column.mask = LVCF_WIDTH;
      column.cx = r.right - r.left - GetSystemMetrics(SM_CXVSCROLL) - 4;
      ListView_InsertColumn(bound.hwnd, 0, &column);
    }
    bound_.push_back(bound);
  }
  for (Bound& bound : bound_) Refresh(bound);

  RECT frame = {0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT area = {};
  if (owner_ && IsWindowVisible(owner_))
    GetWindowRect(owner_, &area);
  else
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const int x = std::max(0, static_cast<int>(area.left + (area.right - area.left - width) / 2));
  const int y = std::max(0, static_cast<int>(area.top + (area.bottom - area.top - height) / 2));
  SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::Show() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  FocusActive();
  UpdateWindow(hwnd_);
}

void FormWindow::FocusActive() {
  if (!form_ || !hwnd_ || !IsWindowVisible(hwnd_)) return;
  Bound* active = form_->ActiveControl() ? Find(form_->ActiveControl()) : nullptr;
  if (!active) {
    // The first control in tab order that can take the focus.
    HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (first) SetFocus(first);
    return;
  }
  // A combo box's focus is on its own edit: inside the control counts as on it.
  HWND focus = GetFocus();
  if (focus != active->hwnd && !IsChild(active->hwnd, focus)) SetFocus(active->hwnd);
}

FormWindow::Bound* FormWindow::Find(int id) {
  for (Bound& bound : bound_)
    if (bound.id == id) return &bound;
  return nullptr;
}

FormWindow::Bound* FormWindow::Find(const ui::Control* control) {
  for (Bound& bound : bound_)
    if (bound.control == control) return &bound;
  return nullptr;
}

int FormWindow::DefaultButtonId() const {
  for (const Bound& bound : bound_)
    if (auto* button = dynamic_cast<ui::CommandButton*>(bound.control); button && button->isDefault()) return bound.id;
  return 0;
}

void FormWindow::ControlChanged(ui::Form&, ui::Control& control) {
  if (Bound* bound = Find(&control)) Refresh(*bound);
}

void FormWindow::FormChanged(ui::Form& form) {
  if (!hwnd_) return;
  ++syncing_;
  SetTextIfDifferent(hwnd_, form.caption());
  --syncing_;
  FocusActive();
}

void FormWindow::Refresh(Bound& bound) {
  ui::Control* control = bound.control;
  if (!control || !bound.hwnd) return;
  ++syncing_;
  HWND hwnd = bound.hwnd;
  if (auto* label = dynamic_cast<ui::Label*>(control)) {
    SetTextIfDifferent(hwnd, label->caption());
  } else if (auto* frame = dynamic_cast<ui::Frame*>(control)) {
    SetTextIfDifferent(hwnd, frame->caption());
  } else if (auto* box = dynamic_cast<ui::TextBox*>(control)) {
    SetTextIfDifferent(hwnd, box->text());
    SendMessageW(hwnd, EM_SETREADONLY, box->locked(), 0);
    SendMessageW(hwnd, EM_SETLIMITTEXT, box->maxLength(), 0);
    SendMessageW(hwnd, EM_SETSEL, box->selStart(), box->selStart() + box->selLength());
  } else if (auto* button = dynamic_cast<ui::CommandButton*>(control)) {
    SetTextIfDifferent(hwnd, button->caption());
    SendMessageW(hwnd, BM_SETSTYLE, button->isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  } else if (auto* check = dynamic_cast<ui::CheckBox*>(control)) {
    SetTextIfDifferent(hwnd, check->caption());
    SendMessageW(hwnd, BM_SETCHECK, check->value() == 1 ? BST_CHECKED : check->value() == 2 ? BST_INDETERMINATE : BST_UNCHECKED, 0);
  } else if (auto* option = dynamic_cast<ui::OptionButton*>(control)) {
    SetTextIfDifferent(hwnd, option->caption());
    SendMessageW(hwnd, BM_SETCHECK, option->value() ? BST_CHECKED : BST_UNCHECKED, 0);
  } else if (auto* list = dynamic_cast<ui::ListBox*>(control)) {
    if (bound.checkList) {
      const int count = list->ListCount();
      bool same = ListView_GetItemCount(hwnd) == count;
      for (int i = 0; same && i < count; ++i) {
        wchar_t text[512] = {};
        ListView_GetItemText(hwnd, i, 0, text, 512);
        same = text == Wide(list->List(i));
      }
      if (!same) {
        ListView_DeleteAllItems(hwnd);
        for (int i = 0; i < count; ++i) {
          std::wstring text = Wide(list->List(i));
          LVITEMW item = {};
          item.mask = LVIF_TEXT;
          item.iItem = i;
          item.pszText = text.data();
          ListView_InsertItem(hwnd, &item);
        }
      }
      for (int i = 0; i < count; ++i) {
        ListView_SetCheckState(hwnd, i, list->Selected(i) ? TRUE : FALSE);
        ListView_SetItemState(hwnd, i, i == list->ListIndex() ? LVIS_SELECTED | LVIS_FOCUSED : 0,
                              LVIS_SELECTED | LVIS_FOCUSED);
      }
    } else {
      const int count = list->ListCount();
      bool same = SendMessageW(hwnd, LB_GETCOUNT, 0, 0) == count;
      for (int i = 0; same && i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(hwnd, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(SendMessageW(hwnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        same = text == Wide(list->List(i));
      }
      if (!same) {
        SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
        for (int i = 0; i < count; ++i)
          SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(list->List(i)).c_str()));
      }
      SendMessageW(hwnd, LB_SETCURSEL, list->ListIndex(), 0);
    }
  } else if (auto* combo = dynamic_cast<ui::ComboBox*>(control)) {
    const int count = combo->ListCount();
    bool same = SendMessageW(hwnd, CB_GETCOUNT, 0, 0) == count;
    for (int i = 0; same && i < count; ++i) {
      std::wstring text(static_cast<size_t>(SendMessageW(hwnd, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
      text.resize(static_cast<size_t>(SendMessageW(hwnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
      same = text == Wide(combo->List(i));
    }
    if (!same) {
      SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
      for (int i = 0; i < count; ++i)
        SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(combo->List(i)).c_str()));
    }
    // Setting the selection also sets the edit's text (and clears it for -1): only when it moved.
    if (SendMessageW(hwnd, CB_GETCURSEL, 0, 0) != combo->ListIndex())
      SendMessageW(hwnd, CB_SETCURSEL, combo->ListIndex(), 0);
    if (combo->style() != ui::ComboBox::DropdownList && WindowText(hwnd) != Wide(combo->text())) {
      SetWindowTextW(hwnd, Wide(combo->text()).c_str());
      SendMessageW(hwnd, CB_SETEDITSEL, 0, MAKELPARAM(combo->text().size(), combo->text().size()));
    }
  } else if (dynamic_cast<ui::TreeView*>(control)) {
    // Rebuilt after the current message: the tree may be in the middle of its own notification.
    PostMessageW(hwnd_, kRefreshTree, static_cast<WPARAM>(bound.id), 0);
  } else if (auto* view = dynamic_cast<ui::ListView*>(control)) {
    ListView_DeleteAllItems(hwnd);
    while (ListView_DeleteColumn(hwnd, 0)) {
    }
    const auto& headers = view->columnHeaders();
    RECT client = {};
    GetClientRect(hwnd, &client);
    const int columns = std::max<int>(1, static_cast<int>(headers.size()));
    for (int c = 0; c < static_cast<int>(headers.size()); ++c) {
      std::wstring header = Wide(headers[static_cast<size_t>(c)]);
      LVCOLUMNW column = {};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.pszText = header.data();
      column.cx = (client.right - client.left) / columns;
      ListView_InsertColumn(hwnd, c, &column);
    }
    for (int row = 1; row <= view->ItemCount(); ++row) {
      const std::vector<vb::Text>& cells = view->Row(row);
      for (size_t c = 0; c < cells.size() && c < headers.size(); ++c) {
        std::wstring text = Wide(cells[c]);
        if (c == 0) {
          LVITEMW item = {};
          item.mask = LVIF_TEXT;
          item.iItem = row - 1;
          item.pszText = text.data();
          ListView_InsertItem(hwnd, &item);
        } else {
          ListView_SetItemText(hwnd, row - 1, static_cast<int>(c), text.data());
        }
      }
    }
  }
  bool shown = control->visible();
  for (ui::Control* frame = control->container(); frame && shown; frame = frame->container()) shown = frame->visible();
  ShowWindow(hwnd, shown ? SW_SHOWNA : SW_HIDE);
  EnableWindow(hwnd, control->enabled());
  --syncing_;
}

void FormWindow::RefreshTree(Bound& bound) {
  auto* tree = dynamic_cast<ui::TreeView*>(bound.control);
  if (!tree) return;
  ++syncing_;
  HWND hwnd = bound.hwnd;
  SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
  TreeView_DeleteAllItems(hwnd);
  HTREEITEM selected = nullptr;
  struct Adder {
    HWND hwnd;
    ui::TreeView* tree;
    HTREEITEM* selected;
    void Add(ui::Node* node, HTREEITEM parent) {
      std::wstring text = Wide(node->text());
      TVINSERTSTRUCTW insert = {};
      insert.hParent = parent;
      insert.hInsertAfter = TVI_LAST;
      insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
      insert.item.pszText = text.data();
      insert.item.lParam = reinterpret_cast<LPARAM>(node);
      insert.item.cChildren = node->Children() > 0 ? 1 : 0;
      HTREEITEM item = TreeView_InsertItem(hwnd, &insert);
      if (tree->SelectedItem() == node) *selected = item;
      for (ui::Node* child : node->children()) Add(child, item);
      if (node->expanded()) TreeView_Expand(hwnd, item, TVE_EXPAND);
    }
  } adder{hwnd, tree, &selected};
  for (ui::Node* root : tree->roots()) adder.Add(root, TVI_ROOT);
  if (selected) TreeView_SelectItem(hwnd, selected);
  SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd, nullptr, TRUE);
  --syncing_;
}

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Destroyed with its owner: the object stays until the toolkit drops it, without a window.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    for (Bound& bound : self->bound_) bound.hwnd = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  ++self->busy_;
  LRESULT result = 0;
  try {
    result = self->Handle(message, wParam, lParam);
  } catch (...) {
    // A form's handler that fails leaves the window as it is; nothing reaches the system.
  }
  --self->busy_;
  return result;
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case DM_GETDEFID: {
      const int id = DefaultButtonId();
      return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case WM_COMMAND: {
      if (!form_ || syncing_) return 0;
      const int id = LOWORD(wParam);
      if (id == IDOK && !lParam) {
        form_->PressEnter();
        return 0;
      }
      if (id == IDCANCEL && !lParam) {
        form_->PressEscape();
        return 0;
      }
      if (Bound* bound = Find(id)) Command(*bound, HIWORD(wParam));
      return 0;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (!form_ || syncing_ || !header) return 0;
      if (Bound* bound = Find(static_cast<int>(header->idFrom))) return Notify(*bound, *header);
      return 0;
    }
    case kRefreshTree:
      if (Bound* bound = Find(static_cast<int>(wParam))) RefreshTree(*bound);
      return 0;
    case WM_CLOSE:
      if (form_) form_->CloseBox();
      return 0;
    case WM_SETCURSOR:
      if (hourglass) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void FormWindow::Command(Bound& bound, int code) {
  ui::Control* control = bound.control;
  if (!control) return;
  if (code == BN_CLICKED) {
    if (auto* button = dynamic_cast<ui::CommandButton*>(control)) {
      button->Click();
    } else if (auto* check = dynamic_cast<ui::CheckBox*>(control)) {
      check->Click();
    } else if (auto* option = dynamic_cast<ui::OptionButton*>(control)) {
      option->Click();
    }
    return;
  }
  if (auto* list = dynamic_cast<ui::ListBox*>(control)) {
    const int row = static_cast<int>(SendMessageW(bound.hwnd, LB_GETCURSEL, 0, 0));
    if (code == LBN_SELCHANGE && row >= 0) list->ClickRow(row);
    if (code == LBN_DBLCLK && row >= 0) list->DoubleClickRow(row);
    return;
  }
  if (auto* combo = dynamic_cast<ui::ComboBox*>(control)) {
    if (code == CBN_SELCHANGE) {
      const int row = static_cast<int>(SendMessageW(bound.hwnd, CB_GETCURSEL, 0, 0));
      if (row >= 0) combo->SetListIndex(row);
    } else if (code == CBN_EDITCHANGE) {
      combo->Type(FromWide(WindowText(bound.hwnd)));
    }
    return;
  }
  if (auto* box = dynamic_cast<ui::TextBox*>(control); box && code == EN_CHANGE) {
    // Typing arrives through the edit's own keys; any other change (an input method, a
    // drop) is taken as the person replacing the text.
    const vb::Text now = FromWide(WindowText(bound.hwnd));
    if (now != box->text()) box->Retype(now);
  }
}

LRESULT FormWindow::Notify(Bound& bound, NMHDR& header) {
  if (auto* list = dynamic_cast<ui::ListBox*>(bound.control); list && bound.checkList) {
    if (header.code == LVN_ITEMCHANGED) {
      auto& change = reinterpret_cast<NMLISTVIEW&>(header);
      if (change.iItem < 0 || !(change.uChanged & LVIF_STATE)) return 0;
      if ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) {
        const bool ticked = ListView_GetCheckState(bound.hwnd, change.iItem) != FALSE;
        if (ticked != list->Selected(change.iItem)) list->TickRow(change.iItem);
      }
      if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED) &&
          list->ListIndex() != change.iItem)
        list->ClickRow(change.iItem);
    } else if (header.code == NM_DBLCLK) {
      const int row = ListView_GetNextItem(bound.hwnd, -1, LVNI_SELECTED);
      if (row >= 0) list->DoubleClickRow(row);
    }
    return 0;
  }
  auto* tree = dynamic_cast<ui::TreeView*>(bound.control);
  if (!tree) return 0;
  auto nodeOf = [](HWND hwnd, HTREEITEM item) -> ui::Node* {
    if (!item) return nullptr;
    TVITEMW data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    TreeView_GetItem(hwnd, &data);
    return reinterpret_cast<ui::Node*>(data.lParam);
  };
  auto underPointer = [&]() -> ui::Node* {
    TVHITTESTINFO hit = {};
    GetCursorPos(&hit.pt);
    ScreenToClient(bound.hwnd, &hit.pt);
    return nodeOf(bound.hwnd, TreeView_HitTest(bound.hwnd, &hit));
  };
  switch (header.code) {
    case TVN_SELCHANGEDW: {
      auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
      if (change.action == TVC_BYMOUSE || change.action == TVC_BYKEYBOARD)
        if (ui::Node* node = nodeOf(bound.hwnd, change.itemNew.hItem)) tree->ClickNode(node);
      return 0;
    }
    case TVN_ITEMEXPANDINGW: {
      auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
      if (change.action & TVE_EXPAND)
        if (ui::Node* node = nodeOf(bound.hwnd, change.itemNew.hItem); node && !node->expanded()) tree->ExpandNode(node);
      return 0;
    }
    case NM_RCLICK:
      tree->RightClick(underPointer());
      return 1;
    case NM_DBLCLK:
      if (ui::Node* node = underPointer()) tree->DoubleClickNode(node);
      return 0;
    default:
      return 0;
  }
}

LRESULT CALLBACK FormWindow::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<FormWindow*>(data);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &EditProc, 1);
  if (self && self->form_ && !self->syncing_) {
    for (Bound& bound : self->bound_) {
      if (bound.hwnd != hwnd) continue;
      ++self->busy_;
      LRESULT result = 0;
      try {
        result = self->HandleEdit(bound, hwnd, message, wParam, lParam);
      } catch (...) {
      }
      --self->busy_;
      return result;
    }
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT FormWindow::HandleEdit(Bound& bound, HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* box = dynamic_cast<ui::TextBox*>(bound.control);
  if (!box) return DefSubclassProc(edit, message, wParam, lParam);
  // The model takes the caret and selection a person made before each key.
  auto takeSelection = [&] {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    box->SetSelStart(static_cast<int>(start));
    box->SetSelLength(static_cast<int>(end - start));
  };
  switch (message) {
    case WM_CHAR: {
      const wchar_t c = static_cast<wchar_t>(wParam);
      if (c == L'\t') break;
      if (c == L'\r') {
        if (!box->multiLine()) return 0;
        takeSelection();
        box->Type(u"\r\n");
        return 0;
      }
      if (c < L' ' && c != L'\b') break;  // Ctrl+C, Ctrl+V and the like: the edit's own
      takeSelection();
      box->Type(vb::Text(1, static_cast<char16_t>(c)));
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_DELETE) {
        takeSelection();
        box->PressDelete();
        return 0;
      }
      break;
    case WM_PASTE: {
      vb::Text pasted;
      if (OpenClipboard(edit)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
          if (auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            pasted = FromWide(text, wcslen(text));
            GlobalUnlock(data);
          }
        }
        CloseClipboard();
      }
      takeSelection();
      box->Paste(pasted);
      return 0;
    }
    case WM_CUT:
    case WM_CLEAR:
      if (message == WM_CUT) DefSubclassProc(edit, WM_COPY, 0, 0);
      takeSelection();
      if (box->selLength() > 0) box->PressDelete();
      return 0;
    default:
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace win32
