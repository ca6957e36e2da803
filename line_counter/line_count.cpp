#include "line_counter/line_count.h"

#include "framework/runtime.h"
#include "line_counter/checked_count.h"

namespace tallowick {

LineKind ClassifyLine(vb::TextView line) {
  const vb::TextView trimmed = vb::TrimView(line);
  if (trimmed.empty()) return LineKind::Blank;
  if (trimmed.front() == u'\'') return LineKind::Comment;
  return LineKind::Code;
}

LineCounts CountModuleLines(const host::Ref<host::CodeModule>& module) {
  LineCounts counts;
  if (!module) return counts;
  long lineCount = module->CountOfLines();
  vb::Text text;  // each line is read into the room of the one before
  for (long line = 1; line <= lineCount; ++line) {
    vb::DoEvents();
    module->Lines(line, 1, text);
    switch (ClassifyLine(text)) {
      case LineKind::Blank: AddToCount(counts.blank, 1); break;
      case LineKind::Comment: AddToCount(counts.comment, 1); break;
      case LineKind::Code: AddToCount(counts.code, 1); break;
    }
  }
  return counts;
}

}  // namespace tallowick
