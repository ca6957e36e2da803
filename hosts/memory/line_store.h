// The lines of one code module. Their characters live in one buffer and the lines are spans of
// it, kept in a gap buffer: reading a line is direct, an edit costs the lines it touches plus the
// distance from the previous edit (so an add-in that walks down a module editing line after line
// pays once for the whole walk), and a module takes little more memory than its characters.
// Replaced text is reclaimed by compacting the buffer in place once it holds as much dead text as
// live text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/vb_text.h"

namespace memhost {

using vb::Text;
using vb::TextView;

// The lines of a code text split at CR LF (lone CR or LF too), as views into it. A text that ends
// with a break ends its last line there: no empty line follows. An empty text has no lines.
std::vector<TextView> SplitCodeViews(TextView text);

class LineStore {
 public:
  LineStore() = default;
  explicit LineStore(TextView code) { Assign(code); }
  ~LineStore();
  LineStore(LineStore&& other) noexcept;
  LineStore& operator=(LineStore&& other) noexcept;
  LineStore(const LineStore&) = delete;
  LineStore& operator=(const LineStore&) = delete;

  std::size_t size() const { return spans_.size() - (gapEnd_ - gapBegin_); }
  bool empty() const { return size() == 0; }
  TextView operator[](std::size_t index) const {
    const Span& s = spans_[index < gapBegin_ ? index : index + (gapEnd_ - gapBegin_)];
    return TextView(chars_ + s.offset, s.length);
  }

  // Every line of `code` (split as SplitCodeViews does), replacing what was there.
  void Assign(TextView code);
  // Room for `lines` more lines of `chars` characters in all, then each line added at the end: a
  // module read from a file is built without a copy of its whole text.
  void Reserve(std::size_t lines, std::size_t chars);
  void PushBack(TextView line);
  // Replaces `count` lines from `at` (0-based) by `lines`, which must not point into this store.
  void Replace(std::size_t at, std::size_t count, const std::vector<TextView>& lines);
  // `count` lines from `first` joined by CR LF, without a break after the last.
  Text Join(std::size_t first, std::size_t count) const;

  // Characters held, live or waiting to be reclaimed (for the benchmarks).
  std::size_t capacity() const { return capacity_; }

 private:
  struct Span {
    std::uint32_t offset;
    std::uint32_t length;
  };
  void MoveGap(std::size_t at);
  void ReserveSpans(std::size_t count);
  void ReserveChars(std::size_t count);
  void Compact();
  Span Append(TextView text);

  std::vector<Span> spans_;  // lines before the gap, the gap, lines after it
  std::size_t gapBegin_ = 0, gapEnd_ = 0;
  char16_t* chars_ = nullptr;  // malloc'ed, so growth can be a realloc that moves no pages
  std::size_t used_ = 0, capacity_ = 0, dead_ = 0;
};

}  // namespace memhost
