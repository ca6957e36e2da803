// VB's conversion functions over the small Variant: CBool, CInt, CLng, CDbl, CStr.
#include "framework/variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "framework/host_model.h"
#include "framework/vb_error.h"

namespace vb {

namespace {

[[noreturn]] void TypeMismatch() { RaiseStandard(err::kTypeMismatch); }
[[noreturn]] void Overflow() { RaiseStandard(err::kOverflow); }

bool IsBlank(char16_t c) { return c == u' ' || c == kTab; }

TextView StripBlanks(TextView s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// "&H1F": up to four significant digits read as a 16-bit Integer and up to eight as a 32-bit
// Long, as VB reads hex literals (so "&HFFFF" is -1).
std::optional<double> ParseHex(TextView digits) {
  if (digits.empty()) return std::nullopt;
  while (digits.size() > 1 && digits.front() == u'0') digits.remove_prefix(1);
  double value = 0;
  for (char16_t c : digits) {
    int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + d;
  }
  if (digits.size() <= 4 && value > 32767) return value - 65536;
  if (digits.size() > 4 && digits.size() <= 8 && value > 2147483647.0) return value - 4294967296.0;
  return value;
}

template <class Int>
Int RoundToInt(double value) {
  if (!std::isfinite(value)) Overflow();
  double rounded = RoundHalfEven(value);
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max()))
    Overflow();
  return static_cast<Int>(rounded);
}

double NumberOf(TextView s) {
  std::optional<double> n = ParseNumber(s);
  if (!n) TypeMismatch();
  return *n;
}

// The number a Variant holds, for the numeric conversions: Empty is 0, True is -1.
double NumericValue(const Variant& v) {
  struct Visitor {
    double operator()(const Empty&) const { return 0; }
    double operator()(bool b) const { return b ? -1 : 0; }
    double operator()(std::int16_t i) const { return i; }
    double operator()(std::int32_t i) const { return i; }
    double operator()(double d) const { return d; }
    double operator()(const Text& t) const { return NumberOf(t); }
    double operator()(const std::shared_ptr<host::StdFont>&) const { TypeMismatch(); }
  };
  return std::visit(Visitor{}, v.value());
}

}  // namespace

bool Variant::IsNumber() const {
  return std::holds_alternative<std::int16_t>(value_) || std::holds_alternative<std::int32_t>(value_) ||
         std::holds_alternative<double>(value_);
}

std::optional<double> ParseNumber(TextView s) {
  s = StripBlanks(s);
  if (s.size() > 2 && s[0] == u'&' && (s[1] == u'H' || s[1] == u'h')) return ParseHex(s.substr(2));

  // Check the shape by hand (from_chars would accept "inf", "nan" and hex floats) and hand an
  // ASCII copy to from_chars, which ignores the C locale's decimal point.
  std::string ascii;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
    if (s[i] == u'-') ascii += '-';
    ++i;
  }
  std::size_t mantissaDigits = 0;
  while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
    ascii += static_cast<char>(s[i++]);
    ++mantissaDigits;
  }
  if (i < s.size() && s[i] == u'.') {
    ascii += '.';
    ++i;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
      ascii += static_cast<char>(s[i++]);
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  // VB reads "1E3" and "1D3" alike.
  if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
    ascii += 'e';
    ++i;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ascii += static_cast<char>(s[i++]);
    std::size_t exponentDigits = 0;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
      ascii += static_cast<char>(s[i++]);
      ++exponentDigits;
    }
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;

  double value = 0;
  auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (end != ascii.data() + ascii.size()) return std::nullopt;
  if (ec == std::errc::result_out_of_range) {
    // Too large for a double: an overflow in VB, so hand back infinity for the callers to reject;
    // too small: zero.
    bool huge = ascii.find("e-") == std::string::npos;
    if (!huge) return 0.0;
    return ascii[0] == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
  }
  if (ec != std::errc()) return std::nullopt;
  return value;
}

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  double floor = std::floor(value);
  double fraction = value - floor;
  if (fraction < 0.5) return floor;
  if (fraction > 0.5) return floor + 1;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

bool CBool(const Variant& v) {
  if (const Text* t = std::get_if<Text>(&v.value())) return CBool(TextView(*t));
  if (const bool* b = std::get_if<bool>(&v.value())) return *b;
  return NumericValue(v) != 0;
}

bool CBool(TextView s) {
  TextView word = StripBlanks(s);
  if (EqualsNoCase(word, u"True")) return true;
  if (EqualsNoCase(word, u"False")) return false;
  return NumberOf(s) != 0;
}

std::int16_t CInt(const Variant& v) { return RoundToInt<std::int16_t>(NumericValue(v)); }
std::int16_t CInt(TextView s) { return RoundToInt<std::int16_t>(NumberOf(s)); }

std::int32_t CLng(const Variant& v) { return RoundToInt<std::int32_t>(NumericValue(v)); }
std::int32_t CLng(TextView s) { return RoundToInt<std::int32_t>(NumberOf(s)); }

double CDbl(const Variant& v) {
  double d = NumericValue(v);
  if (!std::isfinite(d)) Overflow();
  return d;
}

double CDbl(TextView s) {
  double d = NumberOf(s);
  if (!std::isfinite(d)) Overflow();
  return d;
}

Text CStr(const Variant& v) {
  struct Visitor {
    Text operator()(const Empty&) const { return Text(); }
    Text operator()(bool b) const { return b ? u"True" : u"False"; }
    Text operator()(std::int16_t i) const { return ToText(i); }
    Text operator()(std::int32_t i) const { return ToText(i); }
    Text operator()(double d) const { return CStr(d); }
    Text operator()(const Text& t) const { return t; }
    // A font reads as its default property, Name; Nothing cannot be read at all.
    Text operator()(const std::shared_ptr<host::StdFont>& font) const {
      if (!font) RaiseStandard(err::kObjectNotSet);
      return font->Name();
    }
  };
  return std::visit(Visitor{}, v.value());
}

Text CStr(double v) {
  if (v == 0) return u"0";  // also -0
  if (std::isnan(v)) return u"NaN";
  if (std::isinf(v)) return v < 0 ? u"-Infinity" : u"Infinity";
  // VB prints a Double with up to 15 significant digits, no trailing zeros, and switches to
  // "1E+15" / "1E-05" notation exactly where C's %G does.
  char buffer[40];
  int n = std::snprintf(buffer, sizeof buffer, "%.15G", v);
  Text out;
  for (int i = 0; i < n; ++i) out += static_cast<char16_t>(buffer[i] == ',' ? '.' : buffer[i]);
  return out;
}

}  // namespace vb
