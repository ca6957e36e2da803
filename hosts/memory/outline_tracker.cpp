#include "hosts/memory/outline_tracker.h"

#include <algorithm>
#include <iterator>

#include "framework/vb_statements.h"

namespace memhost {
namespace {

// Index of the first declaration that starts at or after `line`.
std::size_t FirstAtOrAfter(const std::vector<Declaration>& declarations, long line) {
  return static_cast<std::size_t>(
      std::lower_bound(declarations.begin(), declarations.end(), line,
                       [](const Declaration& d, long l) { return d.firstLine < l; }) -
      declarations.begin());
}

// True when `line` lies inside a procedure, Type or Enum block after its first line.
bool InsideBlock(const std::vector<Declaration>& declarations, long line) {
  const std::size_t next = FirstAtOrAfter(declarations, line);
  if (next == 0) return false;
  const Declaration& d = declarations[next - 1];
  return IsBlock(d.kind) && (d.endLine == 0 || line <= d.endLine);
}

void Shift(Declaration& d, long delta) {
  d.firstLine += delta;
  d.lastLine += delta;
  if (d.endLine) d.endLine += delta;
  if (d.markLine) d.markLine += delta;
}

}  // namespace

void OutlineTracker::Edited(long first, long removed, long added) {
  membersValid_ = false;
  if (!scanned_) return;
  if (!pending_) {
    pending_ = true;
    first_ = first;
    oldCount_ = removed;
    newCount_ = added;
    return;
  }
  // Merge with the changed range so far, in today's line numbers: the union of both ranges,
  // mapped back to the old lines at its end.
  const long start = std::min(first_, first);
  const long end = std::max(first_ + newCount_, first + removed);  // exclusive, before this edit
  const long oldEnd = end - newCount_ + oldCount_;
  first_ = start;
  oldCount_ = oldEnd - start;
  newCount_ = end - start + added - removed;
}

const ModuleOutline& OutlineTracker::Outline(const LineStore& lines) {
  if (!scanned_) {
    outline_ = ScanModule(lines);
    scanned_ = true;
    pending_ = false;
    membersValid_ = false;
  } else if (pending_) {
    Update(lines);
  }
  return outline_;
}

const std::vector<std::uint32_t>& OutlineTracker::Members(const LineStore& lines) {
  Outline(lines);
  if (!membersValid_) {
    MemberDeclarations(outline_, members_);
    members_.shrink_to_fit();
    membersValid_ = true;
  }
  return members_;
}

void OutlineTracker::Update(const LineStore& lines) {
  pending_ = false;
  std::vector<Declaration>& old = outline_.declarations;
  const long delta = newCount_ - oldCount_;
  const long changedEnd = first_ + newCount_;  // first unchanged line after the range, today

  // Back up to a line that starts a statement outside any block; lines above the range are as
  // they were, so the old outline knows them.
  long from = first_;
  Text scratch;
  while (from > 1) {
    const std::size_t next = FirstAtOrAfter(old, from);
    if (next > 0 && InsideBlock(old, from)) {
      from = old[next - 1].firstLine;
    } else if (vb::ContinuesOnNextLine(lines.Line(static_cast<std::size_t>(from - 2), scratch))) {
      --from;
    } else {
      break;
    }
  }

  // Scan until, past the changed range, a statement starts where one started in the old outline
  // outside any block: from there on the text and so the outline are the old ones.
  std::vector<Declaration> fresh;
  long stoppedAt = ScanFrom(lines, from, changedEnd + 1,
                            [&](long line) { return !InsideBlock(old, line - delta); }, fresh, outline_.names);
  const std::size_t keepBefore = FirstAtOrAfter(old, from);
  const std::size_t keepFrom =
      stoppedAt > static_cast<long>(lines.size()) ? old.size() : FirstAtOrAfter(old, stoppedAt - delta);

  const bool headUnchanged = outline_.firstProcedureLine > 0 && from > outline_.firstProcedureLine;
  for (std::size_t i = keepFrom; i < old.size(); ++i) Shift(old[i], delta);
  const std::size_t merged = keepBefore + fresh.size() + (old.size() - keepFrom);
  if (merged <= old.capacity()) {
    // In place, so a module of many declarations is not held twice: the rescanned ones take the
    // place of those they replace.
    const auto at = old.begin() + static_cast<std::ptrdiff_t>(keepBefore);
    old.erase(at, old.begin() + static_cast<std::ptrdiff_t>(keepFrom));
    old.insert(old.begin() + static_cast<std::ptrdiff_t>(keepBefore), std::make_move_iterator(fresh.begin()),
               std::make_move_iterator(fresh.end()));
  } else {
    std::vector<Declaration> grown;
    grown.reserve(merged);
    std::move(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(keepBefore), std::back_inserter(grown));
    std::move(fresh.begin(), fresh.end(), std::back_inserter(grown));
    std::move(old.begin() + static_cast<std::ptrdiff_t>(keepFrom), old.end(), std::back_inserter(grown));
    old = std::move(grown);
  }
  outline_.DropUnusedNames();
  // The first procedure and everything above it were not touched: the section ends where it did.
  if (!headUnchanged) SummarizeOutline(outline_);
}

}  // namespace memhost
