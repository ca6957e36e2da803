#include "win32/connect_object.h"

#include "win32/dispatch_host.h"

namespace win32 {

namespace {

struct MethodName {
  const wchar_t* name;
  DISPID id;
};
constexpr MethodName kMethods[] = {
    {L"OnConnection", kDispOnConnection},       {L"OnDisconnection", kDispOnDisconnection},
    {L"OnAddInsUpdate", kDispOnAddInsUpdate},   {L"OnStartupComplete", kDispOnStartupComplete},
    {L"OnBeginShutdown", kDispOnBeginShutdown},
};

// An argument of DISPPARAMS by position from the left (they are stored right to left).
VARIANT* Argument(DISPPARAMS* params, UINT position) {
  return &params->rgvarg[params->cArgs - 1 - position];
}

// The SAFEARRAY** of the `custom` argument (a ByRef array), or nullptr.
SAFEARRAY** CustomArgument(DISPPARAMS* params, UINT position) {
  if (params->cArgs <= position) return nullptr;
  VARIANT* arg = Argument(params, position);
  return (arg->vt & VT_BYREF) && (arg->vt & VT_ARRAY) ? arg->pparray : nullptr;
}

}  // namespace

HRESULT ExtensibilityIdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    if (i > 0) {  // named arguments are not supported
      hr = DISP_E_UNKNOWNNAME;
      continue;
    }
    for (const MethodName& method : kMethods)
      if (CompareStringOrdinal(names[i], -1, method.name, -1, TRUE) == CSTR_EQUAL) ids[i] = method.id;
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT ConnectObjectBase::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IDTExtensibility2) {
    *object = static_cast<IDTExtensibility2*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT ConnectObjectBase::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT ConnectObjectBase::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT ConnectObjectBase::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return ExtensibilityIdsOfNames(names, count, ids);
}

HRESULT ConnectObjectBase::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO*, UINT* argError) {
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  if (!params) params = &none;
  if (params->cNamedArgs) return DISP_E_NONAMEDARGS;
  if (result) VariantInit(result);
  switch (id) {
    case kDispOnConnection: {
      if (params->cArgs != 4) return DISP_E_BADPARAMCOUNT;
      VARIANT application;
      VariantInit(&application);
      if (FAILED(VariantChangeType(&application, Argument(params, 0), 0, VT_DISPATCH))) {
        if (argError) *argError = params->cArgs - 1;
        return DISP_E_TYPEMISMATCH;
      }
      VARIANT mode;
      VariantInit(&mode);
      if (FAILED(VariantChangeType(&mode, Argument(params, 1), 0, VT_I4))) {
        VariantClear(&application);
        if (argError) *argError = params->cArgs - 2;
        return DISP_E_TYPEMISMATCH;
      }
      VARIANT* addInInst = Argument(params, 2);
      HRESULT hr = OnConnection(application.pdispVal, static_cast<ext_ConnectMode>(mode.lVal),
                                addInInst->vt == VT_DISPATCH ? addInInst->pdispVal : nullptr,
                                CustomArgument(params, 3));
      VariantClear(&application);
      return hr;
    }
    case kDispOnDisconnection: {
      if (params->cArgs != 2) return DISP_E_BADPARAMCOUNT;
      VARIANT mode;
      VariantInit(&mode);
      if (FAILED(VariantChangeType(&mode, Argument(params, 0), 0, VT_I4))) {
        if (argError) *argError = params->cArgs - 1;
        return DISP_E_TYPEMISMATCH;
      }
      return OnDisconnection(static_cast<ext_DisconnectMode>(mode.lVal), CustomArgument(params, 1));
    }
    case kDispOnAddInsUpdate:
    case kDispOnStartupComplete:
    case kDispOnBeginShutdown:
      if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT ConnectObjectBase::OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode, IDispatch*,
                                        SAFEARRAY**) {
  if (!Application) return E_POINTER;
  try {
    connect().OnConnection(AttachVBE(Application), static_cast<int>(ConnectMode));
    return S_OK;
  } catch (...) {
    // ConnectBase reports its own failures; anything else stays on this side of the boundary.
    return E_FAIL;
  }
}

HRESULT ConnectObjectBase::OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY**) {
  try {
    connect().OnDisconnection(static_cast<int>(RemoveMode));
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace win32
