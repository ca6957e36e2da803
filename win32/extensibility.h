// The IDE's add-in connection interface. The Windows SDK does not declare it (it comes from the
// IDE's add-in designer type library), so it is declared here with its IID and the method order
// of that library; STDMETHODCALLTYPE on every method keeps the 32-bit calling convention right.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace win32 {

enum ext_ConnectMode : int { ext_cm_AfterStartup = 0, ext_cm_Startup = 1, ext_cm_External = 2, ext_cm_CommandLine = 3 };
enum ext_DisconnectMode : int { ext_dm_HostShutdown = 0, ext_dm_UserClosed = 1 };

// {B65AD801-ABAF-11D0-BB8B-00A0C90F2744}
inline constexpr IID IID_IDTExtensibility2 = {0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};

// DISPIDs of the five methods, for callers that go through IDispatch::Invoke.
enum ExtensibilityDispId : DISPID {
  kDispOnConnection = 1,
  kDispOnDisconnection = 2,
  kDispOnAddInsUpdate = 3,
  kDispOnStartupComplete = 4,
  kDispOnBeginShutdown = 5,
};

struct IDTExtensibility2 : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode,
                                                 IDispatch* AddInInst, SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};

}  // namespace win32
