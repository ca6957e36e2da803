// One of the six add-in DLLs, loaded beside the test program, with its four exports.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "hosts/memory/memory_host.h"
#include "win32/extensibility.h"

#include <memory>
#include <string>
#include <vector>

namespace wintest {

struct AddinInfo {
  const wchar_t* dll;  // "Ravlen"
  const wchar_t* progId;
  const wchar_t* displayName;
  const wchar_t* description;
};
// The six add-ins in suite order.
const std::vector<AddinInfo>& Addins();

class AddinDll {
 public:
  explicit AddinDll(const wchar_t* name);
  ~AddinDll();
  AddinDll(const AddinDll&) = delete;
  AddinDll& operator=(const AddinDll&) = delete;

  bool loaded() const { return module_ != nullptr; }
  std::wstring path() const;
  HRESULT Register() const { return register_(); }
  HRESULT Unregister() const { return unregister_(); }
  HRESULT CanUnloadNow() const { return canUnload_(); }
  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const { return getClassObject_(clsid, iid, object); }
  // The class the DLL registered for its ProgID (read from the registry after Register).
  CLSID RegisteredClsid(const wchar_t* progId) const;

 private:
  HMODULE module_ = nullptr;
  HRESULT(STDAPICALLTYPE* register_)() = nullptr;
  HRESULT(STDAPICALLTYPE* unregister_)() = nullptr;
  HRESULT(STDAPICALLTYPE* canUnload_)() = nullptr;
  HRESULT(STDAPICALLTYPE* getClassObject_)(REFCLSID, REFIID, void**) = nullptr;
};

// A registry string value, or "<none>".
std::wstring RegString(HKEY root, const std::wstring& key, const wchar_t* name);
// A registry DWORD value, or -1.
long long RegDword(HKEY root, const std::wstring& key, const wchar_t* name);
bool RegKeyExists(HKEY root, const std::wstring& key);

// The fake IDE's root object over `vbe` (fake_ide.h), a new reference.
IDispatch* NewFakeVBE(const std::shared_ptr<memhost::MemoryVBE>& vbe);

// A Connect object made by a loaded DLL, released when dropped.
class ConnectInstance {
 public:
  explicit ConnectInstance(const AddinDll& dll, const wchar_t* progId) {
    if (!dll.loaded() || FAILED(dll.Register())) return;
    const CLSID clsid = dll.RegisteredClsid(progId);
    dll.Unregister();
    IClassFactory* factory = nullptr;
    if (FAILED(dll.GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) return;
    factory->CreateInstance(nullptr, win32::IID_IDTExtensibility2, reinterpret_cast<void**>(&connect_));
    factory->Release();
  }
  ~ConnectInstance() {
    if (connect_) connect_->Release();
  }
  ConnectInstance(const ConnectInstance&) = delete;
  ConnectInstance& operator=(const ConnectInstance&) = delete;
  win32::IDTExtensibility2* operator->() const { return connect_; }
  explicit operator bool() const { return connect_ != nullptr; }

  // OnConnection with the fake IDE over `vbe`, as the IDE calls it (late-bound or not).
  HRESULT Connect(const std::shared_ptr<memhost::MemoryVBE>& vbe, int mode) {
    IDispatch* application = NewFakeVBE(vbe);
    HRESULT hr = connect_->OnConnection(application, static_cast<win32::ext_ConnectMode>(mode), nullptr, nullptr);
    application->Release();
    return hr;
  }
  // OnDisconnection through IDispatch::Invoke, the other way the IDE may call.
  HRESULT DisconnectLateBound(int mode) {
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    SAFEARRAY* custom = nullptr;
    args[0].vt = VT_ARRAY | VT_VARIANT | VT_BYREF;  // custom (rightmost)
    args[0].pparray = &custom;
    args[1].vt = VT_I4;
    args[1].lVal = mode;
    DISPPARAMS params = {args, nullptr, 2, 0};
    return connect_->Invoke(win32::kDispOnDisconnection, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                            nullptr);
  }

 private:
  win32::IDTExtensibility2* connect_ = nullptr;
};

}  // namespace wintest
