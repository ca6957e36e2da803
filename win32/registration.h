// Per-user self-registration of an add-in's Connect class: the COM class under
// HKCU\Software\Classes (ProgID -> CLSID, CLSID\{...}\InprocServer32 with the DLL's path and
// ThreadingModel Apartment) and the IDE's add-in entry under
// HKCU\Software\Microsoft\Visual Basic\6.0\Addins\<ProgID>. Unregistration removes the values
// written here and the keys that are left empty by that, and nothing else.
#pragma once

#include <windows.h>

#include <string>

#include "framework/connect.h"

namespace win32 {

// The load settings all six add-ins register: loaded when the IDE starts, not offered to
// command-line builds (their commands show dialogs).
inline constexpr DWORD kLoadBehavior = 1;
inline constexpr DWORD kCommandLineSafe = 0;

inline constexpr const wchar_t* kClassesKey = L"Software\\Classes";
inline constexpr const wchar_t* kAddinsKey = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins";

// "{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}"
std::wstring GuidText(const GUID& guid);

// Writes every value; the first failure is returned (values written before it stay, and
// UnregisterAddin removes them).
HRESULT RegisterAddin(HKEY root, const CLSID& clsid, const addin::Registration& registration,
                      const std::wstring& modulePath);
// Removes what RegisterAddin wrote. A ProgID that now names another class is left alone.
HRESULT UnregisterAddin(HKEY root, const CLSID& clsid, const addin::Registration& registration);

}  // namespace win32
