// VB runtime string rules on 16-bit text. Every position, length and column is counted in
// UTF-16 units, as the IDE counts them. Positions are 1-based where VB's are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

using Text = std::u16string;
using TextView = std::u16string_view;

inline constexpr char16_t kCr = u'\r';
inline constexpr char16_t kLf = u'\n';
inline constexpr char16_t kTab = u'\t';
// An array, not a Text: a constant every file includes must not need running at start-up.
inline constexpr char16_t kCrLf[] = u"\r\n";

// Trim, LTrim, RTrim: remove spaces (character 32) only, never tabs.
Text Trim(TextView s);
Text LTrim(TextView s);
Text RTrim(TextView s);
// Trim without a copy: the part of `s` that Trim would return (inline: the line counter trims
// every line of a project).
inline TextView TrimView(TextView s) {
  std::size_t first = 0, end = s.size();
  while (first < end && s[first] == u' ') ++first;
  while (end > first && s[end - 1] == u' ') --end;
  return s.substr(first, end - first);
}

// Left$/Right$/Mid$: out-of-range lengths are clipped as VB clips them (a length past the end
// takes the rest, a start past the end gives ""); a negative length or a start below 1 raises
// error 5, as in VB.
Text Left(TextView s, std::int64_t length);
Text Right(TextView s, std::int64_t length);
Text Mid(TextView s, std::int64_t start);  // start is 1-based
Text Mid(TextView s, std::int64_t start, std::int64_t length);

// InStr(start, haystack, needle), case-sensitive. Returns the 1-based position or 0.
// An empty needle is found at `start` (when start <= Len + 1), as in VB; start < 1 raises error 5.
std::int64_t InStr(std::int64_t start, TextView haystack, TextView needle);
inline std::int64_t InStr(TextView haystack, TextView needle) { return InStr(1, haystack, needle); }
// InStrRev from the end, case-sensitive. Returns the 1-based position or 0.
std::int64_t InStrRev(TextView haystack, TextView needle);

// Replace(expression, find, replacement), case-sensitive, left to right, non-overlapping.
Text Replace(TextView expression, TextView find, TextView replacement);

// Letter case for the Latin-1 range (what VB6 code in western locales meets).
Text LCase(TextView s);
Text UCase(TextView s);

// Case-insensitive comparison (vbTextCompare, registry names, collection keys).
bool EqualsNoCase(TextView a, TextView b);
bool LessNoCase(TextView a, TextView b);  // for sorted list boxes
// A hash that texts equal under EqualsNoCase share (for keyed lookups without copying keys).
std::size_t HashNoCase(TextView s);

// `name Like prefix & "*"`: true when `name` starts with `prefix` exactly (case-sensitive).
// The prefix holds no pattern characters (control names cannot).
bool LikePrefix(TextView name, TextView prefix);

bool StartsWith(TextView s, TextView prefix);
bool EndsWith(TextView s, TextView suffix);

// Split(expression, delimiter) as VB does it: an empty expression gives no items.
std::vector<Text> Split(TextView expression, TextView delimiter);
Text Join(const std::vector<Text>& items, TextView delimiter);

// Lines of a code text joined by CR LF; also accepts lone LF or CR as a break. Follows Split:
// "a\r\nb" gives {"a", "b"}, a text ending in a break gives a last empty item ("a\r\n" gives
// {"a", ""}), and "" gives no items.
std::vector<Text> SplitLines(TextView text);
// The same lines as views into `text`, for a caller that only reads them.
std::vector<TextView> SplitLineViews(TextView text);

// The lines of a text one at a time, as views into it, split as SplitLines does except that a break
// at the end ends the last line: no empty line follows it (a module's code lines). Builds no list.
class LineViewReader {
 public:
  explicit LineViewReader(TextView text) : text_(text) {}
  bool Next(TextView& line);

 private:
  TextView text_;
  std::size_t at_ = 0;
};

// Str$/CStr of integers.
Text ToText(std::int64_t value);

// Conversions at the edges of the system. Malformed UTF-8 and lone surrogates become U+FFFD.
// Windows-1252 bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D (undefined in the code page) read as U+0081 etc.
// and write back as the same bytes, so any byte string survives FromCp1252 then ToCp1252.
std::string ToUtf8(TextView s);
Text FromUtf8(std::string_view s);
// The offset of the first byte FromUtf8 would replace with U+FFFD, npos when `s` is all UTF-8.
std::size_t FirstInvalidUtf8(std::string_view s);
std::string ToCp1252(TextView s);   // characters outside the code page become '?'
Text FromCp1252(std::string_view s);
char16_t FromCp1252(unsigned char byte);

}  // namespace vb
