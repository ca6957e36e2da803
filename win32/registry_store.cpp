#include "win32/registry_store.h"

#include "framework/vb_error.h"
#include "win32/wide_text.h"

namespace win32 {

RegistryStore::RegistryStore(HKEY root, std::wstring base) : root_(root), base_(std::move(base)) {}

std::wstring RegistryStore::SectionPath(vb::TextView app, vb::TextView section) const {
  return base_ + L"\\" + Wide(app) + L"\\" + Wide(section);
}

vb::Text RegistryStore::GetSetting(vb::TextView app, vb::TextView section, vb::TextView key,
                                   vb::TextView defaultValue) {
  if (app.empty() || section.empty() || key.empty()) return vb::Text(defaultValue);
  const std::wstring path = SectionPath(app, section);
  const std::wstring name = Wide(key);
  // The value may grow between the size query and the read: ask again until it fits.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD bytes = 0;
    LSTATUS status = RegGetValueW(root_, path.c_str(), name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                                  nullptr, nullptr, &bytes);
    if (status != ERROR_SUCCESS) return vb::Text(defaultValue);
    std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    status = RegGetValueW(root_, path.c_str(), name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                          nullptr, buffer.data(), &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return vb::Text(defaultValue);
    buffer.resize(wcsnlen(buffer.c_str(), size / sizeof(wchar_t)));
    return FromWide(buffer);
  }
  return vb::Text(defaultValue);
}

void RegistryStore::SaveSetting(vb::TextView app, vb::TextView section, vb::TextView key, vb::TextView value) {
  if (app.empty() || section.empty() || key.empty()) vb::RaiseStandard(vb::err::kInvalidProcedureCall);
  const std::wstring path = SectionPath(app, section);
  HKEY handle = nullptr;
  LSTATUS status = RegCreateKeyExW(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                   &handle, nullptr);
  if (status == ERROR_SUCCESS) {
    const std::wstring data = Wide(value);
    status = RegSetValueExW(handle, Wide(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
  }
  if (status != ERROR_SUCCESS)
    vb::Raise(vb::err::kPathFileAccess, u"Cannot save the setting " + vb::Text(app) + u"\\" + vb::Text(section) +
                                            u"\\" + vb::Text(key) + u": " + SystemMessage(static_cast<DWORD>(status)));
}

vb::Text SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  vb::Text text;
  if (length && buffer) text = FromWide(buffer, length);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
  if (text.empty()) text = u"system error " + vb::FromUtf8(std::to_string(code));
  return text;
}

}  // namespace win32
