// The lines of a file's bytes with their line ends, found without decoding them. The bytes are
// looked at 64 at a time: one pass over a block makes a mask of where its lines end, one of its
// bytes above 0x7F and one of its bytes that are neither blanks nor breaks, so that the next line,
// whether it holds such bytes and how far it is indented cost a few bit operations rather than a
// search of their own (code lines are short: a search per line paid its set-up as often as it
// looked at bytes).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace files {

// A line as read from bytes.
struct ByteLine {
  std::string_view text, eol;  // eol: "\r\n", "\n", "\r", or "" for a last line without a break
  std::size_t offset = 0;      // of the line in the bytes
  bool highBytes = false;      // a byte of the text is above 0x7F
  std::size_t indent = 0;      // the blanks (spaces and tabs) the text starts with
};

// What one block of 64 bytes holds, a bit per byte.
struct BlockMasks {
  std::uint64_t ends = 0;   // where a line ends: a CR, or an LF that does not end a CR LF
  std::uint64_t high = 0;   // bytes above 0x7F
  std::uint64_t text = 0;   // bytes that are neither blanks (spaces, tabs) nor breaks
  std::uint64_t crLf = 0;   // the CRs of CR LF pairs
  std::uint64_t crLast = 0; // 1 when the block's last byte is a CR (an LF after it ends no line)

  // The masks of the 64 bytes at `data`, the block before them ending as `before` says and the
  // byte after them being `after`.
  static BlockMasks Of(const char* data, const BlockMasks& before, char after) {
    std::uint64_t cr = 0, lf = 0, high = 0, blank = 0;
#if defined(__SSE2__)
    const __m128i crs = _mm_set1_epi8('\r'), lfs = _mm_set1_epi8('\n');
    const __m128i spaces = _mm_set1_epi8(' '), tabs = _mm_set1_epi8('\t');
    auto mask = [](__m128i found) { return std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(found))}; };
    for (int i = 0; i < 4; ++i) {
      const __m128i part = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * i));
      cr |= mask(_mm_cmpeq_epi8(part, crs)) << (16 * i);
      lf |= mask(_mm_cmpeq_epi8(part, lfs)) << (16 * i);
      high |= mask(part) << (16 * i);
      blank |= mask(_mm_or_si128(_mm_cmpeq_epi8(part, spaces), _mm_cmpeq_epi8(part, tabs))) << (16 * i);
    }
#else
    for (int i = 0; i < 64; ++i) {
      const auto c = static_cast<unsigned char>(data[i]);
      const std::uint64_t bit = std::uint64_t{1} << i;
      if (c == '\r') cr |= bit;
      if (c == '\n') lf |= bit;
      if (c >= 0x80) high |= bit;
      if (c == ' ' || c == '\t') blank |= bit;
    }
#endif
    const std::uint64_t lfAfter = lf >> 1 | std::uint64_t{after == '\n'} << 63;
    return BlockMasks{cr | (lf & ~(cr << 1 | before.crLast)), high, ~(blank | cr | lf), cr & lfAfter, cr >> 63};
  }
  // The masks of the block at `block` in `bytes`; the last block may be shorter.
  static BlockMasks At(std::string_view bytes, std::size_t block, const BlockMasks& before) {
    if (block + 64 < bytes.size()) return Of(bytes.data() + block, before, bytes[block + 64]);
    return block < bytes.size() ? OfLast(bytes.substr(block), before) : BlockMasks{};
  }
  // The same for the last bytes of a file, 64 or fewer (the bits past them are clear).
  static BlockMasks OfLast(std::string_view bytes, const BlockMasks& before);
};

// Reads lines one at a time, from block masks made once per block.
class ByteLines {
 public:
  using Line = ByteLine;

  // The lines from `from` on.
  ByteLines(std::string_view bytes, std::size_t from) : bytes_(bytes), pos_(from), block_(from) { Load(); }

  bool Next(Line& line) {
    const std::size_t size = bytes_.size();
    if (pos_ >= size) return false;
    bool high = false;
    std::size_t end = size, text = size;  // text: where the first byte that is no blank is, if any
    std::uint64_t pairs = 0;              // 1 when the line ends with a CR LF
    for (;;) {
      const std::uint64_t bits = LineBits(pos_, block_, masks_.ends);
      high = high || (masks_.high & bits) != 0;
      if (const std::uint64_t other = masks_.text & bits; text == size && other != 0)
        text = block_ + static_cast<std::size_t>(std::countr_zero(other));
      if (masks_.ends != 0) {
        const int at = std::countr_zero(masks_.ends);
        end = block_ + static_cast<std::size_t>(at);
        pairs = masks_.crLf >> at & 1;
        masks_.ends &= masks_.ends - 1;
        break;
      }
      if (size - block_ <= 64) break;  // the last block, and no break in it
      block_ += 64;
      Load();
    }
    line = MakeLine(bytes_, pos_, end, pairs, high, text);
    pos_ = line.offset + line.text.size() + line.eol.size();
    return true;
  }
  // Where the next line starts.
  std::size_t position() const { return pos_; }

  // The bits of the block at `block` that belong to the line starting at `start`: from its start
  // (none when the start lies past the block: a CR LF split between two blocks ended the line
  // before) up to the first end in `ends`, or to the block's end.
  static std::uint64_t LineBits(std::size_t start, std::size_t block, std::uint64_t ends) {
    const std::size_t skip = start > block ? start - block : 0;
    const std::uint64_t from = skip >= 64 ? 0 : ~std::uint64_t{0} << skip;
    return ends != 0 ? from & (ends - 1) & ~ends : from;
  }
  // The line from `start` to `end` (where its break starts, a CR LF when `pair` is 1, or the end of
  // the bytes), `text` where its first byte that is no blank is (or past its end).
  static Line MakeLine(std::string_view bytes, std::size_t start, std::size_t end, std::uint64_t pair, bool high,
                       std::size_t text) {
    const std::size_t breakLength = end < bytes.size() ? 1 + pair : 0;
    return Line{std::string_view(bytes.data() + start, end - start), std::string_view(bytes.data() + end, breakLength),
                start, high, (text < end ? text : end) - start};
  }

 private:
  // The masks of the (up to) 64 bytes from block_ (inline: it runs once per 64 bytes of a file).
  void Load() { masks_ = BlockMasks::At(bytes_, block_, masks_); }

  std::string_view bytes_;
  std::size_t pos_;
  std::size_t block_;  // where the block of the masks starts
  BlockMasks masks_;   // its line ends not yet read
};

// Calls visit(line) for each line from `from` on, the lines ByteLines reads, keeping what it knows
// in registers instead of in a reader between calls: for reading every line of a whole file.
template <class Visit>
void ForEachByteLine(std::string_view bytes, std::size_t from, Visit&& visit) {
  const std::size_t size = bytes.size();
  BlockMasks masks;
  std::size_t start = from, text = size;  // the line's start, and its first byte that is no blank
  std::uint64_t high = 0;
  for (std::size_t block = from; block < size; block += 64) {
    masks = BlockMasks::At(bytes, block, masks);
    // The block's bits from the line's start on; a break's bytes are neither text nor high.
    std::uint64_t rest = ~std::uint64_t{0};
    for (std::uint64_t ends = masks.ends; ends != 0; ends &= ends - 1) {
      const std::uint64_t line = rest & (ends - 1) & ~ends;  // up to the first end
      high |= masks.high & line;
      if (const std::uint64_t other = masks.text & line; text == size && other != 0)
        text = block + static_cast<std::size_t>(std::countr_zero(other));
      const int at = std::countr_zero(ends);
      const std::uint64_t pair = masks.crLf >> at & 1;
      visit(ByteLines::MakeLine(bytes, start, block + static_cast<std::size_t>(at), pair, high != 0, text));
      start = block + static_cast<std::size_t>(at) + 1 + pair;
      rest = ~(ends ^ (ends - 1));  // after the end
      high = 0;
      text = size;
    }
    high |= masks.high & rest;
    if (const std::uint64_t other = masks.text & rest; text == size && other != 0)
      text = block + static_cast<std::size_t>(std::countr_zero(other));
  }
  if (start < size) visit(ByteLines::MakeLine(bytes, start, size, 0, high != 0, text));
}

// The number of LF bytes, looking at sixteen at a time: a text whose lines end with LF or CR LF
// has at most one line more.
std::size_t CountLineFeeds(std::string_view bytes);

}  // namespace files
