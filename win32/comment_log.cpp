#include "win32/comment_log.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace win32 {

std::filesystem::path CommentLogPath() {
  std::filesystem::path folder;
  PWSTR known = nullptr;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &known)) && known)
    folder = known;
  CoTaskMemFree(known);
  if (folder.empty()) {
    // No profile folder (a service account): the temporary folder still keeps the log.
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    folder = length ? std::filesystem::path(std::wstring(temp, length)) : std::filesystem::current_path();
  }
  return folder / L"vb6kit" / L"comment.log";
}

}  // namespace win32
