// The registry settings store and the comment add-in's log location.
#include <windows.h>

#include "check.h"
#include "framework/vb_error.h"
#include "win32/comment_log.h"
#include "win32/registry_store.h"

namespace {

// A store under its own key, removed before and after each test.
struct ScratchStore {
  static constexpr const wchar_t* kBase = L"Software\\vb6kit tests\\VB and VBA Program Settings";
  ScratchStore() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\vb6kit tests"); }
  ~ScratchStore() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\vb6kit tests"); }
  win32::RegistryStore store{HKEY_CURRENT_USER, kBase};
};

std::wstring RawValue(const wchar_t* key, const wchar_t* name) {
  wchar_t buffer[512] = {};
  DWORD size = sizeof buffer;
  DWORD type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &type, buffer, &size) != ERROR_SUCCESS) return L"<none>";
  return type == REG_SZ ? std::wstring(buffer) : L"<not a string>";
}

}  // namespace

WIN_TEST(RegistryStoreKeepsStringsUnderAppAndSection) {
  ScratchStore scratch;
  auto& store = scratch.store;
  CHECK_EQ(store.GetSetting(u"Pellmoss", u"Code", u"Header", u"<default>"), vb::Text(u"<default>"));
  // Keys compare without regard to case, and a second write replaces the value.
  const vb::Text piece = u"' Header\r\nPublic Sub Main()\r\nEnd Sub \u00e9\u4e2d";
  store.SaveSetting(u"Pellmoss", u"Code", u"Header", u"first");
  store.SaveSetting(u"Pellmoss", u"Code", u"HEADER", piece);
  CHECK_EQ(store.GetSetting(u"pellmoss", u"code", u"header", u""), piece);
  CHECK_EQ(store.GetSetting(u"Pellmoss", u"Other", u"Header", u"-"), vb::Text(u"-"));
  store.SaveSetting(u"Pellmoss", u"Code", u"Empty", u"");
  CHECK_EQ(store.GetSetting(u"Pellmoss", u"Code", u"Empty", u"<default>"), vb::Text());
  // Where the runtime keeps it: a string value named by the key under app\section.
  CHECK_EQ(RawValue(L"Software\\vb6kit tests\\VB and VBA Program Settings\\Pellmoss\\Code", L"Header"),
           std::wstring(reinterpret_cast<const wchar_t*>(piece.c_str())));
}

WIN_TEST(RegistryStoreRejectsEmptyNamesAndReadsOthersValues) {
  ScratchStore scratch;
  for (auto [app, section, key] : {std::tuple{u"", u"S", u"K"}, {u"A", u"", u"K"}, {u"A", u"S", u""}}) {
    int number = 0;
    try {
      scratch.store.SaveSetting(app, section, key, u"v");
    } catch (const vb::Error& error) {
      number = error.number;
    }
    CHECK_EQ(number, 5);
    CHECK_EQ(scratch.store.GetSetting(app, section, key, u"d"), vb::Text(u"d"));
  }
  // A value an earlier tool wrote with the registry functions is read as it stands.
  const std::wstring written = L"Times New Roman";
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\vb6kit tests\\VB and VBA Program Settings\\Ravlen\\Options",
                  L"FontName", REG_SZ, written.c_str(), static_cast<DWORD>((written.size() + 1) * sizeof(wchar_t)));
  CHECK_EQ(scratch.store.GetSetting(u"Ravlen", u"Options", u"fontname", u""), vb::Text(u"Times New Roman"));
}

WIN_TEST(CommentLogLivesInLocalApplicationData) {
  wchar_t local[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
  std::filesystem::path path = win32::CommentLogPath();
  CHECK_EQ(path.filename().wstring(), std::wstring(L"comment.log"));
  CHECK_EQ(path.parent_path().filename().wstring(), std::wstring(L"vb6kit"));
  if (length) CHECK_EQ(path.parent_path().parent_path().wstring(), std::wstring(local, length));
}
