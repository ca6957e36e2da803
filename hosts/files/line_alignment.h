// Which lines two versions of a module's code have in common, so that saving can tell the lines
// a command left alone (they keep their line ends and the hidden lines after them) from the ones
// it changed, added or removed.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "framework/vb_text.h"
#include "hosts/files/text_file.h"
#include "hosts/memory/line_store.h"

namespace files {

inline constexpr std::size_t kUnmatched = static_cast<std::size_t>(-1);

// For each line of `before`, the index of the same line in `after`, or kUnmatched; the matched
// indexes increase. Found in time about linear in the two lengths: the common head and tail,
// then the lines that occur exactly once on each side as fixed points (their longest increasing
// run), then the same again between each two fixed points. Lines left unmatched are edits; a
// common line may stay unmatched among many repeated ones, never a wrong one matched.
// Lines known by their index, each a view that stays valid as long as the lines do.
class TextLines {
 public:
  virtual std::size_t size() const = 0;
  virtual vb::TextView operator[](std::size_t index) const = 0;

 protected:
  ~TextLines() = default;
};
std::vector<std::size_t> MatchLines(const TextLines& before, const memhost::LineStore& after);
// The same for lines of bytes (a file's lines with their line ends).
std::vector<std::size_t> MatchLines(const std::vector<std::string_view>& before,
                                    const std::vector<std::string_view>& after);
std::vector<std::size_t> MatchLines(const IndexedLines& before, const IndexedLines& after);

}  // namespace files
