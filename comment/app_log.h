// The add-in's application log: every caught error goes there as one line with a time stamp.
// Written through the runtime's installed log; a log that cannot be written is skipped.
#pragma once

#include "framework/vb_text.h"

namespace comment {

// The current local date and time as "mm/dd/yyyy hh:mm:ss" with the system's separators.
vb::Text NowText();

// Appends "<time stamp> <line>" to the application log. Never raises.
void WriteLog(vb::TextView line);

}  // namespace comment
