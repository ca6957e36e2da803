// The VB runtime services the add-in code calls as free functions (MsgBox, GetSetting,
// SaveSetting, DoEvents, Now, Screen.MousePointer, the application log). Each home installs its
// toolkit, settings store, clock and log once; tests install their own for each test.
#pragma once

#include "framework/clock.h"
#include "framework/settings_store.h"
#include "framework/ui/toolkit.h"
#include "framework/vb_text.h"

namespace vb {

// An append-only log of lines (the comment add-in's application log).
class EventLog {
 public:
  virtual ~EventLog() = default;
  // Never raises: a log that cannot be written is skipped.
  virtual void LogEvent(TextView line) = 0;
};

struct Runtime {
  ui::Toolkit* toolkit = nullptr;
  SettingsStore* settings = nullptr;
  const Clock* clock = nullptr;
  EventLog* log = nullptr;
  Text dateSeparator = u"/";
  Text timeSeparator = u":";
};

// The installed runtime; raises error 91 for a service that was not installed.
Runtime& CurrentRuntime();
ui::Toolkit& Toolkit();

// Installs a runtime for the life of the guard and puts the previous one back after.
class RuntimeScope {
 public:
  explicit RuntimeScope(Runtime runtime);
  ~RuntimeScope();
  RuntimeScope(const RuntimeScope&) = delete;
  RuntimeScope& operator=(const RuntimeScope&) = delete;

 private:
  Runtime previous_;
};

int MsgBox(TextView prompt, int buttons = ui::vbOKOnly, TextView title = {});
Text GetSetting(TextView app, TextView section, TextView key, TextView defaultValue = {});
void SaveSetting(TextView app, TextView section, TextView key, TextView value);
void DoEvents();
DateTime Now();
void SetMousePointer(int pointer);
int MousePointer();
// Writes a line to the installed log, if any; never raises.
void LogEvent(TextView line);

}  // namespace vb
