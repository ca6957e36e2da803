// Self-registration of an add-in's Connect class. The COM class (ProgID -> CLSID,
// CLSID\{...}\InprocServer32 with the DLL's path and ThreadingModel Apartment) goes under
// HKLM\Software\Classes when the caller runs elevated, because an elevated IDE loads no
// per-user classes, and under HKCU\Software\Classes otherwise. The IDE's add-in entry,
// Software\Microsoft\Visual Basic\6.0\Addins\<ProgID>, is per-user in both cases: the IDE reads
// it from HKEY_CURRENT_USER whether it runs elevated or not. Unregistration removes the values
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

enum class RegistrationScope { PerUser, MachineWide };

// MachineWide when the calling thread's effective token is elevated (regsvr32 started from an
// administrator's prompt); PerUser otherwise, and on systems that know no elevation.
RegistrationScope ScopeOfCaller();

// "{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}"
std::wstring GuidText(const GUID& guid);

// Writes every value; on the first failure, removes what this call wrote and returns it.
HRESULT RegisterAddin(RegistrationScope scope, const CLSID& clsid, const addin::Registration& registration,
                      const std::wstring& modulePath);
// Removes the add-in entry and the class from both places, so that nothing of an earlier
// registration of either kind stays behind. A ProgID that now names another class is left
// alone. Without elevation, a machine-wide class cannot be removed: that failure is returned.
HRESULT UnregisterAddin(const CLSID& clsid, const addin::Registration& registration);

}  // namespace win32
