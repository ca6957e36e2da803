// The COM face of an add-in's Connect class: IDTExtensibility2 (vtable and IDispatch) over the
// framework's ConnectBase. The IDE's Application object is reached through the IDispatch
// adapter. Nothing is thrown across this boundary.
#pragma once

#include <windows.h>

#include <memory>
#include <new>

#include "framework/connect.h"
#include "win32/com_module.h"
#include "win32/dispatch_host.h"
#include "win32/extensibility.h"

namespace win32 {

// Names and DISPIDs of IDTExtensibility2 for late-bound callers.
HRESULT ExtensibilityIdsOfNames(LPOLESTR* names, UINT count, DISPID* ids);

class ConnectObjectBase : public IDTExtensibility2, private CountedObject {
 public:
  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG count = InterlockedDecrement(&refs_);
    if (count == 0) delete this;
    return count;
  }
  // IDispatch: the five methods by name, without a type library.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argError) override;
  // IDTExtensibility2
  HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode, IDispatch* AddInInst,
                                         SAFEARRAY** custom) override;
  HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY** custom) override;
  HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) override { return S_OK; }

  virtual addin::ConnectBase& connect() = 0;

 protected:
  ConnectObjectBase() = default;
  virtual ~ConnectObjectBase() = default;

 private:
  LONG refs_ = 1;
};

template <class AddinConnect>
class ConnectObject final : public ConnectObjectBase {
 public:
  addin::ConnectBase& connect() override { return *connect_; }
  AddinConnect& addin() { return *connect_; }

  // The factory's creation function: a new object answering `iid`.
  static HRESULT Create(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    ConnectObject* created = nullptr;
    try {
      created = new ConnectObject();
    } catch (...) {
      return E_OUTOFMEMORY;
    }
    HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
  }

 private:
  ConnectObject() : connect_(std::make_unique<AddinConnect>()) {}
  ~ConnectObject() override {
    try {
      connect_.reset();
    } catch (...) {
      // An add-in's teardown never escapes to the IDE.
    }
  }
  std::unique_ptr<AddinConnect> connect_;
};

}  // namespace win32
