// What one add-in DLL serves: its Connect class under a fixed CLSID, its registration data,
// and the services its copy of the framework needs. Each DLL defines ThisAddin() once, in
// addins/<name>.cpp; dll_exports.cpp builds the four exports on it.
#pragma once

#include <windows.h>

#include "framework/connect.h"
#include "framework/runtime.h"

namespace win32 {

struct AddinServer {
  CLSID clsid;
  const char16_t* progId;
  // Creates a new Connect object and asks it for `iid`.
  HRESULT (*createConnect)(REFIID iid, void** object);
  // The add-in's application log, or nullptr when it keeps none; called once.
  vb::EventLog* (*eventLog)();
};

const AddinServer& ThisAddin();

// The registration entry of the add-in (its ProgID must be one of the suite's).
const addin::Registration& RegistrationOf(const AddinServer& server);

// Installs the runtime services of the DLL's framework once, for the life of the process:
// the registry settings store, the system clock, the native toolkit and the add-in's log.
void InstallAddinRuntime(const AddinServer& server);

}  // namespace win32
