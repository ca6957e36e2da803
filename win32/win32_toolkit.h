// The native toolkit: shows the framework's forms in real windows on the IDE's thread. A modal
// form runs its own message loop with the IDE's active window as owner (disabled meanwhile);
// modeless forms stay until hidden or unloaded. Message boxes, the common font dialog, pop-up
// menus, the hourglass pointer and DoEvents are the system's own.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "framework/ui/form.h"
#include "framework/ui/toolkit.h"

namespace win32 {

class FormWindow;

class Win32Toolkit final : public ui::Toolkit {
 public:
  // `applicationTitle` titles the message boxes that give no title of their own (VB's App.Title).
  explicit Win32Toolkit(vb::Text applicationTitle);
  ~Win32Toolkit() override;
  Win32Toolkit(const Win32Toolkit&) = delete;
  Win32Toolkit& operator=(const Win32Toolkit&) = delete;

  void ShowModal(ui::Form& form) override;
  void ShowModeless(ui::Form& form) override;
  void FormClosed(ui::Form& form) override;
  int MsgBox(const vb::Text& prompt, int buttons, const vb::Text& title) override;
  bool ChooseFont(ui::FontChoice& font) override;
  void PopupMenu(ui::Form& form, ui::Menu& menu) override;
  void DoEvents() override;
  void SetMousePointer(int pointer) override;
  int MousePointer() const override { return pointer_; }

  // The window that shows `form` now, or nullptr.
  HWND WindowOf(const ui::Form& form) const;

 private:
  FormWindow& Open(ui::Form& form, HWND owner);
  // Deletes the windows of closed forms that no handler or modal loop is using any more.
  void Collect();
  // Hands one message to the dialog manager of the form window it belongs to, or dispatches it.
  void Dispatch(MSG& msg);
  // The window that owns new windows: the active window of this thread (the IDE's, normally).
  static HWND OwnerWindow();
  // Modeless forms live in the host's message loop, which knows nothing of dialog keys: a hook
  // on this thread's messages gives Tab, Enter, Esc and access keys to the dialog manager.
  static LRESULT CALLBACK DialogKeysHook(int code, WPARAM wParam, LPARAM lParam);
  HHOOK dialogKeys_ = nullptr;

  vb::Text applicationTitle_;
  std::map<const ui::Form*, FormWindow*> windows_;
  std::vector<FormWindow*> closing_;  // closed, waiting until nothing on the stack uses them
  std::vector<FormWindow*> modal_;    // windows whose modal loops are running, innermost last
  int pointer_ = ui::vbDefault;
};

}  // namespace win32
