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

}  // namespace

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

HRESULT RegisterAddin(HKEY root, const CLSID& clsid, const addin::Registration& registration,
                      const std::wstring& modulePath) {
  const Keys keys = KeysOf(clsid, registration);
  const std::wstring progId = Wide(registration.progId);
  const std::wstring displayName = Wide(registration.displayName);
  const std::wstring guid = GuidText(clsid);
  for (HRESULT hr : {
           SetString(root, keys.progId, nullptr, displayName),
           SetString(root, keys.progIdClsid, nullptr, guid),
           SetString(root, keys.clsid, nullptr, displayName),
           SetString(root, keys.inproc, nullptr, modulePath),
           SetString(root, keys.inproc, L"ThreadingModel", L"Apartment"),
           SetString(root, keys.clsidProgId, nullptr, progId),
           SetString(root, keys.addin, L"FriendlyName", displayName),
           SetString(root, keys.addin, L"Description", Wide(registration.description)),
           SetDword(root, keys.addin, L"LoadBehavior", kLoadBehavior),
           SetDword(root, keys.addin, L"CommandLineSafe", kCommandLineSafe),
       }) {
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT UnregisterAddin(HKEY root, const CLSID& clsid, const addin::Registration& registration) {
  const Keys keys = KeysOf(clsid, registration);
  HRESULT result = S_OK;
  auto keep = [&result](HRESULT hr) {
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  };
  // The ProgID is ours only while it still names our class.
  std::wstring named;
  if (ReadString(root, keys.progIdClsid, nullptr, named) && CompareStringOrdinal(named.c_str(), -1, GuidText(clsid).c_str(), -1, TRUE) == CSTR_EQUAL) {
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
  for (const wchar_t* name : {L"FriendlyName", L"Description", L"LoadBehavior", L"CommandLineSafe"})
    keep(DeleteValue(root, keys.addin, name));
  keep(DeleteKeyIfEmpty(root, keys.addin));
  return result;
}

}  // namespace win32
