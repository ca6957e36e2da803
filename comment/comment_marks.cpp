#include "comment/comment_marks.h"

#include "comment/active_code.h"

namespace comment {

vb::Text AddCommentMark(vb::TextView line) {
  vb::Text marked(1, kCommentMark);
  marked += line;
  return marked;
}

std::optional<vb::Text> RemoveCommentMark(vb::TextView line) {
  if (line.empty() || line.front() != kCommentMark) return std::nullopt;
  return vb::Mid(line, 2);
}

namespace {

struct LineRange {
  long first = 0, last = 0;
};

LineRange SelectedLines(host::CodePane& pane) {
  long startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
  pane.GetSelection(startLine, startColumn, endLine, endColumn);
  return {startLine, endLine};
}

}  // namespace

void CommentOutSelection(const host::Ref<host::VBE>& vbe) {
  Ref<host::CodePane> pane = ActivePane(vbe);
  Ref<host::CodeModule> module = vb::Required(pane->CodeModule());
  const LineRange range = SelectedLines(*pane);
  for (long line = range.first; line <= range.last; ++line) {
    // Read afresh each time: the module may be shorter than the selection claims.
    if (line > module->CountOfLines()) continue;
    module->ReplaceLine(line, AddCommentMark(module->Lines(line, 1)));
  }
}

void UncommentSelection(const host::Ref<host::VBE>& vbe) {
  Ref<host::CodePane> pane = ActivePane(vbe);
  Ref<host::CodeModule> module = vb::Required(pane->CodeModule());
  const LineRange range = SelectedLines(*pane);
  for (long line = range.first; line <= range.last; ++line) {
    if (std::optional<vb::Text> stripped = RemoveCommentMark(module->Lines(line, 1)))
      module->ReplaceLine(line, *stripped);
  }
}

}  // namespace comment
