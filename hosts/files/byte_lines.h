// The lines of a file's bytes with their line ends, found without decoding them. The bytes are
// looked at 64 at a time: one mask of their line breaks and one of their bytes above 0x7F per
// block, so that the next line costs a few bit operations rather than a search of its own (code
// lines are short: a search per line paid its set-up as often as it looked at bytes).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace files {

class ByteLines {
 public:
  struct Line {
    std::string_view text, eol;  // eol: "\r\n", "\n", "\r", or "" for a last line without a break
    std::size_t offset = 0;      // of the line in the bytes
    bool highBytes = false;      // a byte of the text is above 0x7F
  };

  // The lines from `from` on.
  ByteLines(std::string_view bytes, std::size_t from) : bytes_(bytes), pos_(from), block_(from) { Load(); }

  bool Next(Line& line) {
    const std::size_t size = bytes_.size();
    if (pos_ >= size) return false;
    bool high = false;
    std::size_t end = size;
    for (;;) {
      // The bits of the block at or after the line's start (which may lie past the block when
      // the last break was a CR LF split between two blocks).
      const std::size_t skip = pos_ > block_ ? pos_ - block_ : 0;
      const std::uint64_t from = skip >= 64 ? 0 : ~std::uint64_t{0} << skip;
      if (const std::uint64_t breaks = breaks_ & from) {
        const int at = std::countr_zero(breaks);
        high = high || (high_ & from & ((std::uint64_t{1} << at) - 1)) != 0;
        end = block_ + static_cast<std::size_t>(at);
        break;
      }
      high = high || (high_ & from) != 0;
      if (size - block_ <= 64) break;  // the last block, and no break in it
      block_ += 64;
      Load();
    }
    std::size_t breakLength = 0;
    if (end < size) breakLength = bytes_[end] == '\r' && end + 1 < size && bytes_[end + 1] == '\n' ? 2 : 1;
    line = {bytes_.substr(pos_, end - pos_), bytes_.substr(end, breakLength), pos_, high};
    pos_ = end + breakLength;
    return true;
  }
  // Where the next line starts.
  std::size_t position() const { return pos_; }

 private:
  // The masks of the (up to) 64 bytes from block_ (inline: it runs once per 64 bytes of a file).
  void Load() {
    if (block_ + 64 > bytes_.size()) return LoadLast();
    Masks(bytes_.data() + block_);
  }
  void LoadLast();
  void Masks(const char* data) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    std::uint64_t breaks = 0, high = 0;
    for (int i = 0; i < 4; ++i) {
      const __m128i part = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * i));
      const __m128i found = _mm_or_si128(_mm_cmpeq_epi8(part, cr), _mm_cmpeq_epi8(part, lf));
      breaks |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(found))} << (16 * i);
      high |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(part))} << (16 * i);
    }
    breaks_ = breaks;
    high_ = high;
#else
    breaks_ = high_ = 0;
    for (int i = 0; i < 64; ++i) {
      const auto c = static_cast<unsigned char>(data[i]);
      if (c == '\r' || c == '\n') breaks_ |= std::uint64_t{1} << i;
      if (c >= 0x80) high_ |= std::uint64_t{1} << i;
    }
#endif
  }

  std::string_view bytes_;
  std::size_t pos_;
  std::size_t block_;  // where the block of the masks starts
  std::uint64_t breaks_ = 0, high_ = 0;
};

// The number of LF bytes, looking at sixteen at a time: a text whose lines end with LF or CR LF
// has at most one line more.
std::size_t CountLineFeeds(std::string_view bytes);

}  // namespace files
