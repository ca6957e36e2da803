// Late-bound calls through IDispatch by member name, as VB makes them on the IDE's objects:
// arguments by position, results as VARIANT, and every failure (a failing HRESULT, an
// EXCEPINFO) raised as vb::Error with the object's error number and description.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <utility>

#include "framework/variant.h"
#include "framework/vb_error.h"
#include "framework/vb_text.h"

namespace win32 {

// Holds one IDispatch reference: AddRef on copy, Release once when dropped.
class DispatchRef {
 public:
  DispatchRef() = default;
  // Takes a new reference of `object` (AddRef).
  explicit DispatchRef(IDispatch* object) : object_(object) {
    if (object_) object_->AddRef();
  }
  // Adopts a reference the caller already owns.
  static DispatchRef Adopt(IDispatch* object) {
    DispatchRef ref;
    ref.object_ = object;
    return ref;
  }
  DispatchRef(const DispatchRef& other) : DispatchRef(other.object_) {}
  DispatchRef(DispatchRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  DispatchRef& operator=(DispatchRef other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~DispatchRef() {
    if (object_) object_->Release();
  }
  IDispatch* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  IDispatch* object_ = nullptr;
};

// Owns one VARIANT (cleared when dropped).
class Var {
 public:
  Var() { VariantInit(&value_); }
  Var(const Var&) = delete;
  Var& operator=(const Var&) = delete;
  Var(Var&& other) noexcept : Var() { std::swap(value_, other.value_); }
  ~Var() { VariantClear(&value_); }
  VARIANT& get() { return value_; }
  const VARIANT& get() const { return value_; }
  VARIANT* out() {
    VariantClear(&value_);
    return &value_;
  }

  static Var Long(long value);
  static Var Bool(bool value);
  static Var Double(double value);
  static Var Text(vb::TextView value);
  static Var Object(IDispatch* value);  // Nothing when null
  static Var LongRef(long* value);      // ByRef Long argument
  static Var Missing();                 // an optional argument left out
  static Var From(const vb::Variant& value);  // raises 13 for a value that has no VARIANT form

 private:
  VARIANT value_;
};

// Result readers: each converts as VB would and raises error 13 when it cannot.
long AsLong(const VARIANT& value);
bool AsBool(const VARIANT& value);
double AsDouble(const VARIANT& value);
vb::Text AsText(const VARIANT& value);
// An object result: empty for Nothing (VT_EMPTY, VT_NULL, a null pointer).
DispatchRef AsObject(const VARIANT& value);

// Calls `member` of `object` with `args` (left to right). `flags` is DISPATCH_METHOD,
// DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT; for a put the last argument is the value.
Var Invoke(IDispatch* object, const wchar_t* member, WORD flags, Var* args, UINT count);

template <class... Args>
Var Get(const DispatchRef& object, const wchar_t* member, Args&&... args) {
  Var list[] = {Var::Missing(), std::forward<Args>(args)...};
  return Invoke(object.get(), member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, list + 1, sizeof...(Args));
}
template <class... Args>
Var Call(const DispatchRef& object, const wchar_t* member, Args&&... args) {
  Var list[] = {Var::Missing(), std::forward<Args>(args)...};
  return Invoke(object.get(), member, DISPATCH_METHOD, list + 1, sizeof...(Args));
}
inline void Put(const DispatchRef& object, const wchar_t* member, Var value) {
  Invoke(object.get(), member, DISPATCH_PROPERTYPUT, &value, 1);
}

// The vb::Error for a failed call: an EXCEPINFO's number (the low word of a FACILITY_CONTROL
// code, as VB raises them) and description, or the VB error that a plain HRESULT stands for.
vb::Error ErrorFromCall(HRESULT hr, const EXCEPINFO* info, const wchar_t* member);
// The other way round, for objects this code exposes: fills EXCEPINFO from a vb::Error.
HRESULT FillException(const vb::Error& error, EXCEPINFO* info, const wchar_t* source);

// A VARIANT read as the small vb::Variant of designer properties (objects become fonts).
vb::Variant ToVbVariant(const VARIANT& value);

}  // namespace win32
