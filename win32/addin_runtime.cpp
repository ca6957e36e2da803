#include <memory>

#include "framework/clock.h"
#include "win32/addin_server.h"
#include "win32/registry_store.h"
#include "win32/win32_toolkit.h"
#include "win32/wide_text.h"

namespace win32 {

const addin::Registration& RegistrationOf(const AddinServer& server) {
  const addin::Registration* registration = addin::FindRegistration(server.progId);
  if (!registration) std::abort();  // a DLL built with a ProgID outside the suite cannot work at all
  return *registration;
}

namespace {

// The services outlive every object of the DLL: they go when the process unloads it.
struct AddinRuntime {
  explicit AddinRuntime(vb::Text title) : toolkit(std::move(title)) {}
  Win32Toolkit toolkit;
  RegistryStore settings;
  vb::SystemClock clock;
  vb::EventLog* log = nullptr;
  std::unique_ptr<vb::RuntimeScope> scope;
};

// A separator of the user's locale, as the VB runtime formats dates and times with it.
vb::Text LocaleText(LCTYPE type, const char16_t* fallback) {
  wchar_t text[8] = {};
  int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 8);
  return length > 1 ? FromWide(text, static_cast<size_t>(length - 1)) : vb::Text(fallback);
}

}  // namespace

void InstallAddinRuntime(const AddinServer& server) {
  static AddinRuntime* runtime = [&server] {
    // VB titles an add-in's message boxes with its project name: the ProgID's first part.
    const vb::Text progId = server.progId;
    auto* installed = new AddinRuntime(progId.substr(0, progId.find(u'.')));
    installed->log = server.eventLog ? server.eventLog() : nullptr;
    vb::Runtime services;
    services.toolkit = &installed->toolkit;
    services.settings = &installed->settings;
    services.dateSeparator = LocaleText(LOCALE_SDATE, u"/");
    services.timeSeparator = LocaleText(LOCALE_STIME, u":");
    services.clock = &installed->clock;
    services.log = installed->log;
    installed->scope = std::make_unique<vb::RuntimeScope>(services);
    return installed;
  }();
  (void)runtime;
}

}  // namespace win32
