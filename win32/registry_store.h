// The VB runtime's per-user settings on Windows: GetSetting/SaveSetting values live under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section> as string values named
// by the key, so values stored by earlier tools stay readable (the registry compares names
// without regard to letter case).
#pragma once

#include <windows.h>

#include <string>

#include "framework/settings_store.h"

namespace win32 {

class RegistryStore final : public vb::SettingsStore {
 public:
  // `root`\`base` holds one key per application; tests point it elsewhere.
  explicit RegistryStore(HKEY root = HKEY_CURRENT_USER, std::wstring base = kDefaultBase);

  vb::Text GetSetting(vb::TextView app, vb::TextView section, vb::TextView key, vb::TextView defaultValue) override;
  // Raises error 5 for an empty application, section or key name (as the runtime does) and
  // error 75 with the system's reason when the registry refuses the write.
  void SaveSetting(vb::TextView app, vb::TextView section, vb::TextView key, vb::TextView value) override;

  static constexpr const wchar_t* kDefaultBase = L"Software\\VB and VBA Program Settings";

 private:
  std::wstring SectionPath(vb::TextView app, vb::TextView section) const;

  HKEY root_;
  std::wstring base_;
};

// The system's text for a Win32 error code ("Access is denied."), without the line break.
vb::Text SystemMessage(DWORD code);

}  // namespace win32
