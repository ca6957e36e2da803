#include "window_driver.h"

#include <commctrl.h>

#include <vector>

namespace wintest {

namespace {

struct Wait {
  std::wstring title;
  std::function<void(HWND)> step;
};
std::vector<Wait>& Waits() {
  static std::vector<Wait> waits;
  return waits;
}
UINT_PTR timer = 0;

void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
  auto& waits = Waits();
  for (size_t i = 0; i < waits.size(); ++i) {
    HWND window = FindShown(waits[i].title.c_str());
    if (!window) continue;
    Wait wait = std::move(waits[i]);
    waits.erase(waits.begin() + static_cast<std::ptrdiff_t>(i));
    if (waits.empty() && timer) {
      KillTimer(nullptr, timer);
      timer = 0;
    }
    wait.step(window);
    return;
  }
}

}  // namespace

void WhenShown(const wchar_t* title, std::function<void(HWND)> step) {
  Waits().push_back({title, std::move(step)});
  if (!timer) timer = SetTimer(nullptr, 0, 20, &Poll);
}

HWND FindShown(const wchar_t* title) {
  struct Search {
    const wchar_t* title;
    HWND found;
  } search{title, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (IsWindowVisible(hwnd) && TextOf(hwnd) == s->title) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Child(HWND parent, const wchar_t* className, int nth) {
  struct Search {
    const wchar_t* className;
    int left;
    HWND found;
  } search{className, nth, nullptr};
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        if (lstrcmpiW(name, s->className) != 0) return TRUE;
        if (s->left-- > 0) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ChildByText(HWND parent, const wchar_t* text) {
  struct Search {
    const wchar_t* text;
    HWND found;
  } search{text, nullptr};
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (TextOf(hwnd) != s->text) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int ListRow(HWND list, const wchar_t* text) {
  for (int i = 0; i < ListView_GetItemCount(list); ++i) {
    wchar_t row[256] = {};
    ListView_GetItemText(list, i, 0, row, 256);
    if (std::wstring(row) == text) return i;
  }
  return -1;
}

std::wstring TextOf(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void TypeChars(HWND edit, const std::wstring& chars) {
  if (GetFocus() != edit) SetFocus(edit);  // a person clicks into the box first
  for (wchar_t c : chars) SendMessageW(edit, WM_CHAR, c, 1);
}

void Retype(HWND edit, const std::wstring& chars) {
  if (GetFocus() != edit) SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  TypeChars(edit, chars);
}

void PostKey(HWND hwnd, UINT key) {
  PostMessageW(hwnd, WM_KEYDOWN, key, 1);
  PostMessageW(hwnd, WM_KEYUP, key, 0xC0000001);
}

namespace {
MessageBoxAnswerer* answerer = nullptr;
}

MessageBoxAnswerer::MessageBoxAnswerer() {
  answerer = this;
  timer_ = SetTimer(nullptr, 0, 20, &Poll);
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  KillTimer(nullptr, timer_);
  answerer = nullptr;
}

void CALLBACK MessageBoxAnswerer::Poll(HWND, UINT, UINT_PTR, DWORD) {
  if (!answerer) return;
  struct Search {
    HWND found;
  } search{nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(hwnd, name, 16);
        if (!IsWindowVisible(hwnd) || wcscmp(name, L"#32770") != 0) return TRUE;
        reinterpret_cast<Search*>(data)->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (!search.found) return;
  // The prompt is the longest static text of the box.
  std::wstring prompt;
  for (int i = 0;; ++i) {
    HWND text = Child(search.found, L"Static", i);
    if (!text) break;
    if (TextOf(text).size() > prompt.size()) prompt = TextOf(text);
  }
  answerer->prompts_.push_back(prompt);
  SendMessageW(search.found, WM_COMMAND, IDOK, 0);
}

void Pump(int milliseconds) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  MSG msg;
  while (GetTickCount() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
}

}  // namespace wintest
