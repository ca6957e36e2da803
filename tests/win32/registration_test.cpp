// Self-registration of the six DLLs, elevated and not, and the life of their Connect objects,
// through the DLLs' own exports as regsvr32 and the IDE's loader call them; their version
// resources.
#include <windows.h>
#include <objbase.h>

#include <optional>
#include <set>
#include <vector>

#include "addin_dll.h"
#include "check.h"
#include "win32/extensibility.h"
#include "win32/registration.h"
#include "win32/wide_text.h"

using namespace wintest;
using win32::FromWide;

namespace {

const std::wstring kClasses = L"Software\\Classes\\";
const std::wstring kAddins = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins\\";

std::wstring Lower(std::wstring text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// The limited token that the system links to an administrator's elevated one (Wine runs programs
// elevated, as "Run as administrator" would), or nullptr. The caller closes it.
HANDLE LimitedToken() {
  HANDLE process = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &process)) return nullptr;
  TOKEN_LINKED_TOKEN linked = {};
  DWORD size = 0;
  if (!GetTokenInformation(process, TokenLinkedToken, &linked, sizeof linked, &size)) linked.LinkedToken = nullptr;
  CloseHandle(process);
  return linked.LinkedToken;
}

// The calling thread without elevation while this lives.
class NotElevated {
 public:
  NotElevated() {
    if (HANDLE token = LimitedToken()) {
      active_ = ImpersonateLoggedOnUser(token) != FALSE;
      CloseHandle(token);
    }
  }
  ~NotElevated() {
    if (active_) RevertToSelf();
  }
  NotElevated(const NotElevated&) = delete;
  NotElevated& operator=(const NotElevated&) = delete;
  bool active() const { return active_; }

 private:
  bool active_ = false;
};

struct ScriptRun {
  DWORD exitCode = 999;
  std::string output;
};

// Runs a script with cmd.exe from a prompt without elevation, and collects what it prints.
ScriptRun RunNotElevated(const std::wstring& script) {
  ScriptRun run;
  HANDLE limited = LimitedToken();
  HANDLE primary = nullptr;
  const bool ready = limited && DuplicateTokenEx(limited, MAXIMUM_ALLOWED, nullptr, SecurityImpersonation,
                                                 TokenPrimary, &primary);
  if (limited) CloseHandle(limited);
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!ready || !CreatePipe(&read, &write, &inherit, 0)) return run;
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = write;
  PROCESS_INFORMATION process = {};
  std::wstring command = L"cmd.exe /c \"\"" + script + L"\"\"";
  const bool started = CreateProcessAsUserW(primary, nullptr, command.data(), nullptr, nullptr, TRUE,
                                            CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  CloseHandle(write);
  if (started) {
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got) run.output.append(buffer, got);
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(read);
  CloseHandle(primary);
  return run;
}

// Every key and value below `key`, as "key|name|type|data" lines.
void Dump(HKEY root, const std::wstring& key, std::set<std::wstring>& out) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return;
  out.insert(key);
  for (DWORD i = 0;; ++i) {
    wchar_t name[256] = {};
    BYTE data[2048] = {};
    DWORD nameLength = 256, dataSize = sizeof data, type = 0;
    if (RegEnumValueW(handle, i, name, &nameLength, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    out.insert(key + L"|" + name + L"|" + std::to_wstring(type) + L"|" +
               std::wstring(reinterpret_cast<wchar_t*>(data), dataSize / sizeof(wchar_t)));
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256] = {};
    DWORD nameLength = 256;
    if (RegEnumKeyExW(handle, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    Dump(root, key + L"\\" + name, out);
  }
  RegCloseKey(handle);
}

// What registration may touch, in both roots: the ProgID and the IDE's add-in list with every
// value, and the names of all classes.
std::set<std::wstring> Snapshot(const std::wstring& progId) {
  std::set<std::wstring> out;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    std::set<std::wstring> part;
    Dump(root, kClasses + progId, part);
    Dump(root, L"Software\\Microsoft\\Visual Basic", part);
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, (kClasses + L"CLSID").c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS) {
      wchar_t name[256] = {};
      for (DWORD i = 0, length = 256; RegEnumKeyExW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) ==
                                      ERROR_SUCCESS;
           ++i, length = 256)
        part.insert(L"CLSID\\" + std::wstring(name));
      RegCloseKey(handle);
    }
    for (const std::wstring& line : part) out.insert((root == HKEY_CURRENT_USER ? L"HKCU " : L"HKLM ") + line);
  }
  return out;
}

// The lines of one snapshot missing from the other, marked "-" (gone) or "+" (new).
std::vector<std::wstring> Changes(const std::set<std::wstring>& before, const std::set<std::wstring>& after) {
  std::vector<std::wstring> changes;
  for (const std::wstring& line : before)
    if (!after.count(line)) changes.push_back(L"- " + line);
  for (const std::wstring& line : after)
    if (!before.count(line)) changes.push_back(L"+ " + line);
  return changes;
}

// Removes every key of the add-in's registration, per user and machine-wide, without its DLL: a
// run of the package scripts cut short (Wine's cmd now and then fails to start regsvr32) leaves
// some behind, and the next run must start from none.
void RemoveRegistration(const AddinInfo& info) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    const std::wstring guid = RegString(root, kClasses + info.progId + L"\\CLSID", nullptr);
    if (!guid.empty()) RegDeleteTreeW(root, (kClasses + L"CLSID\\" + guid).c_str());
    RegDeleteTreeW(root, (kClasses + info.progId).c_str());
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, (kAddins + info.progId).c_str());
}

}  // namespace

WIN_TEST(RegistrationPerUserAndElevatedEachReadBackAndRemovedExactly) {
  // Another add-in's entry and the shared parent keys must outlive ours.
  const std::wstring other = kAddins + L"Other.Connect";
  RegSetKeyValueW(HKEY_CURRENT_USER, other.c_str(), L"FriendlyName", REG_SZ, L"Other", sizeof L"Other");
  std::set<std::wstring> classes;
  for (const bool elevated : {true, false}) {
    for (const AddinInfo& info : Addins()) {
      AddinDll dll(info.dll);
      CHECK(dll.loaded());
      if (!dll.loaded()) continue;
      std::optional<NotElevated> limited;
      if (!elevated) {
        limited.emplace();
        CHECK(limited->active());
      }
      CHECK_EQ(win32::ScopeOfCaller() == win32::RegistrationScope::MachineWide, elevated);
      const std::wstring progIdKey = kClasses + info.progId;
      const std::wstring addinKey = kAddins + info.progId;
      const std::set<std::wstring> before = Snapshot(info.progId);
      CHECK_EQ(dll.Register(), S_OK);
      CHECK_EQ(dll.Register(), S_OK);  // registering again changes nothing
      const std::wstring guid = win32::GuidText(dll.RegisteredClsid(info.progId));
      classes.insert(guid);
      // The class where an IDE run the same way loads it from, and nowhere else.
      const HKEY root = elevated ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
      const HKEY elsewhere = elevated ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
      const std::wstring classKey = kClasses + L"CLSID\\" + guid;
      CHECK_EQ(RegString(root, progIdKey, nullptr), std::wstring(info.displayName));
      CHECK_EQ(RegString(root, progIdKey + L"\\CLSID", nullptr), guid);
      CHECK_EQ(RegString(root, classKey, nullptr), std::wstring(info.displayName));
      CHECK_EQ(RegString(root, classKey + L"\\ProgID", nullptr), std::wstring(info.progId));
      CHECK_EQ(Lower(RegString(root, classKey + L"\\InprocServer32", nullptr)), Lower(dll.path()));
      CHECK_EQ(RegString(root, classKey + L"\\InprocServer32", L"ThreadingModel"), std::wstring(L"Apartment"));
      CHECK(!RegKeyExists(elsewhere, progIdKey));
      CHECK(!RegKeyExists(elsewhere, classKey));
      // The IDE reads its add-in list per user, elevated or not.
      CHECK_EQ(RegString(HKEY_CURRENT_USER, addinKey, L"FriendlyName"), std::wstring(info.displayName));
      CHECK_EQ(RegString(HKEY_CURRENT_USER, addinKey, L"Description"), std::wstring(info.description));
      CHECK_EQ(RegDword(HKEY_CURRENT_USER, addinKey, L"LoadBehavior"), 1LL);
      CHECK_EQ(RegDword(HKEY_CURRENT_USER, addinKey, L"CommandLineSafe"), 0LL);
      CHECK(!RegKeyExists(HKEY_LOCAL_MACHINE, addinKey));

      CHECK_EQ(dll.Unregister(), S_OK);
      CHECK_EQ(Changes(before, Snapshot(info.progId)), std::vector<std::wstring>{});
      CHECK_EQ(dll.Unregister(), S_OK);  // nothing left to remove is no failure
    }
  }
  CHECK_EQ(classes.size(), Addins().size());  // one class per add-in
  CHECK_EQ(RegString(HKEY_CURRENT_USER, other, L"FriendlyName"), std::wstring(L"Other"));
  RegDeleteTreeW(HKEY_CURRENT_USER, other.c_str());
}

WIN_TEST(UnregistrationRemovesBothKindsAndLeavesWhatOthersWrote) {
  AddinDll dll(L"Quenby");
  CHECK(dll.loaded());
  if (!dll.loaded()) return;
  const std::wstring progIdKey = kClasses + L"Quenby.Connect";
  const std::wstring addinKey = kAddins + L"Quenby.Connect";
  // A per-user registration, then a machine-wide one: one removal takes both.
  {
    NotElevated limited;
    CHECK_EQ(dll.Register(), S_OK);
  }
  CHECK_EQ(dll.Register(), S_OK);
  const std::wstring guid = win32::GuidText(dll.RegisteredClsid(L"Quenby.Connect"));
  CHECK(RegKeyExists(HKEY_CURRENT_USER, kClasses + L"CLSID\\" + guid));
  CHECK(RegKeyExists(HKEY_LOCAL_MACHINE, kClasses + L"CLSID\\" + guid));
  // The IDE keeps its own values beside ours, and another server took the machine's ProgID.
  DWORD extra = 7;
  RegSetKeyValueW(HKEY_CURRENT_USER, addinKey.c_str(), L"ToolbarState", REG_DWORD, &extra, sizeof extra);
  const std::wstring otherClass = L"{00000000-1111-2222-3333-444444444444}";
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, (progIdKey + L"\\CLSID").c_str(), nullptr, REG_SZ, otherClass.c_str(),
                  static_cast<DWORD>((otherClass.size() + 1) * sizeof(wchar_t)));

  CHECK_EQ(dll.Unregister(), S_OK);
  CHECK_EQ(RegDword(HKEY_CURRENT_USER, addinKey, L"ToolbarState"), 7LL);
  CHECK_EQ(RegString(HKEY_CURRENT_USER, addinKey, L"FriendlyName"), std::wstring(L"<none>"));
  CHECK_EQ(RegDword(HKEY_CURRENT_USER, addinKey, L"LoadBehavior"), -1LL);
  CHECK_EQ(RegString(HKEY_LOCAL_MACHINE, progIdKey + L"\\CLSID", nullptr), otherClass);
  CHECK(!RegKeyExists(HKEY_CURRENT_USER, progIdKey));
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) CHECK(!RegKeyExists(root, kClasses + L"CLSID\\" + guid));
  RegDeleteTreeW(HKEY_CURRENT_USER, addinKey.c_str());
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, progIdKey.c_str());
}

WIN_TEST(PackageScriptsRegisterAndUnregisterAllSixAndStopAtAFailure) {
  // The package as unzipped into a folder whose name has a space, run from a normal prompt.
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  const std::wstring bin = std::wstring(program).substr(0, std::wstring(program).rfind(L'\\') + 1);
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"vb6kit package\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  for (const wchar_t* script : {L"register.cmd", L"unregister.cmd"})
    CHECK(CopyFileW((bin + L"..\\package\\" + script).c_str(), (folder + script).c_str(), FALSE));
  for (const AddinInfo& info : Addins())
    CHECK(CopyFileW((bin + info.dll + L".dll").c_str(), (folder + info.dll + L".dll").c_str(), FALSE));
  for (const AddinInfo& info : Addins()) RemoveRegistration(info);
  auto snapshot = [] {
    std::set<std::wstring> all;
    for (const AddinInfo& info : Addins()) all.merge(Snapshot(info.progId));
    return all;
  };
  const std::set<std::wstring> before = snapshot();
  const std::string perUser = "Registering the add-ins for the current user only (HKEY_CURRENT_USER).\r\n";

  ScriptRun run = RunNotElevated(folder + L"register.cmd");
  std::string expected = perUser;
  for (const AddinInfo& info : Addins()) expected += "Registered " + vb::ToUtf8(FromWide(info.dll)) + ".dll\r\n";
  expected += "All six add-ins are registered. Start Visual Basic 6.0 and load them in Add-Ins, Add-In Manager.\r\n";
  CHECK_EQ(run.output, expected);
  CHECK_EQ(run.exitCode, 0UL);
  for (const AddinInfo& info : Addins()) {
    const std::wstring guid = RegString(HKEY_CURRENT_USER, kClasses + info.progId + L"\\CLSID", nullptr);
    CHECK_EQ(Lower(RegString(HKEY_CURRENT_USER, kClasses + L"CLSID\\" + guid + L"\\InprocServer32", nullptr)),
             Lower(folder + info.dll + L".dll"));
    CHECK_EQ(RegString(HKEY_CURRENT_USER, kAddins + info.progId, L"FriendlyName"), std::wstring(info.displayName));
  }
  run = RunNotElevated(folder + L"unregister.cmd");
  expected.clear();
  for (const AddinInfo& info : Addins()) expected += "Unregistered " + vb::ToUtf8(FromWide(info.dll)) + ".dll\r\n";
  expected += "All six add-ins are unregistered, per-user and machine-wide.\r\n";
  CHECK_EQ(run.output, expected);
  CHECK_EQ(run.exitCode, 0UL);
  CHECK_EQ(Changes(before, snapshot()), std::vector<std::wstring>{});

  // A damaged DLL stops registration there; a missing one stops both scripts there.
  const std::wstring comment = folder + L"Comment.dll";
  HANDLE damaged = CreateFileW(comment.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(damaged);
  run = RunNotElevated(folder + L"register.cmd");
  CHECK_EQ(run.output, perUser + "Registered Ravlen.dll\r\n"
                                 "Registering Comment.dll failed (regsvr32 exit code 3); the add-ins after it were "
                                 "not registered.\r\n");
  CHECK_EQ(run.exitCode, 1UL);
  DeleteFileW(comment.c_str());
  const std::string missing = "Comment.dll is not in " + vb::ToUtf8(FromWide(folder)) + ": ";
  run = RunNotElevated(folder + L"register.cmd");
  CHECK_EQ(run.output, perUser + "Registered Ravlen.dll\r\n" + missing +
                           "unzip the whole package into one folder and run register.cmd there.\r\n");
  CHECK_EQ(run.exitCode, 1UL);
  run = RunNotElevated(folder + L"unregister.cmd");
  CHECK_EQ(run.output, "Unregistered Ravlen.dll\r\n" + missing +
                           "run unregister.cmd in the folder the add-ins were registered from.\r\n");
  CHECK_EQ(run.exitCode, 1UL);
  CHECK_EQ(Changes(before, snapshot()), std::vector<std::wstring>{});

  for (const wchar_t* file : {L"register.cmd", L"unregister.cmd"}) DeleteFileW((folder + file).c_str());
  for (const AddinInfo& info : Addins()) DeleteFileW((folder + info.dll + L".dll").c_str());
  CHECK(RemoveDirectoryW(folder.c_str()));
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

WIN_TEST(VersionResourcesNameEachAddin) {
  for (const AddinInfo& info : Addins()) {
    AddinDll dll(info.dll);
    CHECK(dll.loaded());
    if (!dll.loaded()) continue;
    const std::wstring path = dll.path();
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    CHECK(!block.empty());
    if (block.empty() || !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) continue;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    CHECK(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    if (fixed) {
      const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                                   std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                                   std::to_wstring(HIWORD(fixed->dwFileVersionLS));
      CHECK_EQ(numbers, std::wstring(L"" VB6KIT_VERSION));
      CHECK_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
      CHECK_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
      CHECK_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    }
    auto text = [&](const wchar_t* name) {
      wchar_t* value = nullptr;
      UINT length = 0;
      const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
      if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return std::wstring(L"<none>");
      return std::wstring(value);
    };
    CHECK_EQ(text(L"FileDescription"), std::wstring(info.displayName) + L", an add-in for Visual Basic 6.0");
    CHECK_EQ(text(L"FileVersion"), std::wstring(L"" VB6KIT_VERSION));
    CHECK_EQ(text(L"ProductVersion"), std::wstring(L"" VB6KIT_VERSION));
    CHECK_EQ(text(L"ProductName"), std::wstring(L"vb6kit add-ins for Visual Basic 6.0"));
    CHECK_EQ(text(L"OriginalFilename"), std::wstring(info.dll) + L".dll");
  }
}
