// VB runtime string rules on UTF-16 text, and the conversions to the byte encodings met at the
// edges (UTF-8 for the console and the settings database, Windows-1252 for VB6 project files).
#include "framework/vb_text.h"

#include <algorithm>
#include <array>
#include <optional>

#include "framework/vb_error.h"

namespace vb {

namespace {

[[noreturn]] void InvalidArgument() { RaiseStandard(err::kInvalidProcedureCall); }

std::size_t ClipLength(std::int64_t length, std::size_t available) {
  if (length < 0) InvalidArgument();
  return static_cast<std::uint64_t>(length) < available ? static_cast<std::size_t>(length) : available;
}

// Letter case over Latin-1 plus the letters that Windows-1252 adds in 0x80-0x9F.
char16_t UpperChar(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c < 0xE0) return c;
  if (c <= 0xFE) return c == 0xF7 ? c : static_cast<char16_t>(c - 32);
  switch (c) {
    case 0xFF: return 0x178;
    case 0x161: return 0x160;
    case 0x153: return 0x152;
    case 0x17E: return 0x17D;
    default: return c;
  }
}

char16_t LowerChar(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE) return c == 0xD7 ? c : static_cast<char16_t>(c + 32);
  switch (c) {
    case 0x178: return 0xFF;
    case 0x160: return 0x161;
    case 0x152: return 0x153;
    case 0x17D: return 0x17E;
    default: return c;
  }
}

// Windows-1252 bytes 0x80-0x9F. The five bytes the code page leaves undefined map to the C1
// control of the same number, as Windows does, so that any byte survives a round trip.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(Text& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

}  // namespace

Text Trim(TextView s) { return Text(TrimView(s)); }

Text LTrim(TextView s) {
  std::size_t first = s.find_first_not_of(u' ');
  return first == TextView::npos ? Text() : Text(s.substr(first));
}

Text RTrim(TextView s) {
  std::size_t last = s.find_last_not_of(u' ');
  return last == TextView::npos ? Text() : Text(s.substr(0, last + 1));
}

Text Left(TextView s, std::int64_t length) { return Text(s.substr(0, ClipLength(length, s.size()))); }

Text Right(TextView s, std::int64_t length) {
  std::size_t n = ClipLength(length, s.size());
  return Text(s.substr(s.size() - n));
}

Text Mid(TextView s, std::int64_t start) {
  if (start < 1) InvalidArgument();
  if (static_cast<std::uint64_t>(start) > s.size()) return Text();
  return Text(s.substr(static_cast<std::size_t>(start - 1)));
}

Text Mid(TextView s, std::int64_t start, std::int64_t length) {
  if (start < 1 || length < 0) InvalidArgument();
  if (static_cast<std::uint64_t>(start) > s.size()) return Text();
  TextView rest = s.substr(static_cast<std::size_t>(start - 1));
  return Text(rest.substr(0, ClipLength(length, rest.size())));
}

std::int64_t InStr(std::int64_t start, TextView haystack, TextView needle) {
  if (start < 1) InvalidArgument();
  if (static_cast<std::uint64_t>(start) > haystack.size() + 1) return 0;
  std::size_t found = haystack.find(needle, static_cast<std::size_t>(start - 1));
  return found == TextView::npos ? 0 : static_cast<std::int64_t>(found) + 1;
}

std::int64_t InStrRev(TextView haystack, TextView needle) {
  if (haystack.empty()) return 0;
  if (needle.empty()) return static_cast<std::int64_t>(haystack.size());
  std::size_t found = haystack.rfind(needle);
  return found == TextView::npos ? 0 : static_cast<std::int64_t>(found) + 1;
}

Text Replace(TextView expression, TextView find, TextView replacement) {
  if (find.empty()) return Text(expression);
  Text out;
  out.reserve(expression.size());
  std::size_t from = 0;
  for (std::size_t at = expression.find(find); at != TextView::npos; at = expression.find(find, from)) {
    out.append(expression.substr(from, at - from));
    out.append(replacement);
    from = at + find.size();
  }
  out.append(expression.substr(from));
  return out;
}

Text LCase(TextView s) {
  Text out(s);
  for (char16_t& c : out) c = LowerChar(c);
  return out;
}

Text UCase(TextView s) {
  Text out(s);
  for (char16_t& c : out) c = UpperChar(c);
  return out;
}

bool EqualsNoCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

std::size_t HashNoCase(TextView s) {
  // 64-bit FNV-1a, folded to the size of size_t (32 bits in the IDE's add-ins).
  std::uint64_t hash = 14695981039346656037ull;
  for (char16_t c : s) hash = (hash ^ UpperChar(c)) * 1099511628211ull;
  return static_cast<std::size_t>(hash ^ (hash >> 32));
}

bool LessNoCase(TextView a, TextView b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    char16_t x = UpperChar(a[i]);
    char16_t y = UpperChar(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

bool LikePrefix(TextView name, TextView prefix) { return StartsWith(name, prefix); }

bool StartsWith(TextView s, TextView prefix) { return s.substr(0, prefix.size()) == prefix; }

bool EndsWith(TextView s, TextView suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::vector<Text> Split(TextView expression, TextView delimiter) {
  std::vector<Text> items;
  if (expression.empty()) return items;
  if (delimiter.empty()) {
    items.emplace_back(expression);
    return items;
  }
  std::size_t from = 0;
  for (std::size_t at = expression.find(delimiter); at != TextView::npos; at = expression.find(delimiter, from)) {
    items.emplace_back(expression.substr(from, at - from));
    from = at + delimiter.size();
  }
  items.emplace_back(expression.substr(from));
  return items;
}

Text Join(const std::vector<Text>& items, TextView delimiter) {
  Text out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out.append(delimiter);
    out.append(items[i]);
  }
  return out;
}

bool LineViewReader::Next(TextView& line) {
  if (at_ == text_.size()) return false;
  std::size_t end = at_;
  while (end < text_.size() && text_[end] != kCr && text_[end] != kLf) ++end;
  line = text_.substr(at_, end - at_);
  if (end < text_.size() && text_[end] == kCr && end + 1 < text_.size() && text_[end + 1] == kLf) ++end;
  at_ = std::min(end + 1, text_.size());
  return true;
}

std::vector<TextView> SplitLineViews(TextView text) {
  std::vector<TextView> lines;
  LineViewReader reader(text);
  for (TextView line; reader.Next(line);) lines.push_back(line);
  // As Split does, a break at the end is followed by an empty item.
  if (!text.empty() && (text.back() == kCr || text.back() == kLf)) lines.emplace_back();
  return lines;
}

std::vector<Text> SplitLines(TextView text) {
  const std::vector<TextView> lines = SplitLineViews(text);
  return std::vector<Text>(lines.begin(), lines.end());
}

Text ToText(std::int64_t value) {
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  Text digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) digits.insert(digits.begin(), u'-');
  return digits;
}

std::string ToUtf8(TextView s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (IsHighSurrogate(c) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) {
      char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (static_cast<char32_t>(s[i + 1]) - 0xDC00);
      AppendUtf8(out, cp);
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      AppendUtf8(out, kReplacement);  // a lone surrogate has no UTF-8 form
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

namespace {

// Reads the UTF-8 sequence at `i`: the bytes it takes and its code point, or no code point for a
// broken sequence (which then takes the bytes read so far). The second byte's range rules out
// overlong forms, encoded surrogates and code points above U+10FFFF.
std::size_t Utf8SequenceAt(std::string_view s, std::size_t i, std::optional<char32_t>& codePoint) {
  auto byte = static_cast<unsigned char>(s[i]);
  codePoint = byte;
  if (byte < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  char32_t cp = 0;
  if (byte >= 0xC2 && byte <= 0xDF) {
    length = 2;
    cp = byte & 0x1F;
  } else if (byte >= 0xE0 && byte <= 0xEF) {
    length = 3;
    cp = byte & 0x0F;
    if (byte == 0xE0) low = 0xA0;
    if (byte == 0xED) high = 0x9F;
  } else if (byte >= 0xF0 && byte <= 0xF4) {
    length = 4;
    cp = byte & 0x07;
    if (byte == 0xF0) low = 0x90;
    if (byte == 0xF4) high = 0x8F;
  }
  codePoint.reset();
  if (length == 0) return 1;
  std::size_t taken = 1;
  for (; taken < length; ++taken) {
    if (i + taken >= s.size()) return taken;
    auto next = static_cast<unsigned char>(s[i + taken]);
    if (next < (taken == 1 ? low : 0x80) || next > (taken == 1 ? high : 0xBF)) return taken;
    cp = (cp << 6) | (next & 0x3F);
  }
  codePoint = cp;
  return taken;
}

}  // namespace

Text FromUtf8(std::string_view s) {
  Text out;
  out.reserve(s.size());
  std::optional<char32_t> cp;
  for (std::size_t i = 0; i < s.size();) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      out += static_cast<char16_t>(s[i++]);
      continue;
    }
    i += Utf8SequenceAt(s, i, cp);
    AppendUtf16(out, cp.value_or(kReplacement));
  }
  return out;
}

std::size_t FirstInvalidUtf8(std::string_view s) {
  std::optional<char32_t> cp;
  for (std::size_t i = 0; i < s.size();) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t taken = Utf8SequenceAt(s, i, cp);
    if (!cp) return i;
    i += taken;
  }
  return std::string_view::npos;
}

std::string ToCp1252(TextView s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    char mapped = '?';
    for (std::size_t k = 0; k < kCp1252High.size(); ++k) {
      if (kCp1252High[k] == c) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    }
    // A character outside the BMP is one character: one '?', not two.
    if (mapped == '?' && IsHighSurrogate(c) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) ++i;
    out += mapped;
  }
  return out;
}

char16_t FromCp1252(unsigned char byte) {
  return (byte >= 0x80 && byte <= 0x9F) ? kCp1252High[byte - 0x80] : static_cast<char16_t>(byte);
}

Text FromCp1252(std::string_view s) {
  Text out(s.size(), u'\0');
  for (std::size_t i = 0; i < s.size(); ++i) out[i] = FromCp1252(static_cast<unsigned char>(s[i]));
  return out;
}

}  // namespace vb
