#include "comment/comment_marks.h"

#include "comment/active_code.h"

namespace comment {

vb::Text AddCommentMark(vb::Text line) {
  // In place: the in-memory IDE hands out a line with room for one more character.
  line.insert(line.begin(), kCommentMark);
  return line;
}

std::optional<vb::Text> RemoveCommentMark(vb::Text line) {
  if (line.empty() || line.front() != kCommentMark) return std::nullopt;
  line.erase(0, 1);
  return line;
}

void CommentOutSelection(const host::Ref<host::VBE>& vbe) {
  Ref<host::CodePane> pane = ActivePane(vbe);
  Ref<host::CodeModule> module = vb::Required(pane->CodeModule());
  const host::Selection selection = pane->GetSelection();
  for (long line = selection.startLine; line <= selection.endLine; ++line) {
    // Read afresh each time: the module may be shorter than the selection claims.
    if (line > module->CountOfLines()) continue;
    // The line as read becomes the marked line: on a line of hundreds of thousands of characters
    // each copy is felt.
    module->ReplaceLine(line, AddCommentMark(module->Lines(line, 1)));
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
