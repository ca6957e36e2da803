#include "control_editor/rename_text.h"

namespace ravlen {

namespace {

bool IsLetter(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return true;
  // Latin-1 letters, which western code pages allow in names.
  return c == 0xAA || c == 0xB5 || c == 0xBA || (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7);
}
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Position of the next whole-name occurrence at or after `from`, or npos.
std::size_t FindWholeName(TextView text, TextView name, std::size_t from) {
  if (name.empty()) return TextView::npos;
  for (std::size_t at = text.find(name, from); at != TextView::npos; at = text.find(name, at + 1)) {
    if (at > 0) {
      char16_t before = text[at - 1];
      if (IsLetter(before) || IsDigit(before) || before == u'_') continue;
    }
    std::size_t after = at + name.size();
    if (after < text.size() && (IsLetter(text[after]) || IsDigit(text[after]))) continue;
    return at;
  }
  return TextView::npos;
}

}  // namespace

bool ContainsWholeName(TextView text, TextView name) { return FindWholeName(text, name, 0) != TextView::npos; }

Text ReplaceWholeName(TextView text, TextView oldName, TextView newName) {
  Text result;
  std::size_t copied = 0;
  for (std::size_t at = FindWholeName(text, oldName, 0); at != TextView::npos;
       at = FindWholeName(text, oldName, copied)) {
    result.append(text.substr(copied, at - copied));
    result.append(newName);
    copied = at + oldName.size();
  }
  result.append(text.substr(copied));
  return result;
}

}  // namespace ravlen
