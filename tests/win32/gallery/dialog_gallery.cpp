// Renders every dialog that the six add-in DLLs show, for people to look at: each DLL is
// connected to the fake IDE, its entries are clicked (and controls placed), and every form
// window that appears is captured to "<folder>\<Add-in> - <caption>.bmp" and then closed (or
// answered, where the next dialog needs it). Run by scripts/dialog_pictures.sh under Xvfb.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "../addin_dll.h"
#include "../fake_ide.h"
#include "../window_driver.h"

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

// Takes a form window it has not seen yet, then closes or answers it.
void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
  static bool busy = false;
  if (busy) return;
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        wchar_t name[32] = {};
        GetClassNameW(hwnd, name, 32);
        if (!IsWindowVisible(hwnd) || wcscmp(name, L"Vb6KitForm") != 0) return TRUE;
        *reinterpret_cast<HWND*>(data) = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  if (!found) return;
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
  });
  Show(L"Tallowick", [](memhost::MemoryVBE& vbe) {
    answers[L"Component Line Counter"] = [](HWND dialog) { PostKey(dialog, VK_RETURN); };
    Safely([&] { vbe.Click(u"Add-Ins", u"&Component Line Counter"); });
    Safely([&] { vbe.Click(u"Add-Ins", u"&Project Summary"); });
  });
  Show(L"Morrowgate", [](memhost::MemoryVBE& vbe) { Safely([&] { vbe.Click(u"Add-Ins", u"M&orrowgate Builder"); }); });
  Show(L"Quenby", [](memhost::MemoryVBE& vbe) { Safely([&] { vbe.Click(u"Add-Ins", u"Add New &Property"); }); });

  std::printf("%d dialog pictures\n", pictures);
  CoUninitialize();
  return pictures > 0 ? 0 : 1;
}
