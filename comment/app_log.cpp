#include "comment/app_log.h"

#include "framework/runtime.h"

namespace comment {

vb::Text NowText() {
  const vb::Runtime& runtime = vb::CurrentRuntime();
  return vb::FormatDateTime(vb::Now(), runtime.dateSeparator, runtime.timeSeparator);
}

void WriteLog(vb::TextView line) {
  vb::Text stamped;
  try {
    stamped = NowText() + u" " + vb::Text(line);
  } catch (...) {
    // No clock installed: the line still goes out, without its stamp.
    stamped = vb::Text(line);
  }
  try {
    vb::LogEvent(stamped);
  } catch (...) {
    // A log that cannot be written never stops a command.
  }
}

}  // namespace comment
