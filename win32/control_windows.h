// The child window that draws each kind of control of the form model: its window class and styles,
// and how it is brought in line with the control's state (caption, text, value, rows, selection).
// The form window creates them where its layout puts them, and turns a person's input on them back
// into the model's actions (form_window.cpp).
#pragma once

#include <windows.h>

#include <string>

#include "framework/ui/controls.h"

namespace win32 {

// The room a report list's column gives beyond its widest text (header or cell).
inline constexpr int kReportColumnPadding = 20;

struct ChildWindowStyle {
  const wchar_t* windowClass = L"STATIC";
  DWORD style = WS_CHILD;
  DWORD exStyle = 0;
  bool checkList = false;  // a check-box list box, drawn as a list view with check boxes
};

// How the control is drawn; nullptr windowClass: it has no window (a menu, the font dialog).
ChildWindowStyle StyleOf(const ui::Control& control);

// Finishes a new child window of `style`: list views' extended styles, a check list's one column.
void PrepareChildWindow(HWND hwnd, const ChildWindowStyle& style);

// Brings the window in line with the control's own state. A tree is rebuilt by MirrorTree.
void MirrorControl(HWND hwnd, const ui::Control& control, bool checkList);
void MirrorTree(HWND hwnd, ui::TreeView& tree);

std::wstring WindowText(HWND hwnd);
void SetTextIfDifferent(HWND hwnd, vb::TextView text);

}  // namespace win32
