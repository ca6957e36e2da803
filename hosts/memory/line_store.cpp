#include "hosts/memory/line_store.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace memhost {

std::vector<TextView> SplitCodeViews(TextView text) {
  std::vector<TextView> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    lines.push_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ++end;
    start = end + 1;
  }
  return lines;
}

LineStore::~LineStore() { std::free(chars_); }

LineStore::LineStore(LineStore&& other) noexcept { *this = std::move(other); }

LineStore& LineStore::operator=(LineStore&& other) noexcept {
  if (this == &other) return *this;
  std::free(chars_);
  spans_ = std::move(other.spans_);
  gapBegin_ = other.gapBegin_;
  gapEnd_ = other.gapEnd_;
  chars_ = other.chars_;
  used_ = other.used_;
  capacity_ = other.capacity_;
  dead_ = other.dead_;
  other.chars_ = nullptr;
  other.gapBegin_ = other.gapEnd_ = other.used_ = other.capacity_ = other.dead_ = 0;
  other.spans_.clear();
  return *this;
}

void LineStore::Assign(TextView code) {
  const std::vector<TextView> lines = SplitCodeViews(code);
  std::size_t chars = 0;
  for (TextView line : lines) chars += line.size();
  std::free(chars_);
  chars_ = nullptr;
  used_ = capacity_ = dead_ = 0;
  // Exactly the room the text needs: a loaded module that is never edited takes no more.
  ReserveChars(chars);
  spans_.clear();
  spans_.reserve(lines.size());
  for (TextView line : lines) spans_.push_back(Append(line));
  gapBegin_ = gapEnd_ = spans_.size();
}

void LineStore::Reserve(std::size_t lines, std::size_t chars) {
  if (used_ + chars > capacity_) {
    // Exactly what is asked: a module that is only read takes no more.
    auto* grown = static_cast<char16_t*>(std::realloc(chars_, std::max<std::size_t>(used_ + chars, 1) * sizeof(char16_t)));
    if (!grown) throw std::bad_alloc();
    chars_ = grown;
    capacity_ = used_ + chars;
  }
  MoveGap(size());
  spans_.resize(gapBegin_);
  gapEnd_ = gapBegin_;
  spans_.reserve(spans_.size() + lines);
}

void LineStore::PushBack(TextView line) {
  ReserveChars(line.size());
  if (gapEnd_ != spans_.size()) {
    MoveGap(size());
    spans_.resize(gapBegin_);
  }
  spans_.push_back(Append(line));
  gapBegin_ = gapEnd_ = spans_.size();
}

void LineStore::Replace(std::size_t at, std::size_t count, const std::vector<TextView>& lines) {
  std::size_t chars = 0;
  for (TextView line : lines) chars += line.size();
  ReserveChars(chars);
  ReserveSpans(lines.size());
  MoveGap(at);
  for (std::size_t i = 0; i < count; ++i) dead_ += spans_[gapEnd_ + i].length;
  gapEnd_ += count;
  for (TextView line : lines) spans_[gapBegin_++] = Append(line);
}

Text LineStore::Join(std::size_t first, std::size_t count) const {
  std::size_t length = count > 0 ? 2 * (count - 1) : 0;
  for (std::size_t i = first; i < first + count; ++i) length += (*this)[i].size();
  Text joined;
  joined.reserve(length);
  for (std::size_t i = first; i < first + count; ++i) {
    if (i > first) joined += vb::kCrLf;
    joined += (*this)[i];
  }
  return joined;
}

void LineStore::MoveGap(std::size_t at) {
  const std::size_t gap = gapEnd_ - gapBegin_;
  if (at < gapBegin_) {
    std::move_backward(spans_.begin() + static_cast<std::ptrdiff_t>(at),
                       spans_.begin() + static_cast<std::ptrdiff_t>(gapBegin_),
                       spans_.begin() + static_cast<std::ptrdiff_t>(gapEnd_));
  } else if (at > gapBegin_) {
    std::move(spans_.begin() + static_cast<std::ptrdiff_t>(gapEnd_),
              spans_.begin() + static_cast<std::ptrdiff_t>(at + gap),
              spans_.begin() + static_cast<std::ptrdiff_t>(gapBegin_));
  }
  gapBegin_ = at;
  gapEnd_ = at + gap;
}

void LineStore::ReserveSpans(std::size_t count) {
  const std::size_t gap = gapEnd_ - gapBegin_;
  if (gap >= count) return;
  // The gap grows with the module, so a run of insertions costs amortized constant time each.
  const std::size_t lines = size();
  const std::size_t newGap = std::max(count, lines / 2 + 16);
  std::vector<Span> grown(lines + newGap);
  std::copy(spans_.begin(), spans_.begin() + static_cast<std::ptrdiff_t>(gapBegin_), grown.begin());
  std::copy(spans_.begin() + static_cast<std::ptrdiff_t>(gapEnd_), spans_.end(),
            grown.begin() + static_cast<std::ptrdiff_t>(gapBegin_ + newGap));
  spans_ = std::move(grown);
  gapEnd_ = gapBegin_ + newGap;
}

void LineStore::ReserveChars(std::size_t count) {
  if (used_ + count <= capacity_) return;
  if (dead_ > 0 && dead_ >= (used_ - dead_) / 2) Compact();
  if (used_ + count <= capacity_) return;
  const std::size_t wanted = std::max(used_ + count, capacity_ == 0 ? count : capacity_ + capacity_ / 2 + 64);
  if (wanted > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("code module too large");
  auto* grown = static_cast<char16_t*>(std::realloc(chars_, std::max<std::size_t>(wanted, 1) * sizeof(char16_t)));
  if (!grown) throw std::bad_alloc();
  chars_ = grown;
  capacity_ = wanted;
}

// Slides the live lines down over the dead text, in the order they lie in the buffer, so no live
// character is overwritten before it has moved.
void LineStore::Compact() {
  std::vector<Span*> live;
  live.reserve(size());
  for (std::size_t i = 0; i < spans_.size(); ++i)
    if ((i < gapBegin_ || i >= gapEnd_) && spans_[i].length > 0) live.push_back(&spans_[i]);
  std::sort(live.begin(), live.end(), [](const Span* a, const Span* b) { return a->offset < b->offset; });
  std::size_t to = 0;
  for (Span* span : live) {
    if (span->offset != to) std::memmove(chars_ + to, chars_ + span->offset, span->length * sizeof(char16_t));
    span->offset = static_cast<std::uint32_t>(to);
    to += span->length;
  }
  used_ = to;
  dead_ = 0;
}

LineStore::Span LineStore::Append(TextView text) {
  Span span{static_cast<std::uint32_t>(used_), static_cast<std::uint32_t>(text.size())};
  if (!text.empty()) std::memcpy(chars_ + used_, text.data(), text.size() * sizeof(char16_t));
  used_ += text.size();
  return span;
}

}  // namespace memhost
