#include "win32/win32_toolkit.h"

#include <commdlg.h>
// The toolkit's member of that name, not the system's macro for ChooseFontW.
#undef ChooseFont

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/vb_error.h"
#include "win32/form_window.h"
#include "win32/wide_text.h"

namespace win32 {

Win32Toolkit::Win32Toolkit(vb::Text applicationTitle) : applicationTitle_(std::move(applicationTitle)) {}

Win32Toolkit::~Win32Toolkit() {
  if (dialogKeys_) UnhookWindowsHookEx(dialogKeys_);
  for (auto& [form, window] : windows_) delete window;
  for (FormWindow* window : closing_) delete window;
}

HWND Win32Toolkit::OwnerWindow() {
  HWND active = GetActiveWindow();
  return active && IsWindowVisible(active) ? active : nullptr;
}

HWND Win32Toolkit::WindowOf(const ui::Form& form) const {
  auto found = windows_.find(&form);
  return found == windows_.end() ? nullptr : found->second->hwnd();
}

FormWindow& Win32Toolkit::Open(ui::Form& form, HWND owner) {
  auto found = windows_.find(&form);
  if (found != windows_.end()) return *found->second;
  auto* window = new FormWindow(form, owner);
  if (!window->hwnd()) {
    delete window;
    vb::Raise(7, u"Out of memory: the window of " + form.name() + u" could not be created");
  }
  windows_[&form] = window;
  return *window;
}

void Win32Toolkit::Dispatch(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  // Tab, arrow keys, access keys, Enter and Esc in a form window work as in a dialog.
  if (root && FormWindow::IsFormWindow(root) && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Win32Toolkit::Collect() {
  std::vector<FormWindow*> keep;
  for (FormWindow* window : closing_) {
    if (window->busy() || std::find(modal_.begin(), modal_.end(), window) != modal_.end())
      keep.push_back(window);
    else
      delete window;
  }
  closing_ = std::move(keep);
}

void Win32Toolkit::ShowModal(ui::Form& form) {
  Collect();
  HWND owner = OwnerWindow();
  FormWindow& window = Open(form, owner);
  modal_.push_back(&window);
  const bool ownerEnabled = owner && IsWindowEnabled(owner);
  if (ownerEnabled) EnableWindow(owner, FALSE);
  window.Show();
  form.Activate();
  // The form's own loop on this thread: it ends when the form is hidden or unloaded.
  bool quit = false;
  MSG msg;
  while (!window.closed()) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // the host is closing: pass it on
      quit = true;
      break;
    }
    Dispatch(msg);
  }
  if (ownerEnabled) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  modal_.pop_back();
  // Quit while shown: the form goes as its close box would take it.
  if (quit && !window.closed()) form.CloseBox();
  Collect();
}

LRESULT CALLBACK Win32Toolkit::DialogKeysHook(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
    HWND root = msg->hwnd ? GetAncestor(msg->hwnd, GA_ROOT) : nullptr;
    if (root && FormWindow::IsFormWindow(root) && IsDialogMessageW(root, msg)) {
      msg->message = WM_NULL;  // handled: the host's loop dispatches nothing
      msg->wParam = msg->lParam = 0;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Win32Toolkit::ShowModeless(ui::Form& form) {
  Collect();
  if (!dialogKeys_) dialogKeys_ = SetWindowsHookExW(WH_GETMESSAGE, &DialogKeysHook, nullptr, GetCurrentThreadId());
  FormWindow& window = Open(form, OwnerWindow());
  window.Show();
  form.Activate();
}

void Win32Toolkit::FormClosed(ui::Form& form) {
  auto found = windows_.find(&form);
  if (found == windows_.end()) return;
  FormWindow* window = found->second;
  windows_.erase(found);
  window->Detach();
  closing_.push_back(window);
}

int Win32Toolkit::MsgBox(const vb::Text& prompt, int buttons, const vb::Text& title) {
  const std::wstring text = Wide(prompt);
  const std::wstring caption = Wide(title.empty() ? applicationTitle_ : title);
  // The button, icon and default-button bits of MsgBox are the system's own values.
  const UINT style = static_cast<UINT>(buttons) & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK);
  const int result = MessageBoxW(OwnerWindow(), text.c_str(), caption.c_str(), style | MB_SETFOREGROUND);
  return result == 0 ? ui::vbCancel : result;
}

bool Win32Toolkit::ChooseFont(ui::FontChoice& font) {
  LOGFONTW logFont = {};
  HDC screen = GetDC(nullptr);
  logFont.lfHeight = -MulDiv(static_cast<int>(font.size * 10 + 0.5), GetDeviceCaps(screen, LOGPIXELSY), 720);
  ReleaseDC(nullptr, screen);
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.italic;
  logFont.lfUnderline = font.underline;
  logFont.lfStrikeOut = font.strikethru;
  logFont.lfCharSet = DEFAULT_CHARSET;
  const std::wstring face = Wide(font.name);
  wcsncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);

  CHOOSEFONTW choose = {};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = OwnerWindow();
  choose.lpLogFont = &logFont;
  // The common dialog control's flags are the system's; printer fonts, hooks and templates
  // need what an add-in does not have, so only screen fonts are offered.
  const DWORD kept = static_cast<DWORD>(font.flags) &
                     ~static_cast<DWORD>(CF_PRINTERFONTS | CF_ENABLEHOOK | CF_ENABLETEMPLATE | CF_ENABLETEMPLATEHANDLE);
  choose.Flags = kept | CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | (font.flags ? 0 : CF_EFFECTS);
  if (!ChooseFontW(&choose)) return false;
  font.name = FromWide(logFont.lfFaceName, wcsnlen(logFont.lfFaceName, LF_FACESIZE));
  font.size = choose.iPointSize / 10.0;
  font.bold = logFont.lfWeight >= FW_BOLD;
  font.italic = logFont.lfItalic != 0;
  font.underline = logFont.lfUnderline != 0;
  font.strikethru = logFont.lfStrikeOut != 0;
  return true;
}

void Win32Toolkit::PopupMenu(ui::Form& form, ui::Menu& menu) {
  std::vector<ui::Menu*> entries = menu.entries();
  HMENU popup = CreatePopupMenu();
  if (!popup) return;
  UINT id = 1;
  for (ui::Menu* entry : entries) {
    UINT flags = MF_STRING;
    if (!entry->enabled()) flags |= MF_GRAYED;
    if (entry->caption() == u"-") flags = MF_SEPARATOR;
    if (entry->visible()) AppendMenuW(popup, flags, id, Wide(entry->caption()).c_str());
    ++id;
  }
  POINT at = {};
  GetCursorPos(&at);
  HWND owner = WindowOf(form);
  if (!owner) owner = OwnerWindow();
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                                                       at.y, 0, owner, nullptr));
  DestroyMenu(popup);
  if (chosen >= 1 && chosen <= entries.size()) entries[chosen - 1]->Click();
}

void Win32Toolkit::DoEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Dispatch(msg);
  }
  Collect();
}

void Win32Toolkit::SetMousePointer(int pointer) {
  pointer_ = pointer;
  const bool wait = pointer == ui::vbHourglass;
  FormWindow::SetHourglass(wait);
  SetCursor(LoadCursorW(nullptr, wait ? IDC_WAIT : IDC_ARROW));
}

}  // namespace win32
