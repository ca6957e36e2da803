// A small Variant for designer property values and setting texts, with the VB conversions
// the add-ins rely on (CBool, CInt, CLng, CDbl, CStr).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>

#include "framework/vb_text.h"

namespace host {
class StdFont;
}

namespace vb {

struct Empty {
  bool operator==(const Empty&) const = default;
};

class Variant {
 public:
  using Value = std::variant<Empty, bool, std::int16_t, std::int32_t, double, Text, std::shared_ptr<host::StdFont>>;

  Variant() = default;
  Variant(bool v) : value_(v) {}
  Variant(std::int16_t v) : value_(v) {}
  Variant(std::int32_t v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(Text v) : value_(std::move(v)) {}
  Variant(const char16_t* v) : value_(Text(v)) {}
  Variant(std::shared_ptr<host::StdFont> v) : value_(std::move(v)) {}

  bool IsEmpty() const { return std::holds_alternative<Empty>(value_); }
  bool IsBool() const { return std::holds_alternative<bool>(value_); }
  bool IsText() const { return std::holds_alternative<Text>(value_); }
  bool IsNumber() const;  // Integer, Long or Double
  bool IsObject() const { return std::holds_alternative<std::shared_ptr<host::StdFont>>(value_); }
  const Value& value() const { return value_; }

  bool operator==(const Variant& other) const { return value_ == other.value_; }

 private:
  Value value_;
};

// Numeric reading of a text as VB's Val-free conversions do it: optional blanks, sign,
// digits with an optional '.' fraction and exponent (E or D), or "&H" hex ("&HFFFF" is -1, as the
// literal is). nullopt when the text is no number; no thousands separators.
std::optional<double> ParseNumber(TextView s);

// VB's rounding for CInt/CLng: to the nearest whole number, a half to the even neighbour.
double RoundHalfEven(double value);

// CBool: True/False in any letter case, or a number (0 False, else True); else error 13.
bool CBool(const Variant& v);
bool CBool(TextView s);
// CInt: banker's rounding to 16 bits; error 6 "Overflow" out of range, 13 for no number.
std::int16_t CInt(const Variant& v);
std::int16_t CInt(TextView s);
// CLng: the same to 32 bits.
std::int32_t CLng(const Variant& v);
std::int32_t CLng(TextView s);
double CDbl(const Variant& v);
double CDbl(TextView s);
// CStr: booleans as "True"/"False", numbers as VB prints them (8.25, 10, -1).
Text CStr(const Variant& v);
Text CStr(double v);

// A Text or a literal converts as well to TextView as to Variant; these pick the text reading.
inline bool CBool(const Text& s) { return CBool(TextView(s)); }
inline bool CBool(const char16_t* s) { return CBool(TextView(s)); }
inline std::int16_t CInt(const Text& s) { return CInt(TextView(s)); }
inline std::int16_t CInt(const char16_t* s) { return CInt(TextView(s)); }
inline std::int32_t CLng(const Text& s) { return CLng(TextView(s)); }
inline std::int32_t CLng(const char16_t* s) { return CLng(TextView(s)); }
inline double CDbl(const Text& s) { return CDbl(TextView(s)); }
inline double CDbl(const char16_t* s) { return CDbl(TextView(s)); }

}  // namespace vb
