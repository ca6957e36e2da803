// The four exports of an add-in DLL (listed in addin_server.def), built on the DLL's ThisAddin().
// Nothing is thrown across this boundary.
#include <windows.h>
#include <objbase.h>

#include <new>

#include "win32/addin_server.h"
#include "win32/class_factory.h"
#include "win32/registration.h"

using win32::AddinServer;
using win32::ThisAddin;

namespace {

HRESULT CreateConnect(REFIID iid, void** object) {
  try {
    const AddinServer& server = ThisAddin();
    win32::InstallAddinRuntime(server);
    return server.createConnect(iid, object);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != ThisAddin().clsid) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new (std::nothrow) win32::ClassFactory(&CreateConnect);
  if (!factory) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(iid, object);
  factory->Release();
  return hr;
}

STDAPI DllCanUnloadNow() { return win32::ModuleCounts::CanUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  try {
    const AddinServer& server = ThisAddin();
    const std::wstring path = win32::ThisModulePath();
    if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
    return win32::RegisterAddin(win32::ScopeOfCaller(), server.clsid, win32::RegistrationOf(server), path);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

STDAPI DllUnregisterServer() {
  try {
    const AddinServer& server = ThisAddin();
    return win32::UnregisterAddin(server.clsid, win32::RegistrationOf(server));
  } catch (...) {
    return E_UNEXPECTED;
  }
}
