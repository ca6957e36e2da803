#include "comment/author_setting.h"

#include "comment/procedure_locator.h"
#include "framework/runtime.h"

namespace comment {

namespace {
constexpr char16_t kApp[] = u"Ravlen";
constexpr char16_t kSection[] = u"Comment";
constexpr char16_t kKey[] = u"Username";
}  // namespace

vb::Text LoadAuthorName() {
  vb::Text name;
  try {
    name = vb::GetSetting(kApp, kSection, kKey, u"");
  } catch (...) {
    // An unreadable store counts as no stored name.
  }
  if (name.empty()) {
    try {
      name = GetLoginName();
    } catch (...) {
    }
  }
  return name;
}

void SaveAuthorName(vb::TextView name) { vb::SaveSetting(kApp, kSection, kKey, name); }

}  // namespace comment
