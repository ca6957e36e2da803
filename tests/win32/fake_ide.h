// A fake VB6 IDE for the Windows tests: the in-memory IDE exposed as real IDispatch objects,
// reached by member name as the IDE's own objects are, with connection points on its event
// sources (CommandBarEvents, VBControlsEvents) that relay the in-memory host's events to the
// sinks advised on them. Failures of the in-memory IDE come back as EXCEPINFO.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "hosts/memory/memory_host.h"

namespace fakeide {

// The root object (VBE), a new reference the caller releases.
IDispatch* NewVBE(const std::shared_ptr<memhost::MemoryVBE>& vbe);

// Fake objects, connection points and enumerators alive now (0 once everything is released).
long LiveObjects();
// Sinks currently advised on the fake's event sources.
long AdvisedSinks();

// The fake's event interfaces (what its connection points report).
extern const IID IID_FakeCommandBarEvents;
extern const IID IID_FakeVBControlsEvents;

}  // namespace fakeide
