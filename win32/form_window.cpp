#include "win32/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "win32/com_module.h"
#include "win32/control_windows.h"
#include "win32/form_layout.h"
#include "win32/wide_text.h"

namespace win32 {

namespace {

constexpr const wchar_t* kClassName = L"Vb6KitForm";
constexpr UINT kRefreshTree = WM_APP + 1;  // wParam: the id of a tree to rebuild
constexpr int kFirstId = 100;              // clear of IDOK and IDCANCEL
constexpr int kComboListHeight = 200;

bool hourglass = false;

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

// The dialog font: the system's message font, in the form's face when it names one.
HFONT CreateDialogFont(const ui::Form& form) {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW logFont = metrics.lfMessageFont;
  if (!form.fontName().empty()) {
    const std::wstring face = Wide(form.fontName());
    wcsncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  }
  return CreateFontIndirectW(&logFont);
}

// The height of the control's window at its place: a combo box's includes its drop-down list.
int WindowHeight(const ui::Control* control, const RECT& place) {
  return dynamic_cast<const ui::ComboBox*>(control) ? kComboListHeight : static_cast<int>(place.bottom - place.top);
}

}  // namespace

FormWindow::FormWindow(ui::Form& form, HWND owner) : form_(&form), owner_(owner), font_(CreateDialogFont(form)) {
  RegisterFormClass();
  const bool sizable = form.borderStyle() == ui::vbSizable;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (sizable ? WS_THICKFRAME | WS_MAXIMIZEBOX : 0);
  hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT | (sizable ? 0 : WS_EX_DLGMODALFRAME), kClassName,
                          Wide(form.caption()).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner, nullptr,
                          ThisModule(), nullptr);
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
  const FormLayout layout = LayOutForm(*form_, TextMeasure(font_));
  int id = kFirstId;
  for (ui::Control* control : form_->controls()) {
    auto place = layout.places.find(control);
    const ChildWindowStyle style = StyleOf(*control);
    if (place == layout.places.end() || !style.windowClass) continue;
    const RECT& r = place->second;
    Bound bound{control, nullptr, id++, style.checkList};
    bound.hwnd = CreateWindowExW(style.exStyle, style.windowClass, L"", style.style, r.left, r.top, r.right - r.left,
                                 WindowHeight(control, r), hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(bound.id)), ThisModule(), nullptr);
    SendMessageW(bound.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    PrepareChildWindow(bound.hwnd, style);
    if (dynamic_cast<ui::TextBox*>(control)) SetWindowSubclass(bound.hwnd, &EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
    bound_.push_back(bound);
  }
  for (Bound& bound : bound_) Refresh(bound);

  // The window as large as its layout, no smaller, centred over its owner (or the screen).
  RECT frame = {0, 0, layout.client.cx, layout.client.cy};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
  smallest_ = SIZE{frame.right - frame.left, frame.bottom - frame.top};
  RECT area = {};
  if (owner_ && IsWindowVisible(owner_))
    GetWindowRect(owner_, &area);
  else
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const int x = std::max(0, static_cast<int>(area.left + (area.right - area.left - smallest_.cx) / 2));
  const int y = std::max(0, static_cast<int>(area.top + (area.bottom - area.top - smallest_.cy) / 2));
  SetWindowPos(hwnd_, nullptr, x, y, smallest_.cx, smallest_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::Arrange() {
  if (!form_ || !hwnd_) return;
  RECT client = {};
  GetClientRect(hwnd_, &client);
  const FormLayout layout = LayOutForm(*form_, TextMeasure(font_), SIZE{client.right, client.bottom});
  HDWP moves = BeginDeferWindowPos(static_cast<int>(bound_.size()));
  for (const Bound& bound : bound_) {
    auto place = layout.places.find(bound.control);
    if (place == layout.places.end() || !bound.hwnd || !moves) continue;
    const RECT& r = place->second;
    moves = DeferWindowPos(moves, bound.hwnd, nullptr, r.left, r.top, r.right - r.left,
                           WindowHeight(bound.control, r),
                           SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (moves) EndDeferWindowPos(moves);
  InvalidateRect(hwnd_, nullptr, TRUE);
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
  if (dynamic_cast<ui::TreeView*>(control))
    // Rebuilt after the current message: the tree may be in the middle of its own notification.
    PostMessageW(hwnd_, kRefreshTree, static_cast<WPARAM>(bound.id), 0);
  else
    MirrorControl(bound.hwnd, *control, bound.checkList);
  bool shown = control->visible();
  for (ui::Control* frame = control->container(); frame && shown; frame = frame->container()) shown = frame->visible();
  ShowWindow(bound.hwnd, shown ? SW_SHOWNA : SW_HIDE);
  EnableWindow(bound.hwnd, control->enabled());
  --syncing_;
}

void FormWindow::RefreshTree(Bound& bound) {
  auto* tree = dynamic_cast<ui::TreeView*>(bound.control);
  if (!tree || !bound.hwnd) return;
  ++syncing_;
  MirrorTree(bound.hwnd, *tree);
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
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) Arrange();
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{smallest_.cx, smallest_.cy};
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
  if (auto* list = dynamic_cast<ui::ListBox*>(bound.control); list && bound.checkList) NotifyCheckList(bound, *list, header);
  if (auto* tree = dynamic_cast<ui::TreeView*>(bound.control)) return NotifyTree(bound, *tree, header);
  return 0;
}

void FormWindow::NotifyCheckList(Bound& bound, ui::ListBox& list, NMHDR& header) {
  if (header.code == LVN_ITEMCHANGED) {
    auto& change = reinterpret_cast<NMLISTVIEW&>(header);
    if (change.iItem < 0 || !(change.uChanged & LVIF_STATE)) return;
    if ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) {
      const bool ticked = ListView_GetCheckState(bound.hwnd, change.iItem) != FALSE;
      if (ticked != list.Selected(change.iItem)) list.TickRow(change.iItem);
    }
    if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED) && list.listIndex() != change.iItem)
      list.ClickRow(change.iItem);
  } else if (header.code == NM_DBLCLK) {
    const int row = ListView_GetNextItem(bound.hwnd, -1, LVNI_SELECTED);
    if (row >= 0) list.DoubleClickRow(row);
  }
}

LRESULT FormWindow::NotifyTree(Bound& bound, ui::TreeView& tree, NMHDR& header) {
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
        if (ui::Node* node = nodeOf(bound.hwnd, change.itemNew.hItem)) tree.ClickNode(node);
      return 0;
    }
    case TVN_ITEMEXPANDINGW: {
      auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
      if (change.action & TVE_EXPAND)
        if (ui::Node* node = nodeOf(bound.hwnd, change.itemNew.hItem); node && !node->expanded()) tree.ExpandNode(node);
      return 0;
    }
    case NM_RCLICK:
      tree.RightClick(underPointer());
      return 1;
    case NM_DBLCLK:
      if (ui::Node* node = underPointer()) tree.DoubleClickNode(node);
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
