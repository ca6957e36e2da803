// The three texts the property generator hands to the code module: the member variable, the
// write procedure and the read procedure.
#pragma once

#include "framework/vb_text.h"

namespace quenby {

using vb::Text;
using vb::TextView;

struct ScopePrefixes {
  Text write;
  Text read;
  bool operator==(const ScopePrefixes&) const = default;
};

// The option buttons are tested in this order; the first one that is set wins.
ScopePrefixes PrefixesFor(bool optFriend, bool optPrivate, bool optPublic, bool optPublicRead);

// "Private prop<Name> As <Type>", one line without a break.
Text MemberDeclaration(TextView name, TextView type);
// Three lines, each followed by CR LF, then an empty line.
Text WriteProcedure(TextView prefix, TextView name, TextView type, bool useSet);
Text ReadProcedure(TextView prefix, TextView name, TextView type, bool useSet);

}  // namespace quenby
