// Renders every dialog that the six add-in DLLs show, for people to look at: each DLL is
// connected to the fake IDE, its entries are clicked (and controls placed), and every form
// window that appears is captured to "<folder>\<Add-in> - <caption>.bmp" and then closed (or
// answered, where the next dialog needs it). Run by scripts/dialog_pictures.sh under Xvfb.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "addin_dll.h"
#include "fake_ide.h"
#include "window_driver.h"

using memhost::HostBuilder;
using memhost::Lines;
using namespace wintest;

namespace {

std::wstring folder;
std::wstring addin;  // the add-in being shown
std::set<std::wstring> captured;
std::map<std::wstring, std::function<void(HWND)>> answers;  // by caption; default: close
int pictures = 0;

bool SaveBitmap(HWND window, const std::wstring& path) {
  RECT r = {};
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
  std::string pixels(static_cast<size_t>(stride) * static_cast<size_t>(height), '\0');
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return false;
  fwrite(&file, sizeof file, 1, out);
  fwrite(&info, sizeof info, 1, out);
  fwrite(pixels.data(), 1, pixels.size(), out);
  fclose(out);
  return true;
}

std::wstring FileName(std::wstring caption) {
  for (wchar_t& c : caption)
    if (wcschr(L"\\/:*?\"<>|()&", c)) c = L'_';
  return addin + L" - " + caption + L".bmp";
}

bool IsFormWindow(HWND hwnd) {
  wchar_t name[32] = {};
  GetClassNameW(hwnd, name, 32);
  return IsWindowVisible(hwnd) && wcscmp(name, L"Vb6KitForm") == 0;
}

// The visible form windows of this thread, topmost first.
std::vector<HWND> ShownForms() {
  std::vector<HWND> forms;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        if (IsFormWindow(hwnd)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&forms));
  return forms;
}

// Takes a form window it has not seen yet, then closes or answers it. A modal dialog opened from
// a modeless one comes first: the modeless one stays up behind it, waiting for the answer.
void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
  static bool busy = false;
  if (busy) return;
  const std::vector<HWND> forms = ShownForms();
  if (forms.empty()) return;
  HWND found = forms.front();
  for (HWND form : forms)
    if (!captured.count(addin + TextOf(form))) {
      found = form;
      break;
    }
  busy = true;
  const std::wstring caption = TextOf(found);
  if (!captured.count(addin + caption)) {
    captured.insert(addin + caption);
    RedrawWindow(found, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(150);
    if (SaveBitmap(found, folder + L"\\" + FileName(caption))) ++pictures;
  }
  auto answer = answers.find(caption);
  if (answer != answers.end()) {
    auto step = answer->second;
    answers.erase(answer);
    step(found);
  } else {
    SendMessageW(found, WM_CLOSE, 0, 0);
    if (IsWindow(found) && IsWindowVisible(found)) PostKey(found, VK_ESCAPE);
  }
  busy = false;
}

void Click(HWND dialog, const wchar_t* caption) {
  if (HWND button = ChildByText(dialog, caption)) SendMessageW(button, BM_CLICK, 0, 0);
}

// Clicks once the current answer has returned: for a button that opens a modal dialog, which
// must be taken and answered as well.
void ClickLater(HWND dialog, const wchar_t* caption) {
  if (HWND button = ChildByText(dialog, caption)) PostMessageW(button, BM_CLICK, 0, 0);
}

// Lets a modeless dialog and what it opens be taken and answered (at most a few seconds).
void Settle() {
  for (int i = 0; i < 100 && (!answers.empty() || !ShownForms().empty()); ++i) Pump(50);
}

int ListRow(HWND list, const wchar_t* text) {
  for (int i = 0; i < ListView_GetItemCount(list); ++i) {
    wchar_t row[256] = {};
    ListView_GetItemText(list, i, 0, row, 256);
    if (std::wstring(row) == text) return i;
  }
  return -1;
}

std::shared_ptr<memhost::MemoryVBE> Project() {
  return HostBuilder()
      .project(u"Project1")
      .module(u"Module1", Lines({u"Option Explicit", u"Private mTotal As Long", u"",
                                 u"Public Function Add(a As Long, b As Long) As Long", u"  Add = a + b",
                                 u"End Function", u"", u"Public Sub Reset()", u"  mTotal = 0", u"End Sub"}))
      .classModule(u"IShape", Lines({u"Public Sub Draw(ByVal Scale As Double)", u"End Sub",
                                     u"Public Property Get Area() As Double", u"End Property"}))
      .classModule(u"Circle", u"Option Explicit")
      .form(u"Form1", Lines({u"Private Sub Command1_Click()", u"  Unload Me", u"End Sub"}),
            {{u"CommandButton", u"Command1"}})
      .activePane(u"Module1", {5, 3, 5, 3})
      .build();
}

// Connects one DLL, runs the steps that open its dialogs, disconnects.
void Show(const wchar_t* dll, const std::function<void(memhost::MemoryVBE&)>& steps) {
  addin = dll;
  AddinDll library(dll);
  auto vbe = Project();
  {
    ConnectInstance connect(library, (std::wstring(dll) + L".Connect").c_str());
    if (!connect) {
      std::fprintf(stderr, "cannot create %ls.Connect\n", dll);
      return;
    }
    connect.Connect(vbe, win32::ext_cm_AfterStartup);
    steps(*vbe);
    Pump(200);
    connect->OnDisconnection(win32::ext_dm_UserClosed, nullptr);
  }
}

void Safely(const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%ls: %s\n", addin.c_str(), error.what());
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: dialog_gallery <folder>\n");
    return 2;
  }
  folder = argv[1];
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  MessageBoxAnswerer boxes;
  SetTimer(nullptr, 0, 40, &Poll);

  Show(L"Ravlen", [](memhost::MemoryVBE& vbe) {
    Safely([&] { vbe.Click(u"Add-Ins", u"&Ravlen Editor Options"); });
    for (const char16_t* type : {u"TextBox", u"CommandButton", u"CheckBox", u"Label", u"ListBox", u"ComboBox",
                                 u"ListView", u"OptionButton", u"Timer", u"Frame", u"TreeView", u"MaskEdBox",
                                 u"RichTextBox", u"SSTab", u"HScrollBar", u"VScrollBar", u"PictureBox"})
      Safely([&] { vbe.PlaceControl(u"Form1", type); });
    // Enter takes each offer, so the next dialog has code to work on.
    answers[L"Rename Code for Control"] = [](HWND dialog) { PostKey(dialog, VK_RETURN); };
    answers[L"Remove Code for Control"] = [](HWND dialog) { PostKey(dialog, VK_RETURN); };
    Safely([&] { vbe.RenameControl(u"Form1", u"Command1", u"cmdClose"); });
    Safely([&] { vbe.DeleteControl(u"Form1", u"cmdClose"); });
  });
  Show(L"Comment", [](memhost::MemoryVBE& vbe) {
    answers[L"Add Function Declaration"] = [](HWND dialog) {
      Retype(Child(dialog, L"Edit", 2), L"Adds two numbers.");
      Click(dialog, L"&Add");
    };
    Safely([&] { vbe.Click(u"Code Window", u"Add Function Comment Header"); });
    // The revision goes into the header just written: the caret back inside the function.
    Safely([&] {
      const std::vector<vb::Text> lines = vbe.CodeLines(u"Module1");
      for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == u"  Add = a + b") vbe.SetActivePane(u"Module1", {static_cast<long>(i + 1), 3, static_cast<long>(i + 1), 3});
      vbe.Click(u"Code Window", u"Add Revision to Comment");
    });
    Safely([&] { vbe.Click(u"Code Window", u"&Goto Code Member"); });
  });
  // The store starts and ends empty: pieces of an earlier run would change what the dialogs list,
  // and the piece offered in the menu would stay in the menu of every later connection in this
  // Wine prefix (the Windows tests share it).
  const wchar_t* const pieces = L"Software\\VB and VBA Program Settings\\Pellmoss";
  RegDeleteTreeW(HKEY_CURRENT_USER, pieces);
  Show(L"Pellmoss", [](memhost::MemoryVBE& vbe) {
    answers[L"Add Code Segment"] = [](HWND dialog) {
      Retype(Child(dialog, L"Edit", 0), L"Greeting");
      Retype(Child(dialog, L"Edit", 1), L"MsgBox \"Hello\"");
      Click(dialog, L"&Add Segment");
      if (IsWindowVisible(dialog)) SendMessageW(dialog, WM_CLOSE, 0, 0);
    };
    Safely([&] { vbe.Click(u"Code Window", u"S&tore Code"); });
    Safely([&] { vbe.Click(u"Code Window", u"Code S&torage Admin"); });
    Safely([&] { vbe.Click(u"Code Window/&Retrieve Code", u"&Retrieve Code Segment"); });
    // A piece with a tag, offered in the menu: inserting it asks for the tag's text.
    answers[L"Add Code Segment"] = [](HWND dialog) {
      Retype(Child(dialog, L"Edit", 0), L"Trace");
      Retype(Child(dialog, L"Edit", 1), L"Debug.Print \"Entering <@ProcedureName@>\"");
      Click(dialog, L"Add Code &Segment to Menu?");
      Click(dialog, L"&Add Segment");
      if (IsWindowVisible(dialog)) SendMessageW(dialog, WM_CLOSE, 0, 0);
    };
    answers[L"Replace Code Tag"] = [](HWND dialog) {
      Retype(Child(dialog, L"Edit"), L"Command1_Click");
      Click(dialog, L"&Ok");
    };
    Safely([&] { vbe.Click(u"Code Window", u"S&tore Code"); });
    Safely([&] { vbe.Click(u"Code Window/&Retrieve Code", u"Trace"); });
  });
  RegDeleteTreeW(HKEY_CURRENT_USER, pieces);
  Show(L"Tallowick", [](memhost::MemoryVBE& vbe) {
    answers[L"Component Line Counter"] = [](HWND dialog) { PostKey(dialog, VK_RETURN); };
    Safely([&] { vbe.Click(u"Add-Ins", u"&Component Line Counter"); });
    Safely([&] { vbe.Click(u"Add-Ins", u"&Project Summary"); });
  });
  Show(L"Morrowgate", [](memhost::MemoryVBE& vbe) {
    // An interface with a public variable of a type the builder does not know: implementing it
    // asks how the property is written.
    Safely([&] { vbe.SetCode(u"IShape", u"Public Picture As StdPicture\r\n" + vbe.Code(u"IShape")); });
    answers[L"Add Interface(s) to Component"] = [](HWND dialog) {
      HWND combo = Child(dialog, L"ComboBox");
      const LRESULT circle = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(L"Project1.Circle"));
      SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(circle), 0);
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
      HWND list = Child(dialog, WC_LISTVIEWW);
      const int shape = ListRow(list, L"Project1.IShape");
      if (shape >= 0) ListView_SetCheckState(list, shape, TRUE);
      ClickLater(dialog, L"&Ok");
    };
    answers[L"Determine Property Type"] = [](HWND dialog) {
      Click(dialog, L"Property &Set");
      Click(dialog, L"&Ok");
    };
    Safely([&] { vbe.Click(u"Add-Ins", u"M&orrowgate Builder"); });
    Settle();
  });
  Show(L"Quenby", [](memhost::MemoryVBE& vbe) { Safely([&] { vbe.Click(u"Add-Ins", u"Add New &Property"); }); });

  std::printf("%d dialog pictures\n", pictures);
  CoUninitialize();
  return pictures > 0 ? 0 : 1;
}
