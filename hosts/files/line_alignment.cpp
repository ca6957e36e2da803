// Matching the lines of two versions of a module's code.
#include "hosts/files/line_alignment.h"

#include <algorithm>
#include <unordered_map>

namespace files {
namespace {

struct Span {
  std::size_t beforeBegin, beforeEnd, afterBegin, afterEnd;
};

struct Occurrences {
  std::size_t inBefore = 0, inAfter = 0;
  std::size_t beforeIndex = 0, afterIndex = 0;
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

template <class Line>
std::vector<std::size_t> Match(const std::vector<Line>& before, const std::vector<Line>& after) {
  using View = std::basic_string_view<typename Line::value_type>;
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

    std::unordered_map<View, Occurrences> seen;
    seen.reserve(s.beforeEnd - s.beforeBegin);
    for (std::size_t i = s.beforeBegin; i < s.beforeEnd; ++i) {
      Occurrences& o = seen[before[i]];
      ++o.inBefore;
      o.beforeIndex = i;
    }
    for (std::size_t j = s.afterBegin; j < s.afterEnd; ++j) {
      auto found = seen.find(after[j]);
      if (found == seen.end()) continue;
      ++found->second.inAfter;
      found->second.afterIndex = j;
    }
    Pairs unique;
    for (std::size_t i = s.beforeBegin; i < s.beforeEnd; ++i) {
      const Occurrences& o = seen[before[i]];
      if (o.inBefore == 1 && o.inAfter == 1) unique.emplace_back(i, o.afterIndex);
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

std::vector<std::size_t> MatchLines(const std::vector<vb::Text>& before, const std::vector<vb::Text>& after) {
  return Match(before, after);
}

std::vector<std::size_t> MatchLines(const std::vector<std::string_view>& before,
                                    const std::vector<std::string_view>& after) {
  return Match(before, after);
}

}  // namespace files
