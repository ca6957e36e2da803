#include "hosts/files/byte_lines.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace files {

BlockMasks BlockMasks::OfLast(std::string_view bytes, const BlockMasks& before) {
  char last[64] = {};  // padded with zero bytes
  const std::size_t size = bytes.copy(last, 64);
  BlockMasks masks = Of(last, before, '\0');
  if (size < 64) masks.text &= (std::uint64_t{1} << size) - 1;
  return masks;
}

std::size_t CountLineFeeds(std::string_view bytes) {
  std::size_t count = 0, i = 0;
#if defined(__SSE2__)
  // Each byte of `found` counts the LFs of its column, for at most 255 steps at a time; the sum of
  // its bytes then goes to the count.
  const __m128i lf = _mm_set1_epi8('\n'), zero = _mm_setzero_si128();
  while (i + 16 <= bytes.size()) {
    __m128i found = zero;
    const std::size_t end = i + 16 * std::min<std::size_t>(255, (bytes.size() - i) / 16);
    for (; i < end; i += 16) {
      const __m128i part = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
      found = _mm_sub_epi8(found, _mm_cmpeq_epi8(part, lf));  // a match is -1
    }
    const __m128i sums = _mm_sad_epu8(found, zero);
    count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) + static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
  }
#endif
  for (; i < bytes.size(); ++i) count += bytes[i] == '\n';
  return count;
}

}  // namespace files
