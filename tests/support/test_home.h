// Everything a test needs around an add-in: the scripted toolkit, an in-memory settings store,
// a fixed clock and a log, installed as the runtime for the life of the object.
#pragma once

#include <vector>

#include "framework/runtime.h"
#include "toolkits/scripted/scripted_toolkit.h"
#include "settings/memory_store.h"

namespace testing_support {

class MemoryLog : public vb::EventLog {
 public:
  void LogEvent(vb::TextView line) override { lines.emplace_back(line); }
  std::vector<vb::Text> lines;
};

struct TestHome {
  scripted::ScriptedToolkit toolkit;
  settings::MemorySettingsStore settings;
  vb::FixedClock clock{vb::DateTime{2026, 12, 7, 9, 30, 15}};
  MemoryLog log;
  vb::RuntimeScope scope{vb::Runtime{&toolkit, &settings, &clock, &log, u"/", u":"}};
};

}  // namespace testing_support
