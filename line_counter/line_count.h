// Classifying and counting the lines of a code module.
#pragma once

#include <cstdint>

#include "framework/host_model.h"

namespace tallowick {

enum class LineKind { Code, Comment, Blank };

// Spaces (not tabs) are trimmed; nothing left is blank, a leading apostrophe is a comment,
// anything else (Rem included) is code.
LineKind ClassifyLine(vb::TextView line);

struct LineCounts {
  std::int32_t code = 0;
  std::int32_t comment = 0;
  std::int32_t blank = 0;
  bool operator==(const LineCounts&) const = default;
};

// Reads the module one line at a time, letting the user interface process its messages before
// each line so the IDE stays responsive. A component without a code module (Nothing) has no
// lines to count.
LineCounts CountModuleLines(const host::Ref<host::CodeModule>& module);

}  // namespace tallowick
