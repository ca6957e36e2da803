// Matching the lines of two versions of a module's code.
#include "hosts/files/line_alignment.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string_view>

namespace files {
namespace {

struct Span {
  std::size_t beforeBegin, beforeEnd, afterBegin, afterEnd;
};

// The distinct lines of a span of `before` in one open-addressed array of 12 bytes a line: where
// each was seen last on each side, and whether once or more (counts stop at two). A node-based
// map took four times that, and reserved a bucket for every line even when few are distinct.
template <class Lines, class View>
class LineCounts {
 public:
  struct Entry {
    std::uint32_t hash : 28 = 0;
    std::uint32_t inBefore : 2 = 0;  // 0: a free slot
    std::uint32_t inAfter : 2 = 0;
    std::uint32_t beforeIndex = 0, afterIndex = 0;
  };

  explicit LineCounts(const Lines& before) : before_(before), entries_(64) {}

  void CountBefore(std::size_t i) {
    if ((used_ + 1) * 2 > entries_.size()) Grow();
    const View line = before_[i];
    const std::uint32_t hash = Hash(line);
    Entry& e = entries_[Probe(line, hash)];
    if (e.inBefore == 0) {
      ++used_;
      e.hash = hash;
    }
    if (e.inBefore < 2) ++e.inBefore;
    e.beforeIndex = static_cast<std::uint32_t>(i);
  }

  // The entry of a line, none when `before` has no such line in the span.
  Entry* Find(View line) {
    Entry& e = entries_[Probe(line, Hash(line))];
    return e.inBefore == 0 ? nullptr : &e;
  }

 private:
  static std::uint32_t Hash(View line) { return std::hash<View>{}(line) & 0x0FFF'FFFF; }

  std::size_t Probe(View line, std::uint32_t hash) const {
    const std::size_t mask = entries_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
      const Entry& e = entries_[at];
      if (e.inBefore == 0 || (e.hash == hash && View(before_[e.beforeIndex]) == line)) return at;
    }
  }

  void Grow() {
    std::vector<Entry> old(entries_.size() * 2);
    old.swap(entries_);
    const std::size_t mask = entries_.size() - 1;
    for (const Entry& e : old) {
      if (e.inBefore == 0) continue;
      std::size_t at = e.hash & mask;
      while (entries_[at].inBefore != 0) at = (at + 1) & mask;
      entries_[at] = e;
    }
  }

  const Lines& before_;
  std::vector<Entry> entries_;  // a power of two long, at most half used
  std::size_t used_ = 0;
};

// The longest run of pairs whose `after` indexes increase (the pairs come in `before` order):
// patience sorting, n log n.
using Pairs = std::vector<std::pair<std::size_t, std::size_t>>;

Pairs IncreasingRun(const Pairs& pairs) {
  std::vector<std::size_t> tops;  // per run length, the pair ending the best run of that length
  std::vector<std::size_t> previous(pairs.size(), kUnmatched);
  for (std::size_t p = 0; p < pairs.size(); ++p) {
    auto at = std::lower_bound(tops.begin(), tops.end(), pairs[p].second,
                               [&](std::size_t top, std::size_t value) { return pairs[top].second < value; });
    if (at != tops.begin()) previous[p] = *(at - 1);
    if (at == tops.end())
      tops.push_back(p);
    else
      *at = p;
  }
  Pairs run;
  for (std::size_t p = tops.empty() ? kUnmatched : tops.back(); p != kUnmatched; p = previous[p]) run.push_back(pairs[p]);
  std::reverse(run.begin(), run.end());
  return run;
}

// `before` and `after` give lines by index as views (or strings) of the same characters; a view
// that `after` gives is used before the next is asked for.
template <class View, class Before, class After>
std::vector<std::size_t> Match(const Before& before, const After& after) {
  if (before.size() > UINT32_MAX || after.size() > UINT32_MAX)
    throw std::length_error("more than 4 294 967 295 lines cannot be matched");
  std::vector<std::size_t> match(before.size(), kUnmatched);
  // Each round of fixed points looks at every line of its span once; the budget keeps pathological
  // inputs (many nested rounds) linear: spans left when it runs out keep only their head and tail.
  std::size_t budget = 8 * (before.size() + after.size()) + 64;
  std::vector<Span> work{{0, before.size(), 0, after.size()}};
  while (!work.empty()) {
    Span s = work.back();
    work.pop_back();
    while (s.beforeBegin < s.beforeEnd && s.afterBegin < s.afterEnd && before[s.beforeBegin] == after[s.afterBegin])
      match[s.beforeBegin++] = s.afterBegin++;
    while (s.beforeBegin < s.beforeEnd && s.afterBegin < s.afterEnd && before[s.beforeEnd - 1] == after[s.afterEnd - 1])
      match[--s.beforeEnd] = --s.afterEnd;
    const std::size_t size = (s.beforeEnd - s.beforeBegin) + (s.afterEnd - s.afterBegin);
    if (s.beforeBegin == s.beforeEnd || s.afterBegin == s.afterEnd || size > budget) continue;
    budget -= size;

    LineCounts<Before, View> seen(before);
    for (std::size_t i = s.beforeBegin; i < s.beforeEnd; ++i) seen.CountBefore(i);
    for (std::size_t j = s.afterBegin; j < s.afterEnd; ++j) {
      if (auto* o = seen.Find(after[j])) {
        if (o->inAfter < 2) ++o->inAfter;
        o->afterIndex = static_cast<std::uint32_t>(j);
      }
    }
    Pairs unique;
    for (std::size_t i = s.beforeBegin; i < s.beforeEnd; ++i) {
      const auto* o = seen.Find(before[i]);
      if (o->inBefore == 1 && o->inAfter == 1) unique.emplace_back(i, o->afterIndex);
    }
    const auto fixed = IncreasingRun(unique);
    if (fixed.empty()) continue;
    std::size_t beforeFrom = s.beforeBegin, afterFrom = s.afterBegin;
    for (const auto& [i, j] : fixed) {
      match[i] = j;
      work.push_back({beforeFrom, i, afterFrom, j});
      beforeFrom = i + 1;
      afterFrom = j + 1;
    }
    work.push_back({beforeFrom, s.beforeEnd, afterFrom, s.afterEnd});
  }
  return match;
}

}  // namespace

std::vector<std::size_t> MatchLines(const TextLines& before, const memhost::LineStore& after) {
  return Match<vb::TextView>(before, memhost::LineCursor(after));
}

std::vector<std::size_t> MatchLines(const std::vector<std::string_view>& before,
                                    const std::vector<std::string_view>& after) {
  return Match<std::string_view>(before, after);
}

std::vector<std::size_t> MatchLines(const IndexedLines& before, const IndexedLines& after) {
  return Match<std::string_view>(before, after);
}

}  // namespace files
