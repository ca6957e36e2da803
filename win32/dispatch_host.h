// The host model over the IDE's own automation objects: every host class is a thin object that
// holds one IDispatch reference (released exactly once, when the last handle goes) and reaches
// its members late-bound by name. Event sources connect sinks through the source object's
// connection point.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "framework/host_model.h"
#include "win32/dispatch_call.h"

namespace win32 {

// The IDE root object (VBE) over the Application object handed to OnConnection.
host::Ref<host::VBE> AttachVBE(IDispatch* application);

// The IDispatch behind a handle made by this adapter (nullptr for Nothing); raises error 13
// for a handle of another host.
IDispatch* DispatchOf(const host::Ref<host::CommandBarControl>& control);
IDispatch* DispatchOf(const host::Ref<host::VBProject>& project);
IDispatch* DispatchOf(const host::Ref<host::VBForm>& form);
IDispatch* DispatchOf(const host::Ref<host::StdFont>& font);

// DISPIDs of an event interface's members, by name through the source's type library; where
// the source offers none, the members' positions in the interface (1, 2, ...).
void ResolveEventIds(IDispatch* source, REFIID events, const wchar_t* const* names, DISPID* ids, UINT count);

}  // namespace win32
