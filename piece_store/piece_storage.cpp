#include "piece_store/piece_storage.h"

#include "framework/runtime.h"

namespace pellmoss {

namespace {

void AddName(NameList& names, TextView name) {
  if (vb::Trim(name).empty()) return;
  names.TryAdd(Text(name), Text(name));
}

}  // namespace

NameList ParseNameList(TextView value) {
  NameList names;
  Text work(value);
  for (;;) {
    const std::int64_t p = vb::InStr(work, kListSeparator);
    if (p == 0) break;
    AddName(names, vb::Left(work, p - 1));
    work = vb::Mid(work, p + 2);
  }
  if (vb::Right(work, 1) == u"|") work = vb::Left(work, static_cast<std::int64_t>(work.size()) - 1);
  if (!vb::Trim(work).empty()) AddName(names, work);
  return names;
}

Text EncodeNameList(const NameList& names) {
  Text value;
  for (const auto& entry : names) {
    value += entry.item;
    value += kListSeparator;
  }
  return value;
}

NameList LoadCodeNames() { return ParseNameList(vb::GetSetting(kAppName, kCodeSection, kCodeNameKey, u"")); }

NameList LoadMenuItems() { return ParseNameList(vb::GetSetting(kAppName, kOptionsSection, kMenuItemsKey, u"")); }

void SaveCodeNames(const NameList& colCodeNames) {
  vb::SaveSetting(kAppName, kCodeSection, kCodeNameKey, EncodeNameList(colCodeNames));
}

void SaveMenuItems(const NameList& colMenuItems) {
  vb::SaveSetting(kAppName, kOptionsSection, kMenuItemsKey, EncodeNameList(colMenuItems));
}

Text ReadCodePiece(TextView name) { return vb::GetSetting(kAppName, kCodeSection, name, u""); }

void WriteCodePiece(TextView name, TextView text) { vb::SaveSetting(kAppName, kCodeSection, name, text); }

Text InvalidNameReason(TextView name) {
  // A "|" at either end would join the separator before or after it into a "|||" that reads
  // back as other names.
  if (vb::InStr(name, kListSeparator) != 0 || name.front() == u'|' || name.back() == u'|')
    return u"A code segment name cannot contain \"||\" nor begin or end with \"|\".";
  if (vb::EqualsNoCase(name, kCodeNameKey)) return u"A code segment cannot be named CodeName.";
  return {};
}

}  // namespace pellmoss
