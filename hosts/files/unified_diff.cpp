// Line diff by longest common subsequence over the part between the common head and tail.
#include "hosts/files/unified_diff.h"

#include <algorithm>
#include <cstdint>

namespace files {
namespace {

enum class Op { Same, Removed, Added };
struct Edit {
  Op op;
  std::size_t oldIndex, newIndex;  // positions in before/after (the one not used by the op is where it stands)
};

// Above this many cells the middle is shown as removed then added, still a correct diff.
constexpr std::uint64_t kMaxTable = 4'000'000;

std::vector<Edit> EditScript(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) ++tail;
  const std::size_t n = a.size() - head - tail, m = b.size() - head - tail;

  std::vector<Edit> edits;
  for (std::size_t i = 0; i < head; ++i) edits.push_back({Op::Same, i, i});
  if (static_cast<std::uint64_t>(n + 1) * (m + 1) > kMaxTable) {
    for (std::size_t i = 0; i < n; ++i) edits.push_back({Op::Removed, head + i, head});
    for (std::size_t j = 0; j < m; ++j) edits.push_back({Op::Added, head + n, head + j});
  } else {
    // lcs[i][j]: the longest common subsequence of the middles from i and j on.
    std::vector<std::uint32_t> lcs((n + 1) * (m + 1), 0);
    auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& { return lcs[i * (m + 1) + j]; };
    for (std::size_t i = n; i-- > 0;)
      for (std::size_t j = m; j-- > 0;)
        at(i, j) = a[head + i] == b[head + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
      if (i < n && j < m && a[head + i] == b[head + j]) {
        edits.push_back({Op::Same, head + i++, head + j++});
      } else if (i < n && (j == m || at(i + 1, j) >= at(i, j + 1))) {
        edits.push_back({Op::Removed, head + i++, head + j});  // removals first, as diff -u shows them
      } else {
        edits.push_back({Op::Added, head + i, head + j++});
      }
    }
  }
  for (std::size_t k = 0; k < tail; ++k) edits.push_back({Op::Same, head + n + k, head + m + k});
  return edits;
}

std::string Range(std::size_t start, std::size_t count) {
  // A hunk side without lines names the line before it.
  std::string s = std::to_string(count == 0 ? start : start + 1);
  if (count != 1) s += "," + std::to_string(count);
  return s;
}

}  // namespace

std::string UnifiedDiff(const std::string& label, const std::vector<std::string>& before,
                        const std::vector<std::string>& after, int context) {
  if (before == after) return {};
  const std::vector<Edit> edits = EditScript(before, after);
  const std::size_t ctx = static_cast<std::size_t>(std::max(context, 0));
  // A relative path is shown as git shows it (a/..., b/...); an absolute one as it is.
  const bool absolute = !label.empty() && (label[0] == '/' || (label.size() > 1 && label[1] == ':'));
  std::string out = "--- " + (absolute ? label : "a/" + label) + "\n+++ " + (absolute ? label : "b/" + label) + "\n";
  std::size_t k = 0;
  while (k < edits.size()) {
    while (k < edits.size() && edits[k].op == Op::Same) ++k;
    if (k == edits.size()) break;
    // A hunk runs from `ctx` lines before this change to `ctx` lines after the last change that
    // lies within 2 * ctx unchanged lines of the one before it.
    std::size_t first = k >= ctx ? k - ctx : 0;
    std::size_t last = k;
    for (std::size_t s = k; s < edits.size(); ++s) {
      if (edits[s].op != Op::Same) {
        last = s;
        continue;
      }
      if (s - last > 2 * ctx) break;
    }
    std::size_t end = std::min(edits.size(), last + 1 + ctx);
    std::size_t oldCount = 0, newCount = 0;
    for (std::size_t s = first; s < end; ++s) {
      if (edits[s].op != Op::Added) ++oldCount;
      if (edits[s].op != Op::Removed) ++newCount;
    }
    out += "@@ -" + Range(edits[first].oldIndex, oldCount) + " +" + Range(edits[first].newIndex, newCount) + " @@\n";
    for (std::size_t s = first; s < end; ++s) {
      const Edit& e = edits[s];
      if (e.op == Op::Same) out += " " + before[e.oldIndex] + "\n";
      if (e.op == Op::Removed) out += "-" + before[e.oldIndex] + "\n";
      if (e.op == Op::Added) out += "+" + after[e.newIndex] + "\n";
    }
    k = end;
  }
  return out;
}

}  // namespace files
