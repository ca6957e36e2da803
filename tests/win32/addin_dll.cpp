#include "addin_dll.h"

#include <objbase.h>

#include "fake_ide.h"

namespace wintest {

const std::vector<AddinInfo>& Addins() {
  static const std::vector<AddinInfo> addins = {
      {L"Ravlen", L"Ravlen.Connect", L"Ravlen Editor",
       L"This Add-In provides you with the ability to easily set some of the common properties for several of the "
       L"more widely used controls."},
      {L"Comment", L"Comment.Connect", L"Annotar",
       L"This Add-In provides you with a way to easily comment/uncomment code and also to add function headers and "
       L"revisions."},
      {L"Pellmoss", L"Pellmoss.Connect", L"Pellmoss Librarian",
       L"This Add-In is designed to allow you to store bits and pieces of code for easy retrieval into your "
       L"application"},
      {L"Tallowick", L"Tallowick.Connect", L"Tallowick Tally",
       L"This Add-In provides an easy way to count the number of lines of code, comments, and white space in your "
       L"module or your entire project."},
      {L"Morrowgate", L"Morrowgate.Connect", L"Morrowgate Builder",
       L"This Add-In provides an easy way to implement interfaces by placing all the needed functions and "
       L"properties into the object implementing another object."},
      {L"Quenby", L"Quenby.Connect", L"Quenby Tool",
       L"This Add-In simplies the process of adding a new property to a form, class, etc."},
  };
  return addins;
}

template <class F>
void Bind(HMODULE module, const char* name, F& function) {
  function = module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

AddinDll::AddinDll(const wchar_t* name) {
  module_ = LoadLibraryW((std::wstring(name) + L".dll").c_str());
  Bind(module_, "DllRegisterServer", register_);
  Bind(module_, "DllUnregisterServer", unregister_);
  Bind(module_, "DllCanUnloadNow", canUnload_);
  Bind(module_, "DllGetClassObject", getClassObject_);
  if (!register_ || !unregister_ || !canUnload_ || !getClassObject_) {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }
}

AddinDll::~AddinDll() {
  if (module_) FreeLibrary(module_);
}

std::wstring AddinDll::path() const {
  wchar_t buffer[MAX_PATH] = {};
  DWORD length = module_ ? GetModuleFileNameW(module_, buffer, MAX_PATH) : 0;
  return std::wstring(buffer, length);
}

CLSID AddinDll::RegisteredClsid(const wchar_t* progId) const {
  // Per-user, or machine-wide when the test runs elevated (as Wine runs it by default).
  CLSID clsid = CLSID_NULL;
  const std::wstring key = std::wstring(L"Software\\Classes\\") + progId + L"\\CLSID";
  std::wstring text = RegString(HKEY_CURRENT_USER, key, nullptr);
  if (text == L"<none>") text = RegString(HKEY_LOCAL_MACHINE, key, nullptr);
  if (text != L"<none>") CLSIDFromString(text.c_str(), &clsid);
  return clsid;
}

IDispatch* NewFakeVBE(const std::shared_ptr<memhost::MemoryVBE>& vbe) { return fakeide::NewVBE(vbe); }

std::wstring RegString(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return L"<none>";
  return buffer;
}

long long RegDword(HKEY root, const std::wstring& key, const wchar_t* name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) return -1;
  return value;
}

bool RegKeyExists(HKEY root, const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

}  // namespace wintest
