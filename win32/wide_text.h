// Conversions between vb::Text and the Windows wide strings (BSTR, wchar_t): both are 16-bit
// units, so the content is copied as it stands.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "framework/vb_text.h"

namespace win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

inline std::wstring Wide(vb::TextView text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}
inline vb::Text FromWide(const wchar_t* text, std::size_t length) {
  return vb::Text(reinterpret_cast<const char16_t*>(text), length);
}
inline vb::Text FromWide(const std::wstring& text) { return FromWide(text.data(), text.size()); }
inline vb::Text FromBstr(BSTR text) { return text ? FromWide(text, SysStringLen(text)) : vb::Text(); }
// A new BSTR the caller frees (or hands over).
inline BSTR NewBstr(vb::TextView text) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
}

// Owns one BSTR.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(vb::TextView text) : value_(NewBstr(text)) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return value_; }
  BSTR* out() {
    SysFreeString(value_);
    value_ = nullptr;
    return &value_;
  }
  vb::Text text() const { return FromBstr(value_); }

 private:
  BSTR value_ = nullptr;
};

}  // namespace win32
