#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/vb_error.h"
#include "framework/vb_text.h"
#include "support/error_number.h"

namespace {

using vb::Text;

using testing_support::ErrorNumberOf;

TEST(VbText, TrimRemovesSpacesButKeepsTabsAndBreaks) {
  struct Case {
    Text input, trim, ltrim, rtrim;
  };
  const std::vector<Case> cases = {
      {u"  Alpha ", u"Alpha", u"Alpha ", u"  Alpha"},
      {u"\tAlpha\t", u"\tAlpha\t", u"\tAlpha\t", u"\tAlpha\t"},
      {u" \t x \t ", u"\t x \t", u"\t x \t ", u" \t x \t"},
      {u"   ", u"", u"", u""},
      {u"", u"", u"", u""},
      {u" a\r\n", u"a\r\n", u"a\r\n", u" a\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vb::Trim(c.input), c.trim) << vb::ToUtf8(c.input);
    EXPECT_EQ(vb::LTrim(c.input), c.ltrim) << vb::ToUtf8(c.input);
    EXPECT_EQ(vb::RTrim(c.input), c.rtrim) << vb::ToUtf8(c.input);
  }
}

TEST(VbText, LeftRightMidClipAsVbDoes) {
  EXPECT_EQ(vb::Left(u"txtName", 3), u"txt");
  EXPECT_EQ(vb::Left(u"txt", 10), u"txt");
  EXPECT_EQ(vb::Left(u"txt", 0), u"");
  EXPECT_EQ(vb::Right(u"txtName", 4), u"Name");
  EXPECT_EQ(vb::Right(u"txt", 10), u"txt");
  EXPECT_EQ(vb::Mid(u"txtName", 4), u"Name");
  EXPECT_EQ(vb::Mid(u"txtName", 8), u"");
  EXPECT_EQ(vb::Mid(u"txtName", 100), u"");
  EXPECT_EQ(vb::Mid(u"txtName", 2, 3), u"xtN");
  EXPECT_EQ(vb::Mid(u"txtName", 5, 100), u"ame");
  EXPECT_EQ(vb::Mid(u"txtName", 9, 2), u"");
  EXPECT_EQ(vb::Mid(u"txtName", 1, 0), u"");

  EXPECT_EQ(ErrorNumberOf([] { vb::Left(u"abc", -1); }), vb::err::kInvalidProcedureCall);
  EXPECT_EQ(ErrorNumberOf([] { vb::Right(u"abc", -1); }), vb::err::kInvalidProcedureCall);
  EXPECT_EQ(ErrorNumberOf([] { vb::Mid(u"abc", 0); }), vb::err::kInvalidProcedureCall);
  EXPECT_EQ(ErrorNumberOf([] { vb::Mid(u"abc", 1, -1); }), vb::err::kInvalidProcedureCall);
}

TEST(VbText, InStrIsCaseSensitiveAndHonoursStart) {
  struct Case {
    std::int64_t start;
    Text haystack, needle;
    std::int64_t expected;
  };
  const std::vector<Case> cases = {
      {1, u"Private Sub cmdOK_Click()", u"cmdOK", 13},
      {1, u"Private Sub cmdOK_Click()", u"CMDOK", 0},
      {1, u"abcabc", u"bc", 2},
      {3, u"abcabc", u"bc", 5},
      {6, u"abcabc", u"bc", 0},
      {7, u"abcabc", u"c", 0},
      {1, u"abc", u"", 1},
      {4, u"abc", u"", 4},
      {5, u"abc", u"", 0},
      {1, u"", u"a", 0},
      {1, u"ab", u"abc", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(vb::InStr(c.start, c.haystack, c.needle), c.expected)
        << c.start << " " << vb::ToUtf8(c.haystack) << " / " << vb::ToUtf8(c.needle);
  EXPECT_EQ(vb::InStr(u"x = y", u"="), 3);
  EXPECT_EQ(ErrorNumberOf([] { vb::InStr(0, u"abc", u"a"); }), vb::err::kInvalidProcedureCall);

  EXPECT_EQ(vb::InStrRev(u"a.b.c", u"."), 4);
  EXPECT_EQ(vb::InStrRev(u"a.b.c", u"x"), 0);
  EXPECT_EQ(vb::InStrRev(u"abab", u"AB"), 0);
  EXPECT_EQ(vb::InStrRev(u"", u"a"), 0);
}

TEST(VbText, ReplaceIsPlainCaseSensitiveAndNonOverlapping) {
  struct Case {
    Text expression, find, replacement, expected;
  };
  const std::vector<Case> cases = {
      {u"Text1_Change Text1.Text = Text10", u"Text1", u"txtName", u"txtName_Change txtName.Text = txtName0"},
      {u"text1 Text1", u"Text1", u"X", u"text1 X"},
      {u"aaaa", u"aa", u"a", u"aa"},
      {u"aaa", u"aa", u"b", u"ba"},
      {u"abc", u"", u"x", u"abc"},
      {u"", u"a", u"b", u""},
      {u"a-b-c", u"-", u"", u"abc"},
      {u"x", u"x", u"xx", u"xx"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(vb::Replace(c.expression, c.find, c.replacement), c.expected) << vb::ToUtf8(c.expression);
}

TEST(VbText, LetterCaseAndComparisonIgnoreCaseOverLatin1) {
  EXPECT_EQ(vb::UCase(u"txtName_Ändern ß ÿ"), u"TXTNAME_ÄNDERN ß Ÿ");
  EXPECT_EQ(vb::LCase(u"TXTNAME ÄÖÜ × Ÿ"), u"txtname äöü × ÿ");
  EXPECT_TRUE(vb::EqualsNoCase(u"Pellmoss", u"PELLMOSS"));
  EXPECT_TRUE(vb::EqualsNoCase(u"ÉTÉ", u"été"));
  EXPECT_FALSE(vb::EqualsNoCase(u"abc", u"abd"));
  EXPECT_FALSE(vb::EqualsNoCase(u"abc", u"abcd"));
  EXPECT_TRUE(vb::LessNoCase(u"alpha", u"Beta"));
  EXPECT_FALSE(vb::LessNoCase(u"Beta", u"alpha"));
  EXPECT_FALSE(vb::LessNoCase(u"ALPHA", u"alpha"));
  EXPECT_FALSE(vb::LessNoCase(u"alpha", u"ALPHA"));
  EXPECT_TRUE(vb::LessNoCase(u"alp", u"ALPHA"));
}

TEST(VbText, LikePrefixMatchesTheStartExactly) {
  EXPECT_TRUE(vb::LikePrefix(u"Text1_Change", u"Text1_"));
  EXPECT_FALSE(vb::LikePrefix(u"text1_Change", u"Text1_"));
  EXPECT_FALSE(vb::LikePrefix(u"Text10_Change", u"Text1_"));
  EXPECT_TRUE(vb::LikePrefix(u"Text1_", u"Text1_"));
  EXPECT_FALSE(vb::LikePrefix(u"Text1", u"Text1_"));
  EXPECT_TRUE(vb::EndsWith(u"Form1.frm", u".frm"));
  EXPECT_FALSE(vb::EndsWith(u"rm", u".frm"));
}

TEST(VbText, SplitAndSplitLinesFollowVbSplit) {
  using Lines = std::vector<Text>;
  EXPECT_EQ(vb::Split(u"a,b,,c", u","), (Lines{u"a", u"b", u"", u"c"}));
  EXPECT_EQ(vb::Split(u"a,", u","), (Lines{u"a", u""}));
  EXPECT_EQ(vb::Split(u"", u","), Lines{});
  EXPECT_EQ(vb::Split(u"abc", u""), Lines{u"abc"});
  EXPECT_EQ(vb::Split(u"a<@b@>c", u"<@"), (Lines{u"a", u"b@>c"}));
  EXPECT_EQ(vb::Join({u"a", u"", u"b"}, vb::kCrLf), u"a\r\n\r\nb");
  EXPECT_EQ(vb::Join({}, u","), u"");

  EXPECT_EQ(vb::SplitLines(u"a\r\nb"), (Lines{u"a", u"b"}));
  EXPECT_EQ(vb::SplitLines(u"a\r\n"), (Lines{u"a", u""}));
  EXPECT_EQ(vb::SplitLines(u""), Lines{});
  EXPECT_EQ(vb::SplitLines(u"a\nb\rc\r\n\r\nd"), (Lines{u"a", u"b", u"c", u"", u"d"}));
  EXPECT_EQ(vb::SplitLines(u"\r\n"), (Lines{u"", u""}));
  EXPECT_EQ(vb::SplitLines(u"a\n\rb"), (Lines{u"a", u"", u"b"}));

  // A module's code lines: the same, less the empty item after a break at the end.
  const std::pair<Text, Lines> codeLines[] = {
      {u"a\r\nb", {u"a", u"b"}}, {u"a\r\n", {u"a"}},   {u"", {}},         {u"\r\n", {u""}},
      {u"a\n\r", {u"a", u""}},   {u"a\r", {u"a"}},      {u"\r\n\r\n", {u"", u""}}};
  for (const auto& [text, expected] : codeLines) {
    Lines read;
    vb::LineViewReader reader(text);
    for (vb::TextView line; reader.Next(line);) read.emplace_back(line);
    EXPECT_EQ(read, expected) << vb::ToUtf8(text);
  }
}

TEST(VbText, IntegersToText) {
  EXPECT_EQ(vb::ToText(0), u"0");
  EXPECT_EQ(vb::ToText(-1), u"-1");
  EXPECT_EQ(vb::ToText(32767), u"32767");
  EXPECT_EQ(vb::ToText(INT64_MIN), u"-9223372036854775808");
}

TEST(VbText, Utf8RoundTripsIncludingCharactersOutsideTheBmp) {
  const Text text = u"Grüße \u20AC \U0001F600 end";
  const std::string utf8 = vb::ToUtf8(text);
  EXPECT_EQ(utf8, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80 end");
  EXPECT_EQ(vb::FromUtf8(utf8), text);
  EXPECT_EQ(text.size(), 14u);  // the emoji counts as two units, as in the IDE

  // Malformed input never throws and never swallows the good characters around it.
  EXPECT_EQ(vb::FromUtf8("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(vb::FromUtf8("a\xC3"), u"a\uFFFD");
  EXPECT_EQ(vb::FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");          // overlong '/'
  EXPECT_EQ(vb::FromUtf8("\xED\xA0\x80" "x"), u"\uFFFD\uFFFD\uFFFDx");  // encoded surrogate
  EXPECT_EQ(vb::FromUtf8("\xE2\x82" "x"), u"\uFFFDx");
  EXPECT_EQ(vb::ToUtf8(Text(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
}

TEST(VbText, Cp1252RoundTripsEveryByte) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  const Text text = vb::FromCp1252(bytes);
  ASSERT_EQ(text.size(), 256u);
  EXPECT_EQ(vb::ToCp1252(text), bytes);

  EXPECT_EQ(text[0x80], u'\u20AC');
  EXPECT_EQ(text[0x92], u'\u2019');
  EXPECT_EQ(text[0x9F], u'\u0178');
  EXPECT_EQ(text[0xE9], u'é');
  for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(text[undefined], char16_t(undefined));
}

TEST(VbText, Cp1252WritesQuestionMarksForOtherCharacters) {
  EXPECT_EQ(vb::ToCp1252(u"\u20AC1 \u0100 \u4E2D"), "\x80" "1 ? ?");
  EXPECT_EQ(vb::ToCp1252(u"a\U0001F600b"), "a?b");
  EXPECT_EQ(vb::ToCp1252(u"\u0080\u0082"), "??");  // C1 controls other than the five undefined bytes
}

}  // namespace
