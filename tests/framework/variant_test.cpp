#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "framework/host_model.h"
#include "framework/variant.h"
#include "framework/vb_error.h"

namespace {

using vb::Text;
using vb::Variant;

// The error a conversion raises: number and description, or {0, ""} when it raises nothing.
std::pair<int, Text> RaisedBy(const std::function<void()>& action) {
  try {
    action();
  } catch (const vb::Error& e) {
    return {e.number, e.description};
  }
  return {0, u""};
}

const std::pair<int, Text> kNoError{0, u""};
const std::pair<int, Text> kOverflow{6, u"Overflow"};
const std::pair<int, Text> kTypeMismatch{13, u"Type mismatch"};

TEST(Conversions, CBoolReadsTrueFalseInAnyCaseOrANumber) {
  struct Case {
    Text text;
    bool expected;
  };
  const std::vector<Case> cases = {
      {u"True", true}, {u"true", true},   {u"TRUE", true}, {u"False", false}, {u"FALSE", false},
      {u"fAlSe", false}, {u"0", false},   {u"-1", true},   {u"1", true},      {u"0.0", false},
      {u" 2.5 ", true},  {u" True ", true}, {u"-0", false},
  };
  for (const Case& c : cases) {
    bool result = false;
    EXPECT_EQ(RaisedBy([&] { result = vb::CBool(c.text); }), kNoError) << vb::ToUtf8(c.text);
    EXPECT_EQ(result, c.expected) << vb::ToUtf8(c.text);
    EXPECT_EQ(vb::CBool(Variant(c.text)), c.expected) << vb::ToUtf8(c.text);
  }
  for (const Text bad : {u"abc", u"", u"Yes", u"Tru", u"1 0", u"True1"})
    EXPECT_EQ(RaisedBy([&] { vb::CBool(bad); }), kTypeMismatch) << vb::ToUtf8(bad);

  EXPECT_FALSE(vb::CBool(Variant()));
  EXPECT_TRUE(vb::CBool(Variant(std::int16_t{-1})));
  EXPECT_FALSE(vb::CBool(Variant(0.0)));
  EXPECT_TRUE(vb::CBool(Variant(true)));
}

TEST(Conversions, CIntRoundsHalvesToEvenAndOverflowsOutside16Bits) {
  struct Case {
    Text text;
    std::int16_t expected;
    std::pair<int, Text> error;
  };
  const std::vector<Case> cases = {
      {u"8.25", 8, kNoError},         {u"10.5", 10, kNoError},        {u"11.5", 12, kNoError},
      {u"-2.5", -2, kNoError},        {u"-3.5", -4, kNoError},        {u"0.5", 0, kNoError},
      {u"1.5", 2, kNoError},          {u"10.51", 11, kNoError},       {u"  +42  ", 42, kNoError},
      {u"1E3", 1000, kNoError},       {u".5", 0, kNoError},           {u"7.", 7, kNoError},
      {u"32767", 32767, kNoError},    {u"32767.49", 32767, kNoError}, {u"32767.5", 0, kOverflow},
      {u"32768", 0, kOverflow},       {u"-32768", -32768, kNoError},  {u"-32768.5", -32768, kNoError},
      {u"-32768.51", 0, kOverflow},   {u"-32769", 0, kOverflow},      {u"1E400", 0, kOverflow},
      {u"&H1F", 31, kNoError},        {u"&HFFFF", -1, kNoError},      {u"&H7FFF", 32767, kNoError},
      {u"&H10000", 0, kOverflow},     {u"abc", 0, kTypeMismatch},     {u"", 0, kTypeMismatch},
      {u"   ", 0, kTypeMismatch},     {u"1,5", 0, kTypeMismatch},     {u"12abc", 0, kTypeMismatch},
      {u"-", 0, kTypeMismatch},       {u".", 0, kTypeMismatch},       {u"1E", 0, kTypeMismatch},
      {u"inf", 0, kTypeMismatch},     {u"nan", 0, kTypeMismatch},     {u"0x1F", 0, kTypeMismatch},
      {u"&H", 0, kTypeMismatch},      {u"&HG", 0, kTypeMismatch},
  };
  for (const Case& c : cases) {
    std::int16_t result = 0;
    EXPECT_EQ(RaisedBy([&] { result = vb::CInt(c.text); }), c.error) << vb::ToUtf8(c.text);
    if (c.error.first == 0) {
      EXPECT_EQ(result, c.expected) << vb::ToUtf8(c.text);
    }
  }
}

TEST(Conversions, CLngRoundsHalvesToEvenAndOverflowsOutside32Bits) {
  struct Case {
    Text text;
    std::int32_t expected;
    std::pair<int, Text> error;
  };
  const std::vector<Case> cases = {
      {u"8.25", 8, kNoError},
      {u"10.5", 10, kNoError},
      {u"11.5", 12, kNoError},
      {u"65535", 65535, kNoError},
      {u"2147483647", 2147483647, kNoError},
      {u"2147483647.5", 0, kOverflow},
      {u"2147483648", 0, kOverflow},
      {u"-2147483648.5", std::numeric_limits<std::int32_t>::min(), kNoError},
      {u"-2147483649", 0, kOverflow},
      {u"&HFFFF", -1, kNoError},
      {u"&H10000", 65536, kNoError},
      {u"&HFFFFFFFF", -1, kNoError},
      {u"x", 0, kTypeMismatch},
  };
  for (const Case& c : cases) {
    std::int32_t result = 0;
    EXPECT_EQ(RaisedBy([&] { result = vb::CLng(c.text); }), c.error) << vb::ToUtf8(c.text);
    if (c.error.first == 0) {
      EXPECT_EQ(result, c.expected) << vb::ToUtf8(c.text);
    }
  }
}

TEST(Conversions, VariantsConvertAsVbDoes) {
  // Booleans are -1 and 0, Empty is 0 / "" / False.
  EXPECT_EQ(vb::CInt(Variant(true)), -1);
  EXPECT_EQ(vb::CLng(Variant(false)), 0);
  EXPECT_EQ(vb::CInt(Variant()), 0);
  EXPECT_EQ(vb::CLng(Variant()), 0);
  EXPECT_EQ(vb::CStr(Variant()), u"");
  EXPECT_EQ(vb::CDbl(Variant()), 0.0);
  EXPECT_EQ(vb::CDbl(Variant(true)), -1.0);

  EXPECT_EQ(vb::CInt(Variant(10.5)), 10);
  EXPECT_EQ(vb::CInt(Variant(u"11.5")), 12);
  EXPECT_EQ(vb::CLng(Variant(std::int16_t{-7})), -7);
  EXPECT_EQ(vb::CInt(Variant(std::int32_t{32767})), 32767);
  EXPECT_EQ(RaisedBy([] { vb::CInt(Variant(std::int32_t{40000})); }), kOverflow);
  EXPECT_EQ(RaisedBy([] { vb::CLng(Variant(1e10)); }), kOverflow);
  EXPECT_EQ(RaisedBy([] { vb::CLng(Variant(u"ten")); }), kTypeMismatch);
  EXPECT_EQ(RaisedBy([] { vb::CDbl(u"1.2.3"); }), kTypeMismatch);
  EXPECT_EQ(vb::CDbl(u" -8.25 "), -8.25);
  EXPECT_EQ(vb::CDbl(u"1D2"), 100.0);

  // A font object has no number; as text it reads as its name (its default property).
  EXPECT_EQ(RaisedBy([] { vb::CInt(Variant(std::shared_ptr<host::StdFont>())); }), kTypeMismatch);
  EXPECT_EQ(RaisedBy([] { vb::CStr(Variant(std::shared_ptr<host::StdFont>())); }).first, vb::err::kObjectNotSet);

  EXPECT_TRUE(Variant(std::int16_t{1}).IsNumber());
  EXPECT_TRUE(Variant(2.0).IsNumber());
  EXPECT_FALSE(Variant(u"3").IsNumber());
  EXPECT_FALSE(Variant(true).IsNumber());
}

TEST(Conversions, CStrWritesNumbersAsVbPrintsThem) {
  struct Case {
    Variant value;
    Text expected;
  };
  const std::vector<Case> cases = {
      {Variant(true), u"True"},
      {Variant(false), u"False"},
      {Variant(8.25), u"8.25"},
      {Variant(10.0), u"10"},
      {Variant(-1.0), u"-1"},
      {Variant(-0.0), u"0"},
      {Variant(0.1 + 0.2), u"0.3"},
      {Variant(1.0 / 3.0), u"0.333333333333333"},
      {Variant(123456789012345.0), u"123456789012345"},
      {Variant(1e15), u"1E+15"},
      {Variant(0.0001), u"0.0001"},
      {Variant(0.00001), u"1E-05"},
      {Variant(-2.5e-7), u"-2.5E-07"},
      {Variant(std::int16_t{-32768}), u"-32768"},
      {Variant(std::int32_t{2147483647}), u"2147483647"},
      {Variant(u"as is "), u"as is "},
  };
  for (const Case& c : cases) EXPECT_EQ(vb::CStr(c.value), c.expected) << vb::ToUtf8(c.expected);
}

TEST(Conversions, RoundHalfEven) {
  const std::vector<std::pair<double, double>> cases = {
      {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-7.0, -7},
  };
  for (auto [in, out] : cases) EXPECT_EQ(vb::RoundHalfEven(in), out) << in;
}

}  // namespace

namespace {

TEST(Errors, RaiseStandardGivesVbDescriptions) {
  const std::vector<std::pair<int, vb::Text>> cases = {
      {5, u"Invalid procedure call or argument"},
      {6, u"Overflow"},
      {9, u"Subscript out of range"},
      {13, u"Type mismatch"},
      {91, u"Object variable or With block variable not set"},
      {380, u"Invalid property value"},
      {457, u"This key is already associated with an element of this collection"},
      {12345, u"Application-defined or object-defined error"},
  };
  for (const auto& [number, description] : cases) {
    try {
      vb::RaiseStandard(number, u"Ravlen");
      ADD_FAILURE() << number << " was not raised";
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.number, number);
      EXPECT_EQ(e.description, description);
      EXPECT_EQ(e.source, u"Ravlen");
      EXPECT_EQ(std::string(e.what()), vb::ToUtf8(description));
    }
  }
  EXPECT_THROW(vb::Raise(40198, u"read-only"), vb::Error);
}

}  // namespace
