// The lines of one code module. Their characters live in few buffers and the lines are spans of
// them, kept in a gap buffer: reading a line is direct, an edit costs the lines it touches plus the
// distance from the previous edit (so an add-in that walks down a module editing line after line
// pays once for the whole walk), and a module takes little more memory than its file.
//
// Nearly every line of VB6 code is characters below U+0100, so a line is kept as one byte per
// character where it can be: in the bytes of the file it was read from (shared, never copied), in
// a byte buffer of its own, or in the room of a text handed over to the store; other lines are
// kept as 16-bit units. Replaced text is reclaimed by compacting a buffer in place once it holds
// as much dead text as live text.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "framework/vb_text.h"
#include "hosts/memory/shared_bytes.h"

namespace memhost {

using vb::Text;
using vb::TextView;

// Writes each of `count` bytes as the character of its number.
void WidenBytes(const unsigned char* in, std::size_t count, char16_t* out);

class LineStore {
 public:
  LineStore() = default;
  explicit LineStore(TextView code) { Assign(code); }
  // A store whose lines may be spans of `origin`, bytes that each stand for the character of the
  // same number (U+0000 to U+00FF).
  explicit LineStore(SharedBytes origin) : origin_(std::move(origin)) {}
  ~LineStore() = default;
  LineStore(LineStore&& other) noexcept;
  LineStore& operator=(LineStore&& other) noexcept;
  LineStore(const LineStore&) = delete;
  LineStore& operator=(const LineStore&) = delete;

  std::size_t size() const { return spans_.size() - (gapEnd_ - gapBegin_); }
  bool empty() const { return size() == 0; }
  // The line at `index` (0-based). A line kept as bytes is widened into `scratch`, and the view
  // then points there: it lasts until `scratch` changes.
  TextView Line(std::size_t index, Text& scratch) const {
    const Span& s = SpanAt(index);
    if (s.source() == kWide) return TextView(wide_.data + s.offset, s.length());
    scratch.resize(s.length());
    Widen(s, scratch.data());
    return scratch;
  }
  // True when the line is kept as bytes, each the character of its own number; `bytes` then
  // views them.
  bool LineBytes(std::size_t index, std::string_view& bytes) const {
    const Span& s = SpanAt(index);
    if (s.source() == kWide) return false;
    bytes = std::string_view(reinterpret_cast<const char*>(ByteData(s)), s.length());
    return true;
  }
  // Appends the line's characters to `out`.
  void AppendLine(std::size_t index, Text& out) const;
  // The characters of all lines, without breaks.
  std::size_t Characters() const;

  // Another store of the same lines (copies are explicit: a store may be large).
  LineStore Copy() const;

  // Every line of `code`, replacing what was there. Lines end at CR LF (a lone CR or LF too); a
  // break at the end of the text ends its last line, with no empty line after it.
  void Assign(TextView code);
  void Reserve(std::size_t lines) { spans_.reserve(lines); }
  // Adds a line at the end.
  void PushBack(TextView line);
  // Adds at the end a line of `length` 16-bit units and returns where to write them, before the
  // store is used again: a file's line is decoded straight into the store instead of through a
  // string of its own.
  char16_t* PushBackUnits(std::size_t length);
  // Adds at the end the line that is `length` bytes of the origin from `offset` (inline: a file
  // being read calls it for nearly every line).
  void PushBackOrigin(std::size_t offset, std::size_t length) {
    if (length >= (1u << 30) || offset > std::numeric_limits<std::uint32_t>::max())
      throw std::length_error("code line too long");
    if (gapEnd_ != spans_.size()) {
      MoveGap(size());
      spans_.resize(gapBegin_);
    }
    spans_.push_back(Span{static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length), kOrigin});
    gapBegin_ = gapEnd_ = spans_.size();
  }
  // Replaces `count` lines from `at` (0-based) by `lines`, which must not point into this store.
  void Replace(std::size_t at, std::size_t count, const std::vector<TextView>& lines);
  // The same with the lines of `text` (split as Assign splits it), read where they are: a large
  // text is not split into a list first. Returns how many lines went in.
  std::size_t ReplaceByText(std::size_t at, std::size_t count, TextView text);
  // Inserts the lines of `text` before line `at` (0-based) as ReplaceByText does, keeping those
  // that fit in bytes in the text's own room, narrowed there, instead of copying them: a large
  // block is then not held twice while it goes in. One text is kept at a time; another is
  // copied while the one kept still has lines.
  std::size_t InsertTaking(std::size_t at, Text&& text);
  // `count` lines from `first` joined by CR LF, without a break after the last, with room for one
  // more character.
  Text Join(std::size_t first, std::size_t count) const {
    Text joined;
    Join(first, count, joined);
    return joined;
  }
  // The same, written over `into` (its room is reused). One line, as an add-in that reads a module
  // line by line asks for it, goes straight from its span (inline: a call for each line).
  void Join(std::size_t first, std::size_t count, Text& into) const {
    if (count != 1) return JoinLines(first, count, into);
    const Span& s = SpanAt(first);
    SizeForJoin(into, s.length());
    WriteLine(s, into.data());
  }

  // Characters held in buffers of the store's own, live or waiting to be reclaimed (for the
  // benchmarks).
  std::size_t capacity() const { return wide_.capacity + bytes_.capacity + takenUsed_; }

 private:
  enum Source : std::uint32_t { kWide, kBytes, kOrigin, kTaken };
  // The length and the source share a word, without bit fields: a span is then made in a register
  // and stored at once (a module's lines are added one by one as its file is read).
  struct Span {
    std::uint32_t offset = 0;
    std::uint32_t packed = 0;  // the length in the low 30 bits, the source in the top 2
    Span() = default;
    Span(std::uint32_t at, std::uint32_t length, Source source) : offset(at), packed(length | source << 30) {}
    std::uint32_t length() const { return packed & ((1u << 30) - 1); }
    Source source() const { return static_cast<Source>(packed >> 30); }
  };
  // A malloc'ed buffer, so growth can be a realloc that moves no pages.
  template <class Unit>
  struct Buffer {
    Unit* data = nullptr;
    std::size_t used = 0, capacity = 0, dead = 0;
    Buffer() = default;
    Buffer(Buffer&& other) noexcept { *this = std::move(other); }
    Buffer& operator=(Buffer&& other) noexcept {
      if (this == &other) return *this;
      std::free(data);
      data = std::exchange(other.data, nullptr);
      used = std::exchange(other.used, 0);
      capacity = std::exchange(other.capacity, 0);
      dead = std::exchange(other.dead, 0);
      return *this;
    }
    ~Buffer() { std::free(data); }
  };

  const Span& SpanAt(std::size_t index) const {
    return spans_[index < gapBegin_ ? index : index + (gapEnd_ - gapBegin_)];
  }
  // The first byte of a line kept as bytes.
  const unsigned char* ByteData(const Span& s) const {
    const unsigned char* base = s.source() == kBytes  ? bytes_.data
                                : s.source() == kTaken ? reinterpret_cast<const unsigned char*>(taken_.data())
                                                       : reinterpret_cast<const unsigned char*>(origin_.data());
    return base + s.offset;
  }
  // The characters of a line kept as bytes.
  void Widen(const Span& s, char16_t* out) const { WidenBytes(ByteData(s), s.length(), out); }
  // Writes the characters of a line.
  void WriteLine(const Span& s, char16_t* out) const {
    if (s.source() == kWide)
      std::copy_n(wide_.data + s.offset, s.length(), out);
    else
      Widen(s, out);
  }
  // Join of any other number of lines.
  void JoinLines(std::size_t first, std::size_t count, Text& into) const;
  // Makes `into` `length` characters long for Join to write over.
  static void SizeForJoin(Text& into, std::size_t length);
  void MoveGap(std::size_t at);
  void ReserveSpans(std::size_t count);
  template <class Unit>
  void ReserveIn(Buffer<Unit>& buffer, Source source, std::size_t count);
  template <class Unit>
  void Compact(Buffer<Unit>& buffer, Source source);
  // Moves the lines still kept in the taken text into the byte buffer, and lets the text go.
  void DropTaken();
  // Gives the pages of `text`'s room past its first `bytes` back to the system.
  static void ReleaseRoomPast(Text& text, std::size_t bytes);
  // Replaces `count` lines from `at` by the lines that `forEach` hands to the function it is
  // given: twice, once to make room for them and once to put them in.
  template <class ForEach>
  std::size_t ReplaceEach(std::size_t at, std::size_t count, const ForEach& forEach);
  Span Append(TextView text);

  std::vector<Span> spans_;  // lines before the gap, the gap, lines after it
  std::size_t gapBegin_ = 0, gapEnd_ = 0;
  SharedBytes origin_;
  Buffer<char16_t> wide_;       // lines with a character above U+00FF
  Buffer<unsigned char> bytes_;  // other lines written since the store was made
  Text taken_;                   // a text handed over: its first takenUsed_ bytes are lines
  std::size_t takenUsed_ = 0, takenDead_ = 0;
};

// Whether every character of `text` is below U+0100, so a byte can hold each.
bool FitsInBytes(TextView text);

// The lines of a store by index, each widened as it is asked for, for code that reads one line at
// a time (matching two versions of a module): a view lasts until the next line is asked for.
class LineCursor {
 public:
  explicit LineCursor(const LineStore& lines) : lines_(lines) {}
  std::size_t size() const { return lines_.size(); }
  TextView operator[](std::size_t index) const { return lines_.Line(index, scratch_); }

 private:
  const LineStore& lines_;
  mutable Text scratch_;
};

inline TextView LineAt(const LineStore& lines, std::size_t index, Text& scratch) { return lines.Line(index, scratch); }

}  // namespace memhost
