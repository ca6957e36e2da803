// The comment mark of the comment out / un-comment commands: one apostrophe, always placed in
// and only recognised in column 1, whatever the indentation.
#pragma once

#include <optional>

#include "framework/host_model.h"

namespace comment {

inline constexpr char16_t kCommentMark = u'\'';

// The line with the mark put in front of it, indentation and existing marks kept. Both take the
// line and change it where it is.
vb::Text AddCommentMark(vb::Text line);
// The line without its first character when that is the mark; nullopt when the line does not
// start with the mark (an indented mark or a Rem statement stays as it is).
std::optional<vb::Text> RemoveCommentMark(vb::Text line);

// Comment out: prefixes every line from the selection's start line to its end line (columns
// ignored, a caret acts on its line); lines past the module's end are skipped. Raises on the
// first failing host call; lines changed until then stay changed.
void CommentOutSelection(const host::Ref<host::VBE>& vbe);
// Un-comment: strips one mark from every line of the selection that starts with it.
void UncommentSelection(const host::Ref<host::VBE>& vbe);

}  // namespace comment
