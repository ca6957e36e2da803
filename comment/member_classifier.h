// Classifies the lines of a code module into the members the navigator shows: a small state
// machine driven by the first keywords of each trimmed line (exact, case-sensitive).
#pragma once

#include <array>
#include <vector>

#include "framework/vb_text.h"

namespace comment {

using vb::Text;
using vb::TextView;

// The navigator's categories, in display order.
enum class MemberCategory {
  Events,
  SinkEventVariables,
  Constants,
  ObjectVariables,
  Enumerations,
  UserDefinedTypes,
  Subroutines,
  Functions,
  Properties,
};
inline constexpr int kCategoryCount = 9;
inline constexpr std::array<const char16_t*, kCategoryCount> kCategoryCaptions{
    u"Events",       u"Sink Event Variables", u"Constants", u"Object Variables", u"Enumerations",
    u"User Defined Types", u"Subroutines", u"Functions", u"Properties"};

// One member found: listed under a category, or under an earlier entry (enumeration members,
// type elements and line labels under their block).
struct MemberEntry {
  Text text;
  long line = 0;                 // 1-based line of the module
  MemberCategory category = MemberCategory::Events;  // used when parentEntry is -1
  int parentEntry = -1;          // index of the enclosing entry in the result, or -1
  bool operator==(const MemberEntry&) const = default;
};

// The entries of a module's lines (lines[0] is line 1), in line order.
std::vector<MemberEntry> ClassifyMembers(const std::vector<Text>& lines);

}  // namespace comment
