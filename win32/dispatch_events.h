// Event sources of the IDE (CommandBarEvents, VBControlsEvents) as host event sources: a sink
// is a small COM object advised on the source's connection point; dropping the connection
// unadvises it. Nothing a sink does escapes to the IDE.
#pragma once

#include <functional>

#include "framework/host_model.h"
#include "win32/dispatch_call.h"

namespace win32 {

// Wraps an object handed to a sink as the host model's handle.
using WrapControl = std::function<host::Ref<host::CommandBarControl>(DispatchRef)>;
using WrapVBControl = std::function<host::Ref<host::VBControl>(DispatchRef)>;

host::Ref<host::CommandBarEvents> MakeCommandBarEvents(DispatchRef source, WrapControl wrap);
host::Ref<host::VBControlsEvents> MakeVBControlsEvents(DispatchRef source, WrapVBControl wrap);

}  // namespace win32
