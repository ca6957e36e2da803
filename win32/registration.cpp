#include "win32/registration.h"

#include <vector>

#include "win32/wide_text.h"

namespace win32 {

namespace {

HRESULT FromStatus(LSTATUS status) { return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status); }

HRESULT SetString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  return FromStatus(RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}

HRESULT SetDword(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value) {
  return FromStatus(RegSetKeyValueW(root, key.c_str(), name, REG_DWORD, &value, sizeof value));
}

bool ReadString(HKEY root, const std::wstring& key, const wchar_t* name, std::wstring& value) {
  DWORD bytes = 0;
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS) return false;
  value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value.data(), &bytes) != ERROR_SUCCESS)
    return false;
  value.resize(wcsnlen(value.c_str(), bytes / sizeof(wchar_t)));
  return true;
}

// Deletes one value; a value that is not there is no failure.
HRESULT DeleteValue(HKEY root, const std::wstring& key, const wchar_t* name) {
  LSTATUS status = RegDeleteKeyValueW(root, key.c_str(), name);
  if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) return S_OK;
  return FromStatus(status);
}

// Deletes the key when it holds neither values nor subkeys (its default value included).
HRESULT DeleteKeyIfEmpty(HKEY root, const std::wstring& key) {
  HKEY handle = nullptr;
  LSTATUS status = RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle);
  if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) return S_OK;
  if (status != ERROR_SUCCESS) return FromStatus(status);
  DWORD subkeys = 0, values = 0;
  status = RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr);
  RegCloseKey(handle);
  if (status != ERROR_SUCCESS) return FromStatus(status);
  if (subkeys || values) return S_OK;
  status = RegDeleteKeyW(root, key.c_str());
  if (status == ERROR_FILE_NOT_FOUND) return S_OK;
  return FromStatus(status);
}

// The keys of one add-in, relative to the root they live under.
struct Keys {
  std::wstring progId, progIdClsid, clsid, inproc, clsidProgId, addin;
};

Keys KeysOf(const CLSID& clsid, const addin::Registration& registration) {
  const std::wstring classes = kClassesKey;
  const std::wstring progId = Wide(registration.progId);
  Keys keys;
  keys.progId = classes + L"\\" + progId;
  keys.progIdClsid = keys.progId + L"\\CLSID";
  keys.clsid = classes + L"\\CLSID\\" + GuidText(clsid);
  keys.inproc = keys.clsid + L"\\InprocServer32";
  keys.clsidProgId = keys.clsid + L"\\ProgID";
  keys.addin = std::wstring(kAddinsKey) + L"\\" + progId;
  return keys;
}

HKEY ClassesRoot(RegistrationScope scope) {
  return scope == RegistrationScope::MachineWide ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Keeps the first failure of a sequence of steps that are all attempted.
class FirstFailure {
 public:
  void operator()(HRESULT hr) {
    if (FAILED(hr) && SUCCEEDED(result_)) result_ = hr;
  }
  HRESULT result() const { return result_; }

 private:
  HRESULT result_ = S_OK;
};

HRESULT RemoveClass(HKEY root, const CLSID& clsid, const Keys& keys) {
  FirstFailure keep;
  // The ProgID is ours only while it still names our class.
  std::wstring named;
  if (ReadString(root, keys.progIdClsid, nullptr, named) &&
      CompareStringOrdinal(named.c_str(), -1, GuidText(clsid).c_str(), -1, TRUE) == CSTR_EQUAL) {
    keep(DeleteValue(root, keys.progIdClsid, nullptr));
    keep(DeleteKeyIfEmpty(root, keys.progIdClsid));
    keep(DeleteValue(root, keys.progId, nullptr));
    keep(DeleteKeyIfEmpty(root, keys.progId));
  }
  keep(DeleteValue(root, keys.inproc, nullptr));
  keep(DeleteValue(root, keys.inproc, L"ThreadingModel"));
  keep(DeleteKeyIfEmpty(root, keys.inproc));
  keep(DeleteValue(root, keys.clsidProgId, nullptr));
  keep(DeleteKeyIfEmpty(root, keys.clsidProgId));
  keep(DeleteValue(root, keys.clsid, nullptr));
  keep(DeleteKeyIfEmpty(root, keys.clsid));
  return keep.result();
}

HRESULT RemoveAddinEntry(const Keys& keys) {
  FirstFailure keep;
  for (const wchar_t* name : {L"FriendlyName", L"Description", L"LoadBehavior", L"CommandLineSafe"})
    keep(DeleteValue(HKEY_CURRENT_USER, keys.addin, name));
  keep(DeleteKeyIfEmpty(HKEY_CURRENT_USER, keys.addin));
  return keep.result();
}

}  // namespace

RegistrationScope ScopeOfCaller() {
  // The thread's own token when it impersonates, else the process's: the one the registry
  // checks the writes against.
  HANDLE token = nullptr;
  if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token) &&
      !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
    return RegistrationScope::PerUser;
  TOKEN_ELEVATION elevation = {};
  DWORD size = 0;
  const bool elevated = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
                        elevation.TokenIsElevated != 0;
  CloseHandle(token);
  return elevated ? RegistrationScope::MachineWide : RegistrationScope::PerUser;
}

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

HRESULT RegisterAddin(RegistrationScope scope, const CLSID& clsid, const addin::Registration& registration,
                      const std::wstring& modulePath) {
  const Keys keys = KeysOf(clsid, registration);
  const HKEY classes = ClassesRoot(scope);
  const std::wstring progId = Wide(registration.progId);
  const std::wstring displayName = Wide(registration.displayName);
  const std::wstring guid = GuidText(clsid);
  for (HRESULT hr : {
           SetString(classes, keys.progId, nullptr, displayName),
           SetString(classes, keys.progIdClsid, nullptr, guid),
           SetString(classes, keys.clsid, nullptr, displayName),
           SetString(classes, keys.inproc, nullptr, modulePath),
           SetString(classes, keys.inproc, L"ThreadingModel", L"Apartment"),
           SetString(classes, keys.clsidProgId, nullptr, progId),
           SetString(HKEY_CURRENT_USER, keys.addin, L"FriendlyName", displayName),
           SetString(HKEY_CURRENT_USER, keys.addin, L"Description", Wide(registration.description)),
           SetDword(HKEY_CURRENT_USER, keys.addin, L"LoadBehavior", kLoadBehavior),
           SetDword(HKEY_CURRENT_USER, keys.addin, L"CommandLineSafe", kCommandLineSafe),
       }) {
    if (FAILED(hr)) {
      RemoveClass(classes, clsid, keys);
      RemoveAddinEntry(keys);
      return hr;
    }
  }
  return S_OK;
}

HRESULT UnregisterAddin(const CLSID& clsid, const addin::Registration& registration) {
  const Keys keys = KeysOf(clsid, registration);
  FirstFailure keep;
  keep(RemoveAddinEntry(keys));
  keep(RemoveClass(HKEY_CURRENT_USER, clsid, keys));
  keep(RemoveClass(HKEY_LOCAL_MACHINE, clsid, keys));
  return keep.result();
}

}  // namespace win32
