// The author name of headers and revisions, kept per user (application "Ravlen", section
// "Comment", key "Username"); the login name stands in until one is stored.
#pragma once

#include "framework/vb_text.h"

namespace comment {

// The stored author name, or the login name when none is stored. Failures of the settings
// store are ignored (the result may then be empty).
vb::Text LoadAuthorName();
// Stores the author name; raises when the store cannot keep it.
void SaveAuthorName(vb::TextView name);

}  // namespace comment
