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

void CommentOutSelection(const host::Ref<host::VBE>& vbe) {
  Ref<host::CodePane> pane = ActivePane(vbe);
  Ref<host::CodeModule> module = vb::Required(pane->CodeModule());
  const host::Selection selection = pane->GetSelection();
  for (long line = selection.startLine; line <= selection.endLine; ++line) {
    // Read afresh each time: the module may be shorter than the selection claims.
    if (line > module->CountOfLines()) continue;
    // The line as read is let go before the marked one is stored: on a line of hundreds of
    // thousands of characters each copy is felt.
    const vb::Text marked = AddCommentMark(module->Lines(line, 1));
    module->ReplaceLine(line, marked);
  }
}

void UncommentSelection(const host::Ref<host::VBE>& vbe) {
  Ref<host::CodePane> pane = ActivePane(vbe);
  Ref<host::CodeModule> module = vb::Required(pane->CodeModule());
  const host::Selection selection = pane->GetSelection();
  for (long line = selection.startLine; line <= selection.endLine; ++line) {
    if (std::optional<vb::Text> stripped = RemoveCommentMark(module->Lines(line, 1)))
      module->ReplaceLine(line, *stripped);
  }
}

}  // namespace comment
