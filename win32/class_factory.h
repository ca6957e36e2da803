// The class factory of an add-in's Connect class.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "win32/com_module.h"

namespace win32 {

class ClassFactory final : public IClassFactory, private CountedObject {
 public:
  using Create = HRESULT (*)(REFIID iid, void** object);
  explicit ClassFactory(Create create) : create_(create) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG count = InterlockedDecrement(&refs_);
    if (count == 0) delete this;
    return count;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      ModuleCounts::Lock();
    else
      ModuleCounts::Unlock();
    return S_OK;
  }

 private:
  LONG refs_ = 1;
  Create create_;
};

}  // namespace win32
