// Drives real windows from inside the message loop that shows them, as a person would: a step
// waits (on a thread timer) for a window with a given title, then works on it with window
// messages.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wintest {

// Runs `step` once a visible top-level window titled `title` exists (polled every 20 ms from
// the running message loop).
void WhenShown(const wchar_t* title, std::function<void(HWND)> step);
// The visible top-level window titled `title`, or nullptr.
HWND FindShown(const wchar_t* title);
// The `nth` (0-based) child of `parent` of the window class `className` ("Edit", "Button").
HWND Child(HWND parent, const wchar_t* className, int nth = 0);
// The child of `parent` whose text is `text`.
HWND ChildByText(HWND parent, const wchar_t* text);
std::wstring TextOf(HWND hwnd);
// The row of a list view (a check-box list) that shows `text`, or -1.
int ListRow(HWND list, const wchar_t* text);
// Types each character as the keyboard would deliver it.
void TypeChars(HWND edit, const std::wstring& chars);
// Selects everything in the edit, then types: a person replacing its content.
void Retype(HWND edit, const std::wstring& chars);
// Sends a key press (down and up) through the message queue, so the dialog manager sees it.
void PostKey(HWND hwnd, UINT key);
// While it lives, answers every message box of this thread with OK and records its prompt.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer();
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;
  const std::vector<std::wstring>& prompts() const { return prompts_; }

 private:
  static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD);
  UINT_PTR timer_ = 0;
  std::vector<std::wstring> prompts_;
};

// Lets the message loop run for a while (pending messages, posted refreshes).
void Pump(int milliseconds = 50);

}  // namespace wintest
