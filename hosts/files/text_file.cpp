// Lines with their own line ends, code pages and case-tolerant project paths.
#include "hosts/files/text_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <stdexcept>

#include "hosts/files/byte_lines.h"
#include "hosts/memory/line_store.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fs = std::filesystem;

namespace files {
namespace {

#if defined(__SSE2__)
// A bit for each of the 16 bytes at `at` that is from 0x80 to 0x9F (no Latin-1 character).
unsigned ControlBytes(const char* at) {
  const __m128i part = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i top3 = _mm_and_si128(part, _mm_set1_epi8(static_cast<char>(0xE0)));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(top3, _mm_set1_epi8(static_cast<char>(0x80)))));
}
#endif

}  // namespace

bool IsSupportedCodePage(int codePage) { return codePage == 1252 || codePage == 28591 || codePage == 65001; }

Text Decode(std::string_view bytes, int codePage) {
  Text text;
  DecodeInto(text, bytes, codePage);
  return text;
}

void DecodeInto(Text& text, std::string_view bytes, int codePage) {
  switch (codePage) {
    case 65001:
      text += vb::FromUtf8(bytes);
      return;
    case 28591:
      for (unsigned char c : bytes) text += static_cast<char16_t>(c);
      return;
    default: {
      const std::size_t at = text.size();
      text.resize(at + bytes.size());
      DecodeCp1252(bytes, text.data() + at);
    }
  }
}

void DecodeCp1252(std::string_view bytes, char16_t* out) {
  // Every byte but those from 0x80 to 0x9F is its own character: the bytes are widened at once and
  // those few are then looked up in a table made once.
  static const std::array<char16_t, 32> kLetters = [] {
    std::array<char16_t, 32> letters{};
    for (int b = 0; b < 32; ++b)
      letters[static_cast<std::size_t>(b)] = vb::FromCp1252(static_cast<unsigned char>(0x80 + b));
    return letters;
  }();
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  memhost::WidenBytes(in, bytes.size(), out);
  std::size_t i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= bytes.size(); i += 16)
    for (unsigned found = ControlBytes(bytes.data() + i); found != 0; found &= found - 1) {
      const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(found));
      out[at] = kLetters[in[at] - 0x80];
    }
#endif
  for (; i < bytes.size(); ++i)
    if ((in[i] & 0xE0) == 0x80) out[i] = kLetters[in[i] - 0x80];
}

bool DecodesByteForByte(std::string_view bytes, int codePage) {
  if (codePage == 28591) return true;
  // Bytes above 0x7F are rare in code, and a line with one is short: sixteen bytes at a time, the
  // last step overlapping the one before, rather than a loop that pays its set-up for a few bytes.
  bool high = false, control = false;  // control: a byte from 0x80 to 0x9F, no Latin-1 character in 1252
  std::size_t i = 0;
#if defined(__SSE2__)
  if (bytes.size() >= 16) {
    unsigned highBits = 0, controlBits = 0;
    auto step = [&](std::size_t at) {
      const __m128i part = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at));
      highBits |= static_cast<unsigned>(_mm_movemask_epi8(part));
      controlBits |= ControlBytes(bytes.data() + at);
    };
    for (; i + 16 < bytes.size(); i += 16) step(i);
    step(bytes.size() - 16);
    high = highBits != 0;
    control = controlBits != 0;
    i = bytes.size();
  }
#endif
  for (; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    high = high || b >= 0x80;
    control = control || (b & 0xE0) == 0x80;
  }
  if (!high) return true;
  return codePage != 65001 && !control;
}

std::string Encode(TextView text, int codePage) {
  switch (codePage) {
    case 65001:
      return vb::ToUtf8(text);
    case 28591: {
      std::string bytes;
      bytes.reserve(text.size());
      for (char16_t c : text) bytes += c <= 0xFF ? static_cast<char>(c) : '?';
      return bytes;
    }
    default:
      return vb::ToCp1252(text);
  }
}

bool Encodable(TextView text, int codePage) { return Decode(Encode(text, codePage), codePage) == text; }

bool EncodeInto(std::string& bytes, TextView text, int codePage) {
  switch (codePage) {
    case 65001: {
      std::string utf8 = Encode(text, codePage);
      if (Decode(utf8, codePage) != text) return false;  // a lone surrogate
      bytes += utf8;
      return true;
    }
    case 28591:
      for (char16_t c : text) {
        if (c > 0xFF) return false;
        bytes += static_cast<char>(c);
      }
      return true;
    default:
      for (char16_t c : text) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
          bytes += static_cast<char>(c);
          continue;
        }
        const std::string mapped = vb::ToCp1252(TextView(&c, 1));  // the letters of 0x80-0x9F, or "?"
        if (mapped == "?") return false;
        bytes += mapped;
      }
      return true;
  }
}

IndexedLines::IndexedLines(std::string_view bytes) : bytes_(bytes) {
  if (bytes.size() > UINT32_MAX) throw std::length_error("a file of 4 GiB or more cannot be compared by lines");
  for (std::size_t pos = 0; pos < bytes.size();) {
    starts_.push_back(static_cast<std::uint32_t>(pos));
    const std::size_t lf = bytes.find('\n', pos);
    pos = lf == std::string_view::npos ? bytes.size() : lf + 1;
  }
  starts_.push_back(static_cast<std::uint32_t>(bytes.size()));
}

std::string ByteOrderMarkFault(std::string_view bytes, int codePage) {
  if (codePage == 65001 || bytes.substr(0, 3) != "\xEF\xBB\xBF") return {};
  return "it starts with a UTF-8 byte-order mark, which VB6 does not read (save it in code page " +
         std::to_string(codePage) + ")";
}

TextFile SplitFile(std::string_view bytes, int codePage) {
  TextFile file;
  if (codePage == 65001 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    file.bom = std::string(bytes.substr(0, 3));
    bytes.remove_prefix(3);
  }
  ByteLines reader(bytes, 0);
  for (ByteLines::Line read; reader.Next(read);) {
    Line line{Decode(read.text, codePage), std::string(read.eol)};
    if (file.newline.empty() && !line.eol.empty()) file.newline = line.eol;
    file.lines.push_back(std::move(line));
  }
  if (file.newline.empty()) file.newline = "\r\n";
  return file;
}

std::string JoinFile(const TextFile& file, int codePage) {
  std::string bytes = file.bom;
  for (const Line& line : file.lines) {
    bytes += Encode(line.text, codePage);
    bytes += line.eol;
  }
  return bytes;
}

fs::path ResolveProjectPath(const fs::path& base, TextView written, bool* link) {
  std::string path = vb::ToUtf8(written);
  for (char& c : path)
    if (c == '\\') c = '/';
  fs::path relative(path);
  fs::path direct = relative.is_absolute() ? relative : base / relative;
  std::error_code ec;
  if (link) *link = true;
  // Looked at without following a link: a file that is none (nearly every module) then needs no
  // second look to tell.
  if (const fs::file_status status = fs::symlink_status(direct, ec); fs::exists(status) && !fs::is_symlink(status)) {
    if (link) *link = false;
    return direct;
  }
  if (fs::exists(direct, ec) || relative.is_absolute()) return direct;
  // Walk the parts, taking at each step the entry whose name matches without regard to case.
  fs::path found = base;
  for (const fs::path& part : relative) {
    const std::string name = part.string();
    if (name == "." || name == ".." || fs::exists(found / part, ec)) {
      found /= part;
      continue;
    }
    bool matched = false;
    // A project given without a folder ("count case.vbp") has its modules in the current one.
    for (const auto& entry : fs::directory_iterator(found.empty() ? fs::path(".") : found, ec)) {
      if (vb::EqualsNoCase(vb::FromUtf8(entry.path().filename().string()), vb::FromUtf8(name))) {
        found /= entry.path().filename();
        matched = true;
        break;
      }
    }
    if (!matched) return direct;
  }
  return found;
}

}  // namespace files
