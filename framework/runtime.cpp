#include "framework/runtime.h"

#include "framework/vb_error.h"

namespace vb {

namespace {

Runtime& Installed() {
  // Never destroyed: forms held in static objects may still ask for it while the program ends.
  static Runtime* runtime = new Runtime;
  return *runtime;
}

[[noreturn]] void Missing(const char16_t* service) {
  Raise(err::kObjectNotSet, Text(u"Object variable or With block variable not set (no ") + service + u" installed)");
}

SettingsStore& Settings() {
  SettingsStore* settings = Installed().settings;
  if (!settings) Missing(u"settings store");
  return *settings;
}

}  // namespace

Runtime& CurrentRuntime() { return Installed(); }

ui::Toolkit& Toolkit() {
  ui::Toolkit* toolkit = Installed().toolkit;
  if (!toolkit) Missing(u"user-interface toolkit");
  return *toolkit;
}

RuntimeScope::RuntimeScope(Runtime runtime) : previous_(std::move(Installed())) { Installed() = std::move(runtime); }

RuntimeScope::~RuntimeScope() { Installed() = std::move(previous_); }

int MsgBox(TextView prompt, int buttons, TextView title) { return Toolkit().MsgBox(Text(prompt), buttons, Text(title)); }

Text GetSetting(TextView app, TextView section, TextView key, TextView defaultValue) {
  return Settings().GetSetting(app, section, key, defaultValue);
}

void SaveSetting(TextView app, TextView section, TextView key, TextView value) {
  Settings().SaveSetting(app, section, key, value);
}

void DoEvents() { Toolkit().DoEvents(); }

DateTime Now() {
  const Clock* clock = Installed().clock;
  if (!clock) Missing(u"clock");
  return clock->Now();
}

void SetMousePointer(int pointer) { Toolkit().SetMousePointer(pointer); }

int MousePointer() { return Toolkit().MousePointer(); }

void LogEvent(TextView line) {
  EventLog* log = Installed().log;
  if (!log) return;
  try {
    log->LogEvent(line);
  } catch (...) {
    // The log is a courtesy: a line that cannot be written is dropped.
  }
}

}  // namespace vb
