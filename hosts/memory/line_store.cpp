#include "hosts/memory/line_store.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace memhost {

void WidenBytes(const unsigned char* in, std::size_t count, char16_t* out) {
#if defined(__SSE2__)
  // In steps of 16, 8 or 4 bytes, the last step overlapping the one before: a line's length then
  // costs no loop over its last few bytes, which mispredicted about once a line (lines are short).
  const __m128i zero = _mm_setzero_si128();
  auto store = [](char16_t* at, __m128i units) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), units); };
  if (count >= 16) {
    auto step = [&](std::size_t at) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + at));
      store(out + at, _mm_unpacklo_epi8(bytes, zero));
      store(out + at + 8, _mm_unpackhi_epi8(bytes, zero));
    };
    for (std::size_t at = 0; at + 16 < count; at += 16) step(at);
    step(count - 16);
  } else if (count >= 8) {
    auto step = [&](std::size_t at) {
      store(out + at, _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + at)), zero));
    };
    step(0);
    step(count - 8);
  } else if (count >= 4) {
    auto step = [&](std::size_t at) {
      std::uint32_t bytes;
      std::memcpy(&bytes, in + at, 4);
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + at),
                       _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(bytes)), zero));
    };
    step(0);
    step(count - 4);
  } else if (count > 0) {
    out[0] = in[0];
    out[count / 2] = in[count / 2];
    out[count - 1] = in[count - 1];
  }
#else
  for (std::size_t i = 0; i < count; ++i) out[i] = in[i];
#endif
}

bool FitsInBytes(TextView text) {
  char16_t all = 0;  // no early exit: the loop vectorizes, and such lines are rare
  for (char16_t c : text) all |= c;
  return all <= 0xFF;
}

LineStore::LineStore(LineStore&& other) noexcept { *this = std::move(other); }

LineStore& LineStore::operator=(LineStore&& other) noexcept {
  if (this == &other) return *this;
  spans_ = std::move(other.spans_);
  gapBegin_ = other.gapBegin_;
  gapEnd_ = other.gapEnd_;
  origin_ = std::move(other.origin_);
  wide_ = std::move(other.wide_);
  bytes_ = std::move(other.bytes_);
  Text().swap(taken_);  // a move-assignment would hand this room to `other`
  taken_.swap(other.taken_);
  takenUsed_ = std::exchange(other.takenUsed_, 0);
  takenDead_ = std::exchange(other.takenDead_, 0);
  other.gapBegin_ = other.gapEnd_ = 0;
  other.spans_.clear();
  return *this;
}

void LineStore::AppendLine(std::size_t index, Text& out) const {
  const Span& s = SpanAt(index);
  if (s.source() == kWide) {
    out.append(wide_.data + s.offset, s.length());
    return;
  }
  const std::size_t at = out.size();
  out.resize(at + s.length());
  Widen(s, out.data() + at);
}

std::size_t LineStore::Characters() const {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < size(); ++i) characters += SpanAt(i).length();
  return characters;
}

LineStore LineStore::Copy() const {
  LineStore copy(origin_);
  copy.spans_.reserve(size());
  copy.spans_.insert(copy.spans_.end(), spans_.begin(), spans_.begin() + static_cast<std::ptrdiff_t>(gapBegin_));
  copy.spans_.insert(copy.spans_.end(), spans_.begin() + static_cast<std::ptrdiff_t>(gapEnd_), spans_.end());
  copy.gapBegin_ = copy.gapEnd_ = copy.spans_.size();
  auto copyBuffer = [&copy](const auto& from, auto& to, Source source) {
    copy.ReserveIn(to, source, from.used);
    if (from.used > 0) std::memcpy(to.data, from.data, from.used * sizeof(*from.data));
    to.used = from.used;
    to.dead = from.dead;
  };
  copyBuffer(wide_, copy.wide_, kWide);
  copyBuffer(bytes_, copy.bytes_, kBytes);
  copy.taken_.assign(taken_.data(), (takenUsed_ + 1) / 2);  // the room of the lines only
  copy.takenUsed_ = takenUsed_;
  copy.takenDead_ = takenDead_;
  return copy;
}

void LineStore::Assign(TextView code) {
  // Exactly the room the text needs: a module that is never edited takes no more.
  *this = LineStore();
  ReplaceByText(0, 0, code);
}

void LineStore::PushBack(TextView line) {
  // Reserved by hand: a file being read calls this for each line it decodes.
  if (line.size() >= (1u << 30)) throw std::length_error("code line too long");
  if (FitsInBytes(line))
    ReserveIn(bytes_, kBytes, line.size());
  else
    ReserveIn(wide_, kWide, line.size());
  MoveGap(size());
  spans_.resize(gapBegin_);
  spans_.push_back(Append(line));
  gapBegin_ = gapEnd_ = spans_.size();
}

char16_t* LineStore::PushBackUnits(std::size_t length) {
  if (length >= (1u << 30)) throw std::length_error("code line too long");
  ReserveIn(wide_, kWide, length);
  MoveGap(size());
  spans_.resize(gapBegin_);
  spans_.push_back(Span{static_cast<std::uint32_t>(wide_.used), static_cast<std::uint32_t>(length), kWide});
  gapBegin_ = gapEnd_ = spans_.size();
  wide_.used += length;
  return wide_.data + wide_.used - length;
}

void LineStore::Replace(std::size_t at, std::size_t count, const std::vector<TextView>& lines) {
  ReplaceEach(at, count, [&lines](const auto& visit) {
    for (TextView line : lines) visit(line);
  });
}

std::size_t LineStore::ReplaceByText(std::size_t at, std::size_t count, TextView text) {
  return ReplaceEach(at, count, [text](const auto& visit) {
    vb::LineViewReader reader(text);
    for (TextView line; reader.Next(line);) visit(line);
  });
}

template <class ForEach>
std::size_t LineStore::ReplaceEach(std::size_t at, std::size_t count, const ForEach& forEach) {
  std::size_t lines = 0, wide = 0, narrow = 0;
  forEach([&](TextView line) {
    if (line.size() >= (1u << 30)) throw std::length_error("code line too long");
    (FitsInBytes(line) ? narrow : wide) += line.size();
    ++lines;
  });
  ReserveIn(wide_, kWide, wide);
  ReserveIn(bytes_, kBytes, narrow);
  ReserveSpans(lines);
  MoveGap(at);
  for (std::size_t i = 0; i < count; ++i) {
    const Span& s = spans_[gapEnd_ + i];
    if (s.source() == kWide) wide_.dead += s.length();
    if (s.source() == kBytes) bytes_.dead += s.length();
    if (s.source() == kTaken) takenDead_ += s.length();
  }
  gapEnd_ += count;
  forEach([&](TextView line) { spans_[gapBegin_++] = Append(line); });
  if (takenDead_ > 0 && takenDead_ >= (takenUsed_ - takenDead_) / 2) DropTaken();
  return lines;
}

std::size_t LineStore::InsertTaking(std::size_t at, Text&& text) {
  if (takenUsed_ > takenDead_ || text.empty()) return ReplaceByText(at, 0, text);
  std::size_t lines = 0, wide = 0;
  vb::LineViewReader counter(text);
  for (TextView line; counter.Next(line); ++lines) {
    if (line.size() >= (1u << 30)) throw std::length_error("code line too long");
    if (!FitsInBytes(line)) wide += line.size();
  }
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("code module too large");
  ReserveIn(wide_, kWide, wide);
  // The lines are narrowed before the room of their spans is taken, and the half of the text
  // that narrowing frees is given back first: a large block would otherwise hold its whole text
  // and its spans at once. Each line's bytes are written at or before where its characters are
  // read (a byte for each character and one after the line, breaks of one or two characters
  // left out), so nothing is overwritten before it has been read. After a line kept in bytes
  // comes '\n' (those lines have neither CR nor LF), an empty line is a '\n' alone and a line
  // that is not kept in bytes, copied now, a '\r'.
  auto* room = reinterpret_cast<unsigned char*>(text.data());
  std::vector<Span> wideSpans;
  std::size_t written = 0;
  vb::LineViewReader reader(text);
  for (TextView line; reader.Next(line);) {
    if (!FitsInBytes(line)) {
      wideSpans.push_back(Append(line));
      room[written++] = '\r';
      continue;
    }
    for (std::size_t i = 0; i < line.size(); ++i) room[written + i] = static_cast<unsigned char>(line[i]);
    written += line.size();
    room[written++] = '\n';
  }
  ReleaseRoomPast(text, written);
  try {
    ReserveSpans(lines);
  } catch (...) {
    wide_.dead += wide;  // the copies made above are not lines of the store
    throw;
  }
  MoveGap(at);
  // The marks are taken out as the spans are made, so the lines' bytes lie one after the other.
  std::size_t used = 0, nextWide = 0;
  for (std::size_t read = 0; read < written;) {
    if (room[read] == '\r') {
      spans_[gapBegin_++] = wideSpans[nextWide++];
      ++read;
      continue;
    }
    const auto length = static_cast<std::size_t>(std::find(room + read, room + written, '\n') - (room + read));
    if (length == 0) {
      spans_[gapBegin_++] = Append(TextView());  // an empty line needs no room
    } else {
      std::memmove(room + used, room + read, length);
      spans_[gapBegin_++] = Span{static_cast<std::uint32_t>(used), static_cast<std::uint32_t>(length), kTaken};
      used += length;
    }
    read += length + 1;
  }
  if (used == 0) return lines;
  Text().swap(taken_);  // lets the last text go now (a move-assignment would hand it to `text`)
  taken_.swap(text);
  takenUsed_ = used;
  takenDead_ = 0;
  ReleaseRoomPast(taken_, used);
  return lines;
}

void LineStore::ReleaseRoomPast(Text& text, std::size_t bytes) {
#if defined(__linux__)
  // The text stays allocated until the store lets it go, but nothing reads these pages.
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(text.data());
  const std::uintptr_t from = (begin + bytes + page - 1) / page * page;
  const std::uintptr_t to = (begin + text.capacity() * sizeof(char16_t)) / page * page;
  if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
#else
  (void)text;
  (void)bytes;
#endif
}

void LineStore::DropTaken() {
  ReserveIn(bytes_, kBytes, takenUsed_ - takenDead_);
  for (std::size_t i = 0; i < spans_.size(); ++i) {
    Span& s = spans_[i];
    if (i >= gapBegin_ && i < gapEnd_) continue;
    if (s.source() != kTaken) continue;
    std::memcpy(bytes_.data + bytes_.used, ByteData(s), s.length());
    s = Span{static_cast<std::uint32_t>(bytes_.used), s.length(), kBytes};
    bytes_.used += s.length();
  }
  Text().swap(taken_);  // a move-assignment would keep the room
  takenUsed_ = takenDead_ = 0;
}

void LineStore::JoinLines(std::size_t first, std::size_t count, Text& into) const {
  std::size_t length = count > 0 ? 2 * (count - 1) : 0;
  for (std::size_t i = first; i < first + count; ++i) length += SpanAt(i).length();
  SizeForJoin(into, length);
  char16_t* out = into.data();
  for (std::size_t i = first; i < first + count; ++i) {
    if (i > first) {
      *out++ = u'\r';
      *out++ = u'\n';
    }
    const Span& s = SpanAt(i);
    WriteLine(s, out);
    out += s.length();
  }
}

void LineStore::SizeForJoin(Text& into, std::size_t length) {
  // Within the room the old text is written over, not cleared first; a string that must grow is
  // cleared, so that growing copies nothing. One character of room is left over: a caller that puts
  // a comment mark in front of a line of hundreds of thousands of characters then copies nothing.
  if (length >= into.capacity()) {
    into.clear();
    into.reserve(length + 1);
  }
  into.resize(length);
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
  // The gap grows with the module, so a run of insertions costs amortized constant time each; an
  // eighth keeps the room a large module holds unused small.
  const std::size_t lines = size();
  const std::size_t newGap = std::max(count, lines / 8 + 16);
  std::vector<Span> grown(lines + newGap);
  std::copy(spans_.begin(), spans_.begin() + static_cast<std::ptrdiff_t>(gapBegin_), grown.begin());
  std::copy(spans_.begin() + static_cast<std::ptrdiff_t>(gapEnd_), spans_.end(),
            grown.begin() + static_cast<std::ptrdiff_t>(gapBegin_ + newGap));
  spans_ = std::move(grown);
  gapEnd_ = gapBegin_ + newGap;
}

// Grows by a quarter: a large buffer grows in place (the allocator moves its pages, not its bytes),
// so more steps cost little and the room left over at the end is small.
template <class Unit>
void LineStore::ReserveIn(Buffer<Unit>& buffer, Source source, std::size_t count) {
  if (buffer.used + count <= buffer.capacity) return;
  if (buffer.dead > 0 && buffer.dead >= (buffer.used - buffer.dead) / 2) Compact(buffer, source);
  if (buffer.used + count <= buffer.capacity) return;
  const std::size_t wanted =
      std::max(buffer.used + count, buffer.capacity == 0 ? count : buffer.capacity + buffer.capacity / 4 + 64);
  if (wanted > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("code module too large");
  auto* grown = static_cast<Unit*>(std::realloc(buffer.data, std::max<std::size_t>(wanted, 1) * sizeof(Unit)));
  if (!grown) throw std::bad_alloc();
  buffer.data = grown;
  buffer.capacity = wanted;
}

// Slides the live lines of one buffer down over its dead text, in the order they lie in it, so no
// live character is overwritten before it has moved.
template <class Unit>
void LineStore::Compact(Buffer<Unit>& buffer, Source source) {
  std::vector<Span*> live;
  for (std::size_t i = 0; i < spans_.size(); ++i)
    if ((i < gapBegin_ || i >= gapEnd_) && spans_[i].source() == source && spans_[i].length() > 0)
      live.push_back(&spans_[i]);
  std::sort(live.begin(), live.end(), [](const Span* a, const Span* b) { return a->offset < b->offset; });
  std::size_t to = 0;
  for (Span* span : live) {
    if (span->offset != to) std::memmove(buffer.data + to, buffer.data + span->offset, span->length() * sizeof(Unit));
    span->offset = static_cast<std::uint32_t>(to);
    to += span->length();
  }
  buffer.used = to;
  buffer.dead = 0;
}

LineStore::Span LineStore::Append(TextView text) {
  if (!FitsInBytes(text)) {
    const Span span{static_cast<std::uint32_t>(wide_.used), static_cast<std::uint32_t>(text.size()), kWide};
    if (!text.empty()) std::memcpy(wide_.data + wide_.used, text.data(), text.size() * sizeof(char16_t));
    wide_.used += text.size();
    return span;
  }
  const Span span{static_cast<std::uint32_t>(bytes_.used), static_cast<std::uint32_t>(text.size()), kBytes};
  unsigned char* out = bytes_.data + bytes_.used;
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = static_cast<unsigned char>(text[i]);
  bytes_.used += text.size();
  return span;
}

}  // namespace memhost
