#include <memory>

#include "framework/clock.h"
#include "win32/addin_server.h"
#include "win32/registry_store.h"

namespace win32 {

const addin::Registration& RegistrationOf(const AddinServer& server) {
  const addin::Registration* registration = addin::FindRegistration(server.progId);
  if (!registration) std::abort();  // a DLL built with a ProgID outside the suite cannot work at all
  return *registration;
}

namespace {

// The services outlive every object of the DLL: they go when the process unloads it.
struct AddinRuntime {
  RegistryStore settings;
  vb::SystemClock clock;
  vb::EventLog* log = nullptr;
  std::unique_ptr<vb::RuntimeScope> scope;
};

}  // namespace

void InstallAddinRuntime(const AddinServer& server) {
  static AddinRuntime* runtime = [&server] {
    auto* installed = new AddinRuntime();
    installed->log = server.eventLog ? server.eventLog() : nullptr;
    vb::Runtime services;
    services.settings = &installed->settings;
    services.clock = &installed->clock;
    services.log = installed->log;
    installed->scope = std::make_unique<vb::RuntimeScope>(services);
    return installed;
  }();
  (void)runtime;
}

}  // namespace win32
