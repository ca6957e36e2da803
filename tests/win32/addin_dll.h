// One of the six add-in DLLs, loaded beside the test program, with its four exports.
#pragma once

#include <windows.h>
#include <unknwn.h>

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

}  // namespace wintest
