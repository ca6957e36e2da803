// Placeholder tags in a stored piece: "<@", a name of any characters except "@>", then "@>".
#pragma once

#include <vector>

#include "framework/vb_text.h"

namespace pellmoss {

// The distinct tag texts of `text` ("<@cond@>"), in order of first appearance; tags that differ
// only in letter case count as one (the first is kept). A tag may begin inside an earlier one:
// "<@a<@b@>" holds "<@a<@b@>" and "<@b@>". The scan ends at the first "<@" with no "@>" after
// it. The user interface processes its pending messages once per pass, as pieces can be long.
std::vector<vb::Text> FindCodeTags(vb::TextView text);

// The name between the marks: "<@cond@>" gives "cond".
vb::Text TagName(vb::TextView tag);

}  // namespace pellmoss
