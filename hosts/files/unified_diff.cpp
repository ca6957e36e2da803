// Line diff in time linear in the lines: the lines the two versions surely share (MatchLines:
// common head and tail, lines that occur once on each side) split them into stretches, and each
// stretch is diffed exactly by Myers' greedy algorithm when a bounded number of edits tells its
// sides apart, or shown as removed then added when it differs more. A one-line change in a long
// file is always one small hunk.
#include "hosts/files/unified_diff.h"

#include <algorithm>

#include "hosts/files/line_alignment.h"
#include "hosts/files/text_file.h"

namespace files {
namespace {

// `removed` lines of before from `oldStart` became `added` lines of after from `newStart`.
struct Change {
  std::size_t oldStart, removed, newStart, added;
};

// The changes between two texts, in order; Lines is a vector of views or the IndexedLines of a file.
template <class Lines>
class Differ {
 public:
  Differ(const Lines& a, const Lines& b) : a_(a), b_(b) {}

  std::vector<Change> Run() {
    // Lines the two sides share for sure, then each stretch between them on its own.
    const std::vector<std::size_t> same = MatchLines(a_, b_);
    std::size_t i = 0, j = 0;
    while (i < a_.size() || j < b_.size()) {
      if (i < a_.size() && same[i] == j) {
        ++i, ++j;
        continue;
      }
      std::size_t i2 = i;
      while (i2 < a_.size() && same[i2] == kUnmatched) ++i2;
      const std::size_t j2 = i2 < a_.size() ? same[i2] : b_.size();
      Stretch(i, i2, j, j2);
      i = i2;
      j = j2;
    }
    return std::move(changes_);
  }

 private:
  static constexpr std::size_t kMostEdits = 256;
  static constexpr std::size_t kWork = 64'000;  // lines times edits allowed for one stretch

  void Add(std::size_t oldStart, std::size_t removed, std::size_t newStart, std::size_t added) {
    if (removed == 0 && added == 0) return;
    if (!changes_.empty()) {
      Change& last = changes_.back();
      if (last.oldStart + last.removed == oldStart && last.newStart + last.added == newStart) {
        last.removed += removed;
        last.added += added;
        return;
      }
    }
    changes_.push_back({oldStart, removed, newStart, added});
  }

  // a_[a0, a1) against b_[b0, b1): exactly when few edits tell them apart (fewer allowed in a
  // longer stretch, so the work stays linear), else all removed then all added.
  void Stretch(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1) {
    const std::size_t lines = (a1 - a0) + (b1 - b0);
    if (a0 == a1 || b0 == b1) return Add(a0, a1 - a0, b0, b1 - b0);
    const std::size_t edits = std::min(kMostEdits, std::max<std::size_t>(16, kWork / std::max<std::size_t>(lines, 1)));
    if (!Greedy(a0, a1, b0, b1, edits)) Add(a0, a1 - a0, b0, b1 - b0);
  }

  // Myers' greedy diff with at most `maxEdits` lines removed or added; false (and nothing added)
  // when it needs more.
  bool Greedy(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1, std::size_t maxEdits) {
    const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(a1 - a0), m = static_cast<std::ptrdiff_t>(b1 - b0);
    const std::ptrdiff_t limit = std::min<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(maxEdits), n + m);
    const std::ptrdiff_t offset = limit + 1;
    std::vector<std::ptrdiff_t> v(static_cast<std::size_t>(2 * limit + 3), 0);
    std::vector<std::vector<std::ptrdiff_t>> trace;  // v over [-d, d] before each step d
    std::ptrdiff_t found = -1;
    for (std::ptrdiff_t d = 0; d <= limit && found < 0; ++d) {
      trace.emplace_back(v.begin() + (offset - d), v.begin() + (offset + d + 1));
      for (std::ptrdiff_t k = -d; k <= d; k += 2) {
        std::ptrdiff_t x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1]
                                                                                           : v[offset + k - 1] + 1;
        std::ptrdiff_t y = x - k;
        while (x < n && y < m && a_[a0 + x] == b_[b0 + y]) ++x, ++y;
        v[offset + k] = x;
        if (x >= n && y >= m) {
          found = d;
          break;
        }
      }
    }
    if (found < 0) return false;
    // Back from the end, one removal or addition per step (equal lines between them skipped).
    struct Step {
      bool removal;
      std::size_t at;  // line of before (removal) or of after (addition)
    };
    std::vector<Step> steps;
    std::ptrdiff_t x = n, y = m;
    for (std::ptrdiff_t d = found; d > 0; --d) {
      // v over [-d, d] as it was before step d: diagonal k at index k + d.
      const std::vector<std::ptrdiff_t>& prev = trace[static_cast<std::size_t>(d)];
      auto before = [&](std::ptrdiff_t k) { return prev[static_cast<std::size_t>(k + d)]; };
      const std::ptrdiff_t k = x - y;
      const bool down = k == -d || (k != d && before(k - 1) < before(k + 1));
      const std::ptrdiff_t prevK = down ? k + 1 : k - 1;
      const std::ptrdiff_t prevX = before(prevK), prevY = prevX - prevK;
      steps.push_back(down ? Step{false, b0 + static_cast<std::size_t>(prevY)} : Step{true, a0 + static_cast<std::size_t>(prevX)});
      x = prevX;
      y = prevY;
    }
    // Forward again; Add merges neighbouring steps into one change.
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
      if (it->removal)
        Add(it->at, 1, Across(it->at, true), 0);
      else
        Add(Across(it->at, false), 0, it->at, 1);
    }
    return true;
  }

  // The line of the other text that stands at `line`, from the changes added so far.
  std::size_t Across(std::size_t line, bool fromOld) const {
    if (changes_.empty()) return line;
    const Change& c = changes_.back();
    if (fromOld) return c.newStart + c.added + (line - (c.oldStart + c.removed));
    return c.oldStart + c.removed + (line - (c.newStart + c.added));
  }

  const Lines& a_;
  const Lines& b_;
  std::vector<Change> changes_;
};

std::string Range(std::size_t start, std::size_t count) {
  // A hunk side without lines names the line before it.
  std::string s = std::to_string(count == 0 ? start : start + 1);
  if (count != 1) s += "," + std::to_string(count);
  return s;
}

// Writes to a stream what a string would be given.
struct StreamOut {
  std::ostream& stream;
  StreamOut& operator+=(std::string_view s) {
    stream.write(s.data(), static_cast<std::streamsize>(s.size()));
    return *this;
  }
  StreamOut& operator+=(char c) {
    stream.put(c);
    return *this;
  }
};

template <class Out>
void Emit(Out& out, char mark, std::string_view line) {
  out += mark;
  out += line;
  if (line.empty() || line.back() != '\n') out += "\n\\ No newline at end of file\n";
}

template <class Out, class Lines>
void Hunks(Out& out, const std::vector<Change>& changes, const Lines& a, const Lines& b, std::size_t ctx) {
  for (std::size_t first = 0; first < changes.size();) {
    // A hunk takes the changes that lie within 2 * ctx unchanged lines of the one before.
    std::size_t last = first;
    while (last + 1 < changes.size() &&
           changes[last + 1].oldStart - (changes[last].oldStart + changes[last].removed) <= 2 * ctx)
      ++last;
    const std::size_t oldFrom = changes[first].oldStart - std::min(ctx, changes[first].oldStart);
    const std::size_t newFrom = changes[first].newStart - (changes[first].oldStart - oldFrom);
    const std::size_t oldTo = std::min(a.size(), changes[last].oldStart + changes[last].removed + ctx);
    const std::size_t newTo = changes[last].newStart + changes[last].added + (oldTo - (changes[last].oldStart + changes[last].removed));
    out += "@@ -" + Range(oldFrom, oldTo - oldFrom) + " +" + Range(newFrom, newTo - newFrom) + " @@\n";
    std::size_t i = oldFrom;
    for (std::size_t c = first; c <= last; ++c) {
      for (; i < changes[c].oldStart; ++i) Emit(out, ' ', a[i]);
      for (std::size_t r = 0; r < changes[c].removed; ++r) Emit(out, '-', a[i++]);
      for (std::size_t k = 0; k < changes[c].added; ++k) Emit(out, '+', b[changes[c].newStart + k]);
    }
    for (; i < oldTo; ++i) Emit(out, ' ', a[i]);
    first = last + 1;
  }
}

template <class Out, class Lines>
void Render(Out& out, const std::string& label, const Lines& a, const Lines& b, int context) {
  const std::vector<Change> changes = Differ<Lines>(a, b).Run();
  if (changes.empty()) return;
  const std::size_t ctx = static_cast<std::size_t>(std::max(context, 0));
  // A relative path is shown as git shows it (a/..., b/...); an absolute one as it is.
  const bool absolute = !label.empty() && (label[0] == '/' || (label.size() > 1 && label[1] == ':'));
  // patch reads a file name up to the first blank unless a tab ends it: git ends a name that
  // holds a blank with one, and both git apply and patch take that.
  const std::string end = label.find(' ') == std::string::npos ? "\n" : "\t\n";
  out += "--- " + (absolute ? label : "a/" + label) + end + "+++ " + (absolute ? label : "b/" + label) + end;
  Hunks(out, changes, a, b, ctx);
}

}  // namespace

std::string UnifiedDiff(const std::string& label, const std::vector<std::string>& before,
                        const std::vector<std::string>& after, int context) {
  // Each line with the "\n" the output gives it, so both forms share one diff.
  std::vector<std::string> ended[2];
  std::vector<std::string_view> lines[2];
  for (int side = 0; side < 2; ++side) {
    for (const std::string& line : side == 0 ? before : after) ended[side].push_back(line + "\n");
    for (const std::string& line : ended[side]) lines[side].push_back(line);
  }
  std::string out;
  Render(out, label, lines[0], lines[1], context);
  return out;
}

std::string UnifiedDiffOfBytes(const std::string& label, std::string_view before, std::string_view after,
                               int context) {
  std::string out;
  if (before != after) Render(out, label, IndexedLines(before), IndexedLines(after), context);
  return out;
}

void WriteUnifiedDiffOfBytes(std::ostream& out, const std::string& label, std::string_view before,
                             std::string_view after, int context) {
  StreamOut stream{out};
  if (before != after) Render(stream, label, IndexedLines(before), IndexedLines(after), context);
}

}  // namespace files
