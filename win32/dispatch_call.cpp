#include "win32/dispatch_call.h"

#include <string>
#include <vector>

#include "win32/registry_store.h"
#include "win32/wide_text.h"

namespace win32 {

Var Var::Long(long value) {
  Var v;
  v.value_.vt = VT_I4;
  v.value_.lVal = value;
  return v;
}

Var Var::Bool(bool value) {
  Var v;
  v.value_.vt = VT_BOOL;
  v.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

Var Var::Double(double value) {
  Var v;
  v.value_.vt = VT_R8;
  v.value_.dblVal = value;
  return v;
}

Var Var::Text(vb::TextView value) {
  Var v;
  v.value_.bstrVal = NewBstr(value);
  if (!v.value_.bstrVal && !value.empty()) vb::RaiseStandard(7);
  v.value_.vt = VT_BSTR;
  return v;
}

Var Var::Object(IDispatch* value) {
  Var v;
  v.value_.vt = VT_DISPATCH;
  v.value_.pdispVal = value;
  if (value) value->AddRef();
  return v;
}

Var Var::LongRef(long* value) {
  Var v;
  v.value_.vt = VT_I4 | VT_BYREF;
  v.value_.plVal = reinterpret_cast<LONG*>(value);
  return v;
}

Var Var::Missing() {
  Var v;
  v.value_.vt = VT_ERROR;
  v.value_.scode = DISP_E_PARAMNOTFOUND;
  return v;
}

namespace {

// Converts a result as VB's implicit conversions would; error 13 when it cannot.
Var Converted(const VARIANT& value, VARTYPE type) {
  Var result;
  HRESULT hr = VariantChangeType(result.out(), const_cast<VARIANT*>(&value), 0, type);
  if (hr == DISP_E_OVERFLOW) vb::RaiseStandard(vb::err::kOverflow);
  if (FAILED(hr)) vb::RaiseStandard(vb::err::kTypeMismatch);
  return result;
}

}  // namespace

long AsLong(const VARIANT& value) { return Converted(value, VT_I4).get().lVal; }
bool AsBool(const VARIANT& value) { return Converted(value, VT_BOOL).get().boolVal != VARIANT_FALSE; }
double AsDouble(const VARIANT& value) { return Converted(value, VT_R8).get().dblVal; }

vb::Text AsText(const VARIANT& value) {
  if (value.vt == VT_BSTR) return FromBstr(value.bstrVal);
  return FromBstr(Converted(value, VT_BSTR).get().bstrVal);
}

DispatchRef AsObject(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return DispatchRef();
    case VT_DISPATCH:
      return DispatchRef(value.pdispVal);
    case VT_DISPATCH | VT_BYREF:
      return DispatchRef(value.ppdispVal ? *value.ppdispVal : nullptr);
    case VT_UNKNOWN: {
      if (!value.punkVal) return DispatchRef();
      IDispatch* dispatch = nullptr;
      if (FAILED(value.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        vb::RaiseStandard(vb::err::kTypeMismatch);
      return DispatchRef::Adopt(dispatch);
    }
    default:
      vb::RaiseStandard(vb::err::kTypeMismatch);
  }
}

Var Invoke(IDispatch* object, const wchar_t* member, WORD flags, Var* args, UINT count) {
  if (!object) vb::RaiseStandard(vb::err::kObjectNotSet);
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR name = const_cast<LPOLESTR>(member);
  HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) throw ErrorFromCall(hr, nullptr, member);

  // DISPPARAMS holds the arguments right to left.
  std::vector<VARIANT> reversed(count);
  for (UINT i = 0; i < count; ++i) reversed[count - 1 - i] = args[i].get();
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params = {count ? reversed.data() : nullptr, nullptr, count, 0};
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  Var result;
  EXCEPINFO info = {};
  UINT argError = 0;
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                      (flags & DISPATCH_PROPERTYPUT) ? nullptr : result.out(), &info, &argError);
  if (FAILED(hr)) {
    vb::Error error = ErrorFromCall(hr, hr == DISP_E_EXCEPTION ? &info : nullptr, member);
    if (hr == DISP_E_EXCEPTION) {
      SysFreeString(info.bstrSource);
      SysFreeString(info.bstrDescription);
      SysFreeString(info.bstrHelpFile);
    }
    throw error;
  }
  return result;
}

namespace {

struct KnownFailure {
  HRESULT hr;
  int number;
};
// The VB runtime's numbers for the failures that the automation layer reports by HRESULT.
constexpr KnownFailure kKnownFailures[] = {
    {DISP_E_TYPEMISMATCH, vb::err::kTypeMismatch},
    {DISP_E_OVERFLOW, vb::err::kOverflow},
    {DISP_E_BADINDEX, vb::err::kSubscriptOutOfRange},
    {E_INVALIDARG, vb::err::kInvalidProcedureCall},
    {E_OUTOFMEMORY, 7},
    {DISP_E_MEMBERNOTFOUND, 438},
    {DISP_E_UNKNOWNNAME, 438},
    {DISP_E_BADPARAMCOUNT, 450},
    {DISP_E_PARAMNOTOPTIONAL, 449},
    {E_NOINTERFACE, 430},
};

const char16_t* StandardText(int number) {
  switch (number) {
    case 438:
      return u"Object doesn't support this property or method";
    case 450:
      return u"Wrong number of arguments or invalid property assignment";
    case 449:
      return u"Argument not optional";
    case 430:
      return u"Class does not support Automation or does not support expected interface";
    default:
      return nullptr;
  }
}

}  // namespace

vb::Error ErrorFromCall(HRESULT hr, const EXCEPINFO* info, const wchar_t* member) {
  const vb::Text source = member ? FromWide(member, wcslen(member)) : vb::Text();
  if (info) {
    EXCEPINFO filled = *info;
    if (filled.pfnDeferredFillIn) filled.pfnDeferredFillIn(&filled);
    HRESULT code = filled.scode ? filled.scode : (filled.wCode ? MAKE_HRESULT(1, FACILITY_CONTROL, filled.wCode) : hr);
    int number = HRESULT_FACILITY(code) == FACILITY_CONTROL ? HRESULT_CODE(code) : static_cast<int>(code);
    vb::Text description = FromBstr(filled.bstrDescription);
    if (description.empty()) description = SystemMessage(static_cast<DWORD>(code));
    return vb::Error(number, description, source);
  }
  if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return vb::Error(HRESULT_CODE(hr), SystemMessage(hr), source);
  for (const KnownFailure& known : kKnownFailures) {
    if (known.hr != hr) continue;
    if (const char16_t* text = StandardText(known.number)) return vb::Error(known.number, text, source);
    try {
      vb::RaiseStandard(known.number, source);
    } catch (const vb::Error& standard) {
      return standard;
    }
  }
  return vb::Error(static_cast<int>(hr), SystemMessage(static_cast<DWORD>(hr)), source);
}

HRESULT FillException(const vb::Error& error, EXCEPINFO* info, const wchar_t* source) {
  if (!info) return error.number > 0 && error.number <= 0xFFFF ? MAKE_HRESULT(1, FACILITY_CONTROL, error.number)
                                                              : static_cast<HRESULT>(error.number);
  *info = EXCEPINFO{};
  info->bstrSource = SysAllocString(source);
  info->bstrDescription = NewBstr(error.description);
  info->scode = error.number > 0 && error.number <= 0xFFFF ? MAKE_HRESULT(1, FACILITY_CONTROL, error.number)
                                                          : static_cast<HRESULT>(error.number);
  return DISP_E_EXCEPTION;
}

}  // namespace win32
