// Every dialog of the suite, opened through the DLLs on the example project: the text of each
// control fits inside it in the dialog's font, no two sibling controls overlap or leave the
// window, multi-line boxes have the scroll bars their forms declare, and the sizable windows are
// large and take their text box along when they grow.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "check.h"
#include "dialog_tour.h"
#include "window_driver.h"

using namespace wintest;

namespace {

struct ChildWindow {
  HWND hwnd;
  std::wstring windowClass;
  std::wstring text;
  RECT rect;  // in the dialog's client coordinates
  DWORD style;
  std::wstring name;  // for messages: its class and text, or its place among its class
};

std::vector<ChildWindow> Children(HWND dialog) {
  std::vector<ChildWindow> children;
  std::map<std::wstring, int> counts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    ChildWindow window{child, name, TextOf(child), {}, static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE)), {}};
    GetWindowRect(child, &window.rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&window.rect), 2);
    window.name = window.windowClass + L" " + std::to_wstring(++counts[window.windowClass]);
    if (!window.text.empty() && window.text.size() < 60) window.name += L" \"" + window.text + L"\"";
    children.push_back(window);
  }
  return children;
}

bool MultiLineEdit(const ChildWindow& child) {
  return _wcsicmp(child.windowClass.c_str(), L"Edit") == 0 && (child.style & ES_MULTILINE);
}

// What a control draws of a caption: an access key's "&" is drawn as an underline ("&&" as "&").
std::wstring Drawn(const std::wstring& caption) {
  std::wstring shown;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

class DialogFont {
 public:
  explicit DialogFont(HWND control) : dc_(GetDC(control)) {
    old_ = SelectObject(dc_, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    GetTextMetricsW(dc_, &metrics_);
  }
  ~DialogFont() {
    SelectObject(dc_, old_);
    ReleaseDC(nullptr, dc_);
  }
  DialogFont(const DialogFont&) = delete;
  DialogFont& operator=(const DialogFont&) = delete;
  int Width(const std::wstring& text) const {
    SIZE size = {};
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }
  int lineHeight() const { return metrics_.tmHeight; }
  int averageCharWidth() const { return metrics_.tmAveCharWidth; }
  // Lines of the text wrapped word by word at `width`; 0 when a single word is wider.
  int WrappedLines(const std::wstring& text, int width) const {
    int lines = 0;
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find(L'\n', start);
      if (end == std::wstring::npos) end = text.size();
      std::wstring line;
      ++lines;
      for (size_t word = start; word < end;) {
        size_t space = text.find(L' ', word);
        if (space == std::wstring::npos || space > end) space = end;
        std::wstring piece = text.substr(word, space - word);
        if (!piece.empty() && piece.back() == L'\r') piece.pop_back();
        if (Width(piece) > width) return 0;
        const std::wstring longer = line.empty() ? piece : line + L" " + piece;
        if (Width(longer) > width) {
          ++lines;
          line = piece;
        } else {
          line = longer;
        }
        word = space + 1;
      }
      start = end + 1;
    }
    return lines;
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
  TEXTMETRICW metrics_ = {};
};

// What of the child's text does not fit in its client area, or empty.
std::wstring TextProblem(const ChildWindow& child) {
  RECT client = {};
  GetClientRect(child.hwnd, &client);
  const int width = client.right, height = client.bottom;
  const DialogFont font(child.hwnd);
  const std::wstring shown = Drawn(child.text);
  const int check = GetSystemMetrics(SM_CXMENUCHECK) + 4;
  auto tooNarrow = [&](int needed) {
    return needed > width ? L"is " + std::to_wstring(width) + L" px wide, its text needs " + std::to_wstring(needed)
                          : std::wstring();
  };
  if (font.lineHeight() > height) return L"is " + std::to_wstring(height) + L" px high, a line of text needs " +
                                         std::to_wstring(font.lineHeight());
  const std::wstring windowClass = child.windowClass;
  if (_wcsicmp(windowClass.c_str(), L"Static") == 0) {
    const int lines = font.WrappedLines(shown, width);
    if (lines == 0) return L"has a word wider than its " + std::to_wstring(width) + L" px";
    if (lines * font.lineHeight() > height)
      return L"shows " + std::to_wstring(height / font.lineHeight()) + L" of its " + std::to_wstring(lines) + L" lines";
    return {};
  }
  if (_wcsicmp(windowClass.c_str(), L"Button") == 0) {
    switch (child.style & BS_TYPEMASK) {
      case BS_GROUPBOX:
        return tooNarrow(font.Width(shown) + 16);
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return tooNarrow(font.Width(shown) + check);
      default:
        return tooNarrow(font.Width(shown) + 8);
    }
  }
  if (_wcsicmp(windowClass.c_str(), L"Edit") == 0 && !(child.style & ES_MULTILINE)) return tooNarrow(font.Width(child.text) + 4);
  if (_wcsicmp(windowClass.c_str(), L"ComboBox") == 0) return tooNarrow(font.Width(child.text) + GetSystemMetrics(SM_CXVSCROLL) + 4);
  if (_wcsicmp(windowClass.c_str(), L"ListBox") == 0) {
    for (int row = 0; row < SendMessageW(child.hwnd, LB_GETCOUNT, 0, 0); ++row) {
      wchar_t text[512] = {};
      SendMessageW(child.hwnd, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
      if (std::wstring problem = tooNarrow(font.Width(text) + 4); !problem.empty()) return L"row \"" + std::wstring(text) + L"\" " + problem;
    }
    return {};
  }
  if (windowClass == WC_LISTVIEWW) {
    const bool headers = !(child.style & LVS_NOCOLUMNHEADER);
    HWND header = ListView_GetHeader(child.hwnd);
    const int columns = headers && header ? Header_GetItemCount(header) : 1;
    for (int column = 0; column < columns; ++column) {
      const int columnWidth = ListView_GetColumnWidth(child.hwnd, column);
      for (int row = headers ? -1 : 0; row < ListView_GetItemCount(child.hwnd); ++row) {
        wchar_t text[512] = {};
        if (row < 0) {
          HDITEMW item = {};
          item.mask = HDI_TEXT;
          item.pszText = text;
          item.cchTextMax = 512;
          Header_GetItem(header, column, &item);
        } else {
          ListView_GetItemText(child.hwnd, row, column, text, 512);
        }
        // A header keeps a margin of three edges on each side of its text.
        const int needed = font.Width(text) + (headers ? 6 * GetSystemMetrics(SM_CXEDGE) + 2 : check + 4);
        if (needed > columnWidth)
          return L"column " + std::to_wstring(column) + L" is " + std::to_wstring(columnWidth) + L" px wide, \"" + text +
                 L"\" needs " + std::to_wstring(needed);
      }
    }
  }
  return {};
}

bool Inside(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

bool GroupBox(const ChildWindow& child) {
  return _wcsicmp(child.windowClass.c_str(), L"Button") == 0 && (child.style & BS_TYPEMASK) == BS_GROUPBOX;
}

// Every problem of the dialog's layout, each naming the dialog and the control.
std::vector<std::wstring> LayoutProblems(const std::wstring& dialogName, HWND dialog) {
  std::vector<std::wstring> problems;
  const std::vector<ChildWindow> children = Children(dialog);
  RECT client = {};
  GetClientRect(dialog, &client);
  for (size_t i = 0; i < children.size(); ++i) {
    const ChildWindow& a = children[i];
    if (std::wstring problem = TextProblem(a); !problem.empty()) problems.push_back(dialogName + L": " + a.name + L" " + problem);
    if (!Inside(client, a.rect)) problems.push_back(dialogName + L": " + a.name + L" goes past the window's edge");
    for (size_t j = i + 1; j < children.size(); ++j) {
      const ChildWindow& b = children[j];
      RECT common = {};
      if (!IntersectRect(&common, &a.rect, &b.rect)) continue;
      // A frame holds its controls.
      if ((GroupBox(a) && Inside(a.rect, b.rect)) || (GroupBox(b) && Inside(b.rect, a.rect))) continue;
      problems.push_back(dialogName + L": " + a.name + L" and " + b.name + L" overlap");
    }
  }
  return problems;
}

// A person selecting all of a box and pasting `text` over it.
void PasteOver(HWND box, const std::wstring& text) {
  if (!OpenClipboard(box)) return;
  EmptyClipboard();
  if (HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
    memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(data);
    if (!SetClipboardData(CF_UNICODETEXT, data)) GlobalFree(data);
  }
  CloseClipboard();
  SendMessageW(box, EM_SETSEL, 0, -1);
  SendMessageW(box, WM_PASTE, 0, 0);
}

enum Bars { kNoBars = 0, kHorizontal = 1, kVertical = 2, kBoth = 3 };

// The multi-line boxes of the suite with the scroll bars their forms declare, and which dialogs
// are sizable.
struct Declared {
  const wchar_t* dialog;
  Bars bars;
  bool sizable;
};
const Declared kDeclared[] = {
    {L"Comment - Add Function Declaration", kVertical, false},
    {L"Comment - Add Comment Revision", kVertical, false},
    {L"Pellmoss - Add Code Segment", kBoth, true},
    {L"Pellmoss - Code Storage Admin", kBoth, true},
    {L"Pellmoss - Replace Code Tag", kBoth, false},
    {L"Tallowick - Project Summary", kBoth, true},
};

const std::vector<std::wstring> kEveryDialog = {
    L"Comment - Add Comment Revision", L"Comment - Add Function Declaration", L"Comment - Goto Function",
    L"Morrowgate - Add Interface(s) to Component", L"Morrowgate - Determine Property Type",
    L"Pellmoss - Add Code Segment", L"Pellmoss - Code Storage Admin", L"Pellmoss - Replace Code Tag",
    L"Pellmoss - Retrieve Code Listing", L"Quenby - Quenby Tool", L"Ravlen - New CheckBox Control",
    L"Ravlen - New ComboBox Control", L"Ravlen - New CommandButton Control", L"Ravlen - New Frame Control",
    L"Ravlen - New Horizontal Scroll Bar", L"Ravlen - New Label Control", L"Ravlen - New ListBox Control",
    L"Ravlen - New ListView Control", L"Ravlen - New Masked Edit Control", L"Ravlen - New Misc Control",
    L"Ravlen - New OptionButton Control", L"Ravlen - New Rich Text Box Control", L"Ravlen - New Tabbed Dialog Control",
    L"Ravlen - New TextBox Control", L"Ravlen - New Timer Control", L"Ravlen - New TreeView Control",
    L"Ravlen - New Vertical Scroll Bar", L"Ravlen - Ravlen Editor Options", L"Ravlen - Remove Code for Control",
    L"Ravlen - Rename Code for Control", L"Tallowick - Code Counting Results", L"Tallowick - Component Line Counter",
    L"Tallowick - Project Summary",
};

// The declared scroll bars and size of the dialog's multi-line box: present, and a sizable
// window is large and takes the box along when it grows.
std::vector<std::wstring> BoxProblems(const std::wstring& dialogName, HWND dialog) {
  std::vector<std::wstring> problems;
  const Declared* declared = nullptr;
  for (const Declared& entry : kDeclared)
    if (dialogName == entry.dialog) declared = &entry;
  const bool sizable = (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_THICKFRAME) != 0;
  if (sizable != (declared && declared->sizable))
    problems.push_back(dialogName + (sizable ? L" can be resized" : L" cannot be resized"));
  for (const ChildWindow& box : Children(dialog)) {
    if (!MultiLineEdit(box)) continue;
    const int bars = ((box.style & WS_HSCROLL) ? kHorizontal : 0) | ((box.style & WS_VSCROLL) ? kVertical : 0);
    if (!declared || bars != declared->bars)
      problems.push_back(dialogName + L": " + box.name + L" has scroll bars " + std::to_wstring(bars) + L", declared " +
                         std::to_wstring(declared ? declared->bars : -1));
    if (!sizable) continue;
    const DialogFont font(box.hwnd);
    if (box.rect.right - box.rect.left < 72 * font.averageCharWidth() ||
        box.rect.bottom - box.rect.top < 14 * font.lineHeight())
      problems.push_back(dialogName + L": " + box.name + L" is small");
    // A long text typed or chosen since the window opened must not push anything out of it.
    std::wstring longText;
    for (int line = 0; line < 40; ++line) longText += std::wstring(150, L'x') + L"\r\n";
    PasteOver(box.hwnd, longText);
    RECT window = {};
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + 160, window.bottom - window.top + 120,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT grown = {};
    GetWindowRect(box.hwnd, &grown);
    if (grown.right - grown.left != box.rect.right - box.rect.left + 160 || grown.bottom - grown.top != box.rect.bottom - box.rect.top + 120)
      problems.push_back(dialogName + L": " + box.name + L" does not follow the window");
    for (const std::wstring& problem : LayoutProblems(dialogName + L" (enlarged)", dialog)) problems.push_back(problem);
  }
  return problems;
}

}  // namespace

WIN_TEST(EveryDialogFitsItsTextAndDeclaredScrollBars) {
  std::vector<std::wstring> problems;
  int resultRows = 0;
  std::wstring summary;
  const TourResult tour = TourEveryDialog([&](const std::wstring& addin, HWND dialog) {
    const std::wstring name = addin + L" - " + TextOf(dialog);
    if (name == L"Tallowick - Code Counting Results") resultRows = ListView_GetItemCount(Child(dialog, WC_LISTVIEWW));
    if (name == L"Tallowick - Project Summary") summary = TextOf(Child(dialog, L"Edit"));
    for (const std::wstring& problem : LayoutProblems(name, dialog)) problems.push_back(problem);
    for (const std::wstring& problem : BoxProblems(name, dialog)) problems.push_back(problem);
  });
  CHECK_EQ(tour.errors, std::vector<std::string>{});
  std::vector<std::wstring> visited = tour.visited;
  std::sort(visited.begin(), visited.end());
  CHECK_EQ(visited, kEveryDialog);
  CHECK_EQ(problems, std::vector<std::wstring>{});
  // The counts and the summary are those of the example project's four components.
  CHECK(resultRows >= 4);
  CHECK(summary.find(L"modStock") != std::wstring::npos);
  CHECK(summary.find(L"IStockItem") != std::wstring::npos);
}
