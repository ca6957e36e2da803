// Self-registration of the six DLLs and the life of their Connect objects, through the DLLs'
// own exports as regsvr32 and the IDE's loader call them.
#include <windows.h>
#include <objbase.h>

#include <set>

#include "addin_dll.h"
#include "check.h"
#include "win32/extensibility.h"

using namespace wintest;

namespace {

const std::wstring kClasses = L"Software\\Classes\\";
const std::wstring kAddins = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins\\";

std::wstring Lower(std::wstring text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

}  // namespace

WIN_TEST(RegistrationWritesEveryValueAndUnregistrationRemovesThem) {
  // Another add-in's entry and the shared parent keys must outlive ours.
  const std::wstring other = kAddins + L"Other.Connect";
  RegSetKeyValueW(HKEY_CURRENT_USER, other.c_str(), L"FriendlyName", REG_SZ, L"Other", sizeof L"Other");
  std::set<std::wstring> classes;
  for (const AddinInfo& info : Addins()) {
    AddinDll dll(info.dll);
    CHECK(dll.loaded());
    if (!dll.loaded()) continue;
    CHECK_EQ(dll.Register(), S_OK);
    CHECK_EQ(dll.Register(), S_OK);  // registering again changes nothing
    const CLSID clsid = dll.RegisteredClsid(info.progId);
    const std::wstring guid = GuidText(clsid);
    classes.insert(guid);
    const std::wstring progIdKey = kClasses + info.progId;
    const std::wstring classKey = kClasses + L"CLSID\\" + guid;
    CHECK_EQ(RegString(HKEY_CURRENT_USER, progIdKey, nullptr), std::wstring(info.displayName));
    CHECK_EQ(RegString(HKEY_CURRENT_USER, classKey, nullptr), std::wstring(info.displayName));
    CHECK_EQ(RegString(HKEY_CURRENT_USER, classKey + L"\\ProgID", nullptr), std::wstring(info.progId));
    CHECK_EQ(Lower(RegString(HKEY_CURRENT_USER, classKey + L"\\InprocServer32", nullptr)), Lower(dll.path()));
    CHECK_EQ(RegString(HKEY_CURRENT_USER, classKey + L"\\InprocServer32", L"ThreadingModel"), std::wstring(L"Apartment"));
    const std::wstring addinKey = kAddins + info.progId;
    CHECK_EQ(RegString(HKEY_CURRENT_USER, addinKey, L"FriendlyName"), std::wstring(info.displayName));
    CHECK_EQ(RegString(HKEY_CURRENT_USER, addinKey, L"Description"), std::wstring(info.description));
    CHECK_EQ(RegDword(HKEY_CURRENT_USER, addinKey, L"LoadBehavior"), 1LL);
    CHECK_EQ(RegDword(HKEY_CURRENT_USER, addinKey, L"CommandLineSafe"), 0LL);

    CHECK_EQ(dll.Unregister(), S_OK);
    CHECK(!RegKeyExists(HKEY_CURRENT_USER, progIdKey));
    CHECK(!RegKeyExists(HKEY_CURRENT_USER, classKey));
    CHECK(!RegKeyExists(HKEY_CURRENT_USER, addinKey));
    CHECK_EQ(dll.Unregister(), S_OK);  // nothing left to remove is no failure
  }
  CHECK_EQ(classes.size(), Addins().size());  // one class per add-in
  CHECK_EQ(RegString(HKEY_CURRENT_USER, other, L"FriendlyName"), std::wstring(L"Other"));
  CHECK(RegKeyExists(HKEY_CURRENT_USER, kClasses + L"CLSID"));
  RegDeleteTreeW(HKEY_CURRENT_USER, other.c_str());
}

WIN_TEST(UnregistrationLeavesWhatOthersWrote) {
  AddinDll dll(L"Quenby");
  CHECK(dll.loaded());
  if (!dll.loaded()) return;
  CHECK_EQ(dll.Register(), S_OK);
  const std::wstring guid = GuidText(dll.RegisteredClsid(L"Quenby.Connect"));
  // The IDE keeps its own values beside ours, and another server took the ProgID over.
  const std::wstring addinKey = kAddins + L"Quenby.Connect";
  DWORD extra = 7;
  RegSetKeyValueW(HKEY_CURRENT_USER, addinKey.c_str(), L"ToolbarState", REG_DWORD, &extra, sizeof extra);
  const std::wstring otherClass = L"{00000000-1111-2222-3333-444444444444}";
  RegSetKeyValueW(HKEY_CURRENT_USER, (kClasses + L"Quenby.Connect\\CLSID").c_str(), nullptr, REG_SZ, otherClass.c_str(),
                  static_cast<DWORD>((otherClass.size() + 1) * sizeof(wchar_t)));

  CHECK_EQ(dll.Unregister(), S_OK);
  CHECK_EQ(RegDword(HKEY_CURRENT_USER, addinKey, L"ToolbarState"), 7LL);
  CHECK_EQ(RegString(HKEY_CURRENT_USER, addinKey, L"FriendlyName"), std::wstring(L"<none>"));
  CHECK_EQ(RegDword(HKEY_CURRENT_USER, addinKey, L"LoadBehavior"), -1LL);
  CHECK_EQ(RegString(HKEY_CURRENT_USER, kClasses + L"Quenby.Connect\\CLSID", nullptr), otherClass);
  CHECK(!RegKeyExists(HKEY_CURRENT_USER, kClasses + L"CLSID\\" + guid));
  RegDeleteTreeW(HKEY_CURRENT_USER, addinKey.c_str());
  RegDeleteTreeW(HKEY_CURRENT_USER, (kClasses + L"Quenby.Connect").c_str());
}

WIN_TEST(ClassFactoryCreatesConnectObjectsAndCountsThem) {
  for (const AddinInfo& info : Addins()) {
    AddinDll dll(info.dll);
    CHECK(dll.loaded());
    if (!dll.loaded()) continue;
    CHECK_EQ(dll.Register(), S_OK);
    const CLSID clsid = dll.RegisteredClsid(info.progId);
    CHECK_EQ(dll.Unregister(), S_OK);
    CHECK_EQ(dll.CanUnloadNow(), S_OK);

    void* none = reinterpret_cast<void*>(1);
    CHECK_EQ(dll.GetClassObject(IID_IDispatch, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
    CHECK(none == nullptr);
    IClassFactory* factory = nullptr;
    CHECK_EQ(dll.GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    if (!factory) continue;
    CHECK_EQ(dll.CanUnloadNow(), S_FALSE);

    IUnknown* outer = factory;
    void* aggregated = nullptr;
    CHECK_EQ(factory->CreateInstance(outer, IID_IUnknown, &aggregated), CLASS_E_NOAGGREGATION);
    win32::IDTExtensibility2* connect = nullptr;
    CHECK_EQ(factory->CreateInstance(nullptr, win32::IID_IDTExtensibility2, reinterpret_cast<void**>(&connect)), S_OK);
    factory->LockServer(TRUE);
    CHECK_EQ(factory->Release(), 0UL);
    CHECK_EQ(dll.CanUnloadNow(), S_FALSE);  // the object and the lock
    if (connect) {
      IUnknown* identity = nullptr;
      IDispatch* dispatch = nullptr;
      void* notOffered = nullptr;
      CHECK_EQ(connect->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
      CHECK_EQ(connect->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
      CHECK_EQ(connect->QueryInterface(IID_IClassFactory, &notOffered), E_NOINTERFACE);
      // Late-bound callers find the five methods by name.
      const wchar_t* names[] = {L"OnConnection", L"ondisconnection", L"OnBeginShutdown"};
      const DISPID expected[] = {1, 2, 5};
      for (int i = 0; i < 3; ++i) {
        DISPID id = 0;
        LPOLESTR name = const_cast<LPOLESTR>(names[i]);
        if (dispatch) CHECK_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
        CHECK_EQ(id, expected[i]);
      }
      // Without the IDE's object there is nothing to connect to, and nothing breaks.
      CHECK_EQ(connect->OnConnection(nullptr, win32::ext_cm_AfterStartup, nullptr, nullptr), E_POINTER);
      CHECK_EQ(connect->OnStartupComplete(nullptr), S_OK);
      if (identity) identity->Release();
      if (dispatch) dispatch->Release();
      CHECK_EQ(connect->Release(), 0UL);
    }
    CHECK_EQ(dll.CanUnloadNow(), S_FALSE);  // still locked
    IClassFactory* again = nullptr;
    CHECK_EQ(dll.GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&again)), S_OK);
    if (again) {
      again->LockServer(FALSE);
      again->Release();
    }
    CHECK_EQ(dll.CanUnloadNow(), S_OK);
  }
}
