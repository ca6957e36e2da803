#include "piece_store/code_tags.h"

#include "framework/keyed_list.h"
#include "framework/runtime.h"

namespace pellmoss {

std::vector<vb::Text> FindCodeTags(vb::TextView text) {
  vb::KeyedList<vb::Text> tags;
  std::int64_t pos = 0;
  for (;;) {
    vb::DoEvents();
    pos = vb::InStr(pos + 1, text, u"<@");
    if (pos == 0) break;
    const std::int64_t close = vb::InStr(pos + 2, text, u"@>");
    if (close == 0) break;
    vb::Text tag = vb::Mid(text, pos, close + 2 - pos);
    tags.TryAdd(tag, tag);
  }
  std::vector<vb::Text> found;
  for (const auto& entry : tags) found.push_back(entry.item);
  return found;
}

vb::Text TagName(vb::TextView tag) { return vb::Mid(tag, 3, static_cast<std::int64_t>(tag.size()) - 4); }

}  // namespace pellmoss
