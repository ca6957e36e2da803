// Renders every dialog that the six add-in DLLs show, for people to look at: the tour of the
// Windows tests (dialog_tour.h) opens each one on the example project, and every form window is
// captured to "<folder>\<Add-in> - <caption>.bmp" when it first shows. Run by
// scripts/dialog_pictures.sh under Xvfb.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "dialog_tour.h"

namespace {

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

std::wstring FileName(const std::wstring& addin, std::wstring caption) {
  for (wchar_t& c : caption)
    if (wcschr(L"\\/:*?\"<>|()&", c)) c = L'_';
  return addin + L" - " + caption + L".bmp";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: dialog_gallery <folder>\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int pictures = 0;
  const wintest::TourResult tour = wintest::TourEveryDialog([&](const std::wstring& addin, HWND dialog) {
    wchar_t caption[256] = {};
    GetWindowTextW(dialog, caption, 256);
    if (SaveBitmap(dialog, folder + L"\\" + FileName(addin, caption))) ++pictures;
  });
  for (const std::string& error : tour.errors) std::fprintf(stderr, "%s\n", error.c_str());
  std::printf("%d dialog pictures\n", pictures);
  CoUninitialize();
  return pictures > 0 && tour.errors.empty() ? 0 : 1;
}
