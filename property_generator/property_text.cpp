#include "property_generator/property_text.h"

namespace quenby {

ScopePrefixes PrefixesFor(bool optFriend, bool optPrivate, bool optPublic, bool optPublicRead) {
  if (optFriend) return {u"Friend ", u"Friend "};
  if (optPrivate) return {u"Private ", u"Private "};
  if (optPublic) return {u"Public ", u"Public "};
  if (optPublicRead) return {u"Private ", u"Public "};
  return {};
}

Text MemberDeclaration(TextView name, TextView type) {
  return Text(u"Private prop") + Text(name) + u" As " + Text(type);
}

Text WriteProcedure(TextView prefix, TextView name, TextView type, bool useSet) {
  Text text = Text(prefix) + u"Property " + (useSet ? u"Set " : u"Let ") + Text(name) + u" (ByVal value as " +
              Text(type) + u")" + vb::kCrLf;
  text += Text(u"\t") + (useSet ? u"Set " : u"") + u"prop" + Text(name) + u" = value" + vb::kCrLf;
  text += Text(u"End Property") + vb::kCrLf;
  return text + vb::kCrLf;
}

Text ReadProcedure(TextView prefix, TextView name, TextView type, bool useSet) {
  Text text = Text(prefix) + u"Property Get " + Text(name) + u"() As " + Text(type) + vb::kCrLf;
  text += Text(u"\t") + (useSet ? u"Set " : u"") + Text(name) + u" = prop" + Text(name) + vb::kCrLf;
  text += Text(u"End Property") + vb::kCrLf;
  return text + vb::kCrLf;
}

}  // namespace quenby
