#include "win32/control_windows.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "win32/wide_text.h"

namespace win32 {

namespace {

// The rows of a list-like window, reached through its own messages.
struct RowWindow {
  int (*count)(HWND);
  std::wstring (*text)(HWND, int row);
  void (*clear)(HWND);
  void (*append)(HWND, int row, std::wstring text);
};

const RowWindow kListBoxRows = {
    [](HWND hwnd) { return static_cast<int>(SendMessageW(hwnd, LB_GETCOUNT, 0, 0)); },
    [](HWND hwnd, int row) {
      std::wstring text(static_cast<size_t>(SendMessageW(hwnd, LB_GETTEXTLEN, row, 0)) + 1, L'\0');
      text.resize(static_cast<size_t>(SendMessageW(hwnd, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
      return text;
    },
    [](HWND hwnd) { SendMessageW(hwnd, LB_RESETCONTENT, 0, 0); },
    [](HWND hwnd, int, std::wstring text) { SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())); },
};

const RowWindow kComboBoxRows = {
    [](HWND hwnd) { return static_cast<int>(SendMessageW(hwnd, CB_GETCOUNT, 0, 0)); },
    [](HWND hwnd, int row) {
      std::wstring text(static_cast<size_t>(SendMessageW(hwnd, CB_GETLBTEXTLEN, row, 0)) + 1, L'\0');
      text.resize(static_cast<size_t>(SendMessageW(hwnd, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
      return text;
    },
    [](HWND hwnd) { SendMessageW(hwnd, CB_RESETCONTENT, 0, 0); },
    [](HWND hwnd, int, std::wstring text) { SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())); },
};

const RowWindow kListViewRows = {
    [](HWND hwnd) { return ListView_GetItemCount(hwnd); },
    [](HWND hwnd, int row) {
      wchar_t text[512] = {};
      ListView_GetItemText(hwnd, row, 0, text, 512);
      return std::wstring(text);
    },
    [](HWND hwnd) { ListView_DeleteAllItems(hwnd); },
    [](HWND hwnd, int row, std::wstring text) {
      LVITEMW item = {};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      item.pszText = text.data();
      ListView_InsertItem(hwnd, &item);
    },
};

// Makes the window's rows those of the control; rebuilds them only when they differ, since a
// rebuild loses the window's scroll position.
template <class List>
void SyncRows(HWND hwnd, const List& list, const RowWindow& rows) {
  const int count = list.listCount();
  bool same = rows.count(hwnd) == count;
  for (int i = 0; same && i < count; ++i) same = rows.text(hwnd, i) == Wide(list.List(i));
  if (same) return;
  rows.clear(hwnd);
  for (int i = 0; i < count; ++i) rows.append(hwnd, i, Wide(list.List(i)));
}

void MirrorTextBox(HWND hwnd, const ui::TextBox& box) {
  SetTextIfDifferent(hwnd, box.text());
  SendMessageW(hwnd, EM_SETREADONLY, box.locked(), 0);
  SendMessageW(hwnd, EM_SETLIMITTEXT, box.maxLength(), 0);
  SendMessageW(hwnd, EM_SETSEL, box.selStart(), box.selStart() + box.selLength());
}

void MirrorListBox(HWND hwnd, const ui::ListBox& list, bool checkList) {
  if (!checkList) {
    SyncRows(hwnd, list, kListBoxRows);
    SendMessageW(hwnd, LB_SETCURSEL, list.listIndex(), 0);
    return;
  }
  SyncRows(hwnd, list, kListViewRows);
  for (int i = 0; i < list.listCount(); ++i) {
    ListView_SetCheckState(hwnd, i, list.Selected(i) ? TRUE : FALSE);
    ListView_SetItemState(hwnd, i, i == list.listIndex() ? LVIS_SELECTED | LVIS_FOCUSED : 0, LVIS_SELECTED | LVIS_FOCUSED);
  }
}

void MirrorComboBox(HWND hwnd, const ui::ComboBox& combo) {
  SyncRows(hwnd, combo, kComboBoxRows);
  // Setting the selection also sets the edit's text (and clears it for -1): only when it moved.
  if (SendMessageW(hwnd, CB_GETCURSEL, 0, 0) != combo.listIndex()) SendMessageW(hwnd, CB_SETCURSEL, combo.listIndex(), 0);
  if (combo.style() != ui::ComboBox::DropdownList && WindowText(hwnd) != Wide(combo.text())) {
    SetWindowTextW(hwnd, Wide(combo.text()).c_str());
    SendMessageW(hwnd, CB_SETEDITSEL, 0, MAKELPARAM(combo.text().size(), combo.text().size()));
  }
}

// A report list is rebuilt whole; each column is as wide as its header or its widest cell.
void MirrorListView(HWND hwnd, const ui::ListView& view) {
  ListView_DeleteAllItems(hwnd);
  while (ListView_DeleteColumn(hwnd, 0)) {
  }
  const std::vector<vb::Text>& headers = view.columnHeaders();
  for (size_t c = 0; c < headers.size(); ++c) {
    std::wstring header = Wide(headers[c]);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = header.data();
    ListView_InsertColumn(hwnd, static_cast<int>(c), &column);
  }
  for (int row = 1; row <= view.itemCount(); ++row) {
    const std::vector<vb::Text>& cells = view.Row(row);
    for (size_t c = 0; c < cells.size() && c < headers.size(); ++c) {
      std::wstring text = Wide(cells[c]);
      if (c == 0)
        kListViewRows.append(hwnd, row - 1, text);
      else
        ListView_SetItemText(hwnd, row - 1, static_cast<int>(c), text.data());
    }
  }
  // Measured here: the list view's own automatic width leaves too little room for the header's margins.
  for (size_t c = 0; c < headers.size(); ++c) {
    int width = ListView_GetStringWidth(hwnd, Wide(headers[c]).c_str());
    for (int row = 1; row <= view.itemCount(); ++row)
      if (c < view.Row(row).size()) width = std::max(width, ListView_GetStringWidth(hwnd, Wide(view.Row(row)[c]).c_str()));
    ListView_SetColumnWidth(hwnd, static_cast<int>(c), width + kReportColumnPadding);
  }
}

int CheckState(int value) { return value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED; }

template <class T>
const T* As(const ui::Control& control) {
  return dynamic_cast<const T*>(&control);
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetTextIfDifferent(HWND hwnd, vb::TextView text) {
  const std::wstring wanted = Wide(text);
  if (WindowText(hwnd) != wanted) SetWindowTextW(hwnd, wanted.c_str());
}

ChildWindowStyle StyleOf(const ui::Control& control) {
  const DWORD child = WS_CHILD;
  const DWORD tab = WS_CHILD | WS_TABSTOP;
  if (As<ui::Label>(control)) return {L"STATIC", child | SS_LEFT};
  if (As<ui::Frame>(control)) return {L"BUTTON", child | BS_GROUPBOX, WS_EX_TRANSPARENT};
  if (const auto* box = As<ui::TextBox>(control)) {
    if (!box->multiLine()) return {L"EDIT", tab | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    // Without a horizontal scroll bar the lines wrap at the edge, as in VB.
    DWORD style = tab | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (box->scrollBars() & ui::vbHorizontal) style |= WS_HSCROLL | ES_AUTOHSCROLL;
    if (box->scrollBars() & ui::vbVertical) style |= WS_VSCROLL;
    return {L"EDIT", style, WS_EX_CLIENTEDGE};
  }
  if (const auto* button = As<ui::CommandButton>(control))
    return {L"BUTTON", tab | (button->isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)};
  if (As<ui::CheckBox>(control)) return {L"BUTTON", tab | BS_CHECKBOX};
  if (As<ui::OptionButton>(control)) return {L"BUTTON", tab | BS_RADIOBUTTON};
  if (const auto* list = As<ui::ListBox>(control)) {
    if (list->style() == ui::ListBox::Checkbox)
      return {WC_LISTVIEWW, tab | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE,
              true};
    return {L"LISTBOX", tab | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
  }
  if (const auto* combo = As<ui::ComboBox>(control))
    return {L"COMBOBOX", tab | WS_VSCROLL |
                             (combo->style() == ui::ComboBox::DropdownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL)};
  if (As<ui::TreeView>(control))
    return {WC_TREEVIEWW, tab | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE};
  if (As<ui::ListView>(control))
    return {WC_LISTVIEWW, tab | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE};
  return {nullptr};
}

void PrepareChildWindow(HWND hwnd, const ChildWindowStyle& style) {
  if (!style.windowClass || wcscmp(style.windowClass, WC_LISTVIEWW) != 0) return;
  ListView_SetExtendedListViewStyle(hwnd, LVS_EX_FULLROWSELECT | (style.checkList ? LVS_EX_CHECKBOXES : 0));
  if (style.checkList) {
    RECT client = {};
    GetClientRect(hwnd, &client);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = client.right - client.left;
    ListView_InsertColumn(hwnd, 0, &column);
  }
}

void MirrorControl(HWND hwnd, const ui::Control& control, bool checkList) {
  if (const auto* label = As<ui::Label>(control)) {
    SetTextIfDifferent(hwnd, label->caption());
  } else if (const auto* frame = As<ui::Frame>(control)) {
    SetTextIfDifferent(hwnd, frame->caption());
  } else if (const auto* box = As<ui::TextBox>(control)) {
    MirrorTextBox(hwnd, *box);
  } else if (const auto* button = As<ui::CommandButton>(control)) {
    SetTextIfDifferent(hwnd, button->caption());
    SendMessageW(hwnd, BM_SETSTYLE, button->isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  } else if (const auto* check = As<ui::CheckBox>(control)) {
    SetTextIfDifferent(hwnd, check->caption());
    SendMessageW(hwnd, BM_SETCHECK, CheckState(check->value()), 0);
  } else if (const auto* option = As<ui::OptionButton>(control)) {
    SetTextIfDifferent(hwnd, option->caption());
    SendMessageW(hwnd, BM_SETCHECK, option->value() ? BST_CHECKED : BST_UNCHECKED, 0);
  } else if (const auto* list = As<ui::ListBox>(control)) {
    MirrorListBox(hwnd, *list, checkList);
  } else if (const auto* combo = As<ui::ComboBox>(control)) {
    MirrorComboBox(hwnd, *combo);
  } else if (const auto* view = As<ui::ListView>(control)) {
    MirrorListView(hwnd, *view);
  }
}

void MirrorTree(HWND hwnd, ui::TreeView& tree) {
  SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
  TreeView_DeleteAllItems(hwnd);
  HTREEITEM selected = nullptr;
  struct Adder {
    HWND hwnd;
    const ui::TreeView& tree;
    HTREEITEM& selected;
    void Add(ui::Node* node, HTREEITEM parent) {
      std::wstring text = Wide(node->text());
      TVINSERTSTRUCTW insert = {};
      insert.hParent = parent;
      insert.hInsertAfter = TVI_LAST;
      insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
      insert.item.pszText = text.data();
      insert.item.lParam = reinterpret_cast<LPARAM>(node);
      insert.item.cChildren = node->children().empty() ? 0 : 1;
      HTREEITEM item = TreeView_InsertItem(hwnd, &insert);
      if (tree.selectedItem() == node) selected = item;
      for (ui::Node* child : node->children()) Add(child, item);
      if (node->expanded()) TreeView_Expand(hwnd, item, TVE_EXPAND);
    }
  } adder{hwnd, tree, selected};
  for (ui::Node* root : tree.roots()) adder.Add(root, TVI_ROOT);
  if (selected) TreeView_SelectItem(hwnd, selected);
  SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd, nullptr, TRUE);
}

}  // namespace win32
