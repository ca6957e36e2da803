// Storage of the code pieces in the per-user settings store: the piece texts under section
// "Code", the list of all piece names under "Code"/"CodeName" and the list of the names offered
// in the retrieval menu under "Options"/"MenuItems". A list is stored as each name followed by
// "||"; the in-memory lists are keyed by the name itself, letter case ignored.
#pragma once

#include <cstddef>

#include "framework/keyed_list.h"
#include "framework/vb_text.h"

namespace pellmoss {

using vb::Text;
using vb::TextView;

// An ordered list of piece names, each keyed by itself.
using NameList = vb::KeyedList<Text>;

inline constexpr const char16_t* kAppName = u"Pellmoss";
inline constexpr const char16_t* kCodeSection = u"Code";
inline constexpr const char16_t* kOptionsSection = u"Options";
inline constexpr const char16_t* kCodeNameKey = u"CodeName";
inline constexpr const char16_t* kMenuItemsKey = u"MenuItems";
inline constexpr const char16_t* kListSeparator = u"||";
// The retrieval menu binds at most this many piece entries.
inline constexpr std::size_t kMaxMenuItems = 10;

// The names of a stored list value, in order. A remainder after the last separator that is not
// blank is one more name (a hand-edited value must not lose it), less a last "|" (a separator cut
// short); blank names and repeats of an earlier name (letter case ignored) are skipped, since the
// list cannot hold them. So every name read is written back as a value that reads the same.
NameList ParseNameList(TextView value);
// Each name followed by the separator; the empty list is the empty string.
Text EncodeNameList(const NameList& names);

NameList LoadCodeNames();
NameList LoadMenuItems();
void SaveCodeNames(const NameList& colCodeNames);
void SaveMenuItems(const NameList& colMenuItems);

// A piece's text, the empty string when the key is absent.
Text ReadCodePiece(TextView name);
void WriteCodePiece(TextView name, TextView text);

// Why `name` (already trimmed, not empty) cannot be a piece name, or the empty string when it
// can: the separator would split it when the list is read back, and so would a "|" at either end
// with the separator written next to it ("Tax|||" reads as Tax and |); "CodeName" is the key of
// the list.
Text InvalidNameReason(TextView name);

}  // namespace pellmoss
