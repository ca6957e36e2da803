// The whole-name rule that renames a control in its form's code.
#include <gtest/gtest.h>

#include "control_editor/rename_text.h"

namespace {

using ravlen::ContainsWholeName;
using ravlen::ReplaceWholeName;
using vb::Text;

TEST(RenameText, WholeNamesOnlyFollowTheNewName) {
  struct Case {
    const char16_t* text;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"Private Sub Text1_Change()", u"Private Sub txtName_Change()"},
      {u"    Text1.Text = \"\"", u"    txtName.Text = \"\""},
      {u"    Text10.Text = Text1.Text", u"    Text10.Text = txtName.Text"},
      {u"    MyText1 = 3", u"    MyText1 = 3"},
      {u"    x = _Text1", u"    x = _Text1"},
      {u"' Text1 holds the name", u"' txtName holds the name"},
      {u"    s = \"Text1\"", u"    s = \"txtName\""},
      {u"Text1", u"txtName"},
      {u"Text1Text1 Text1,Text1", u"Text1Text1 txtName,txtName"},
      {u"text1.Text", u"text1.Text"},
      {u"Text1\u00e9", u"Text1\u00e9"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReplaceWholeName(c.text, u"Text1", u"txtName"), Text(c.expected)) << vb::ToUtf8(c.text);
    EXPECT_EQ(ContainsWholeName(c.text, u"Text1"), Text(c.text) != Text(c.expected)) << vb::ToUtf8(c.text);
  }
  EXPECT_FALSE(ContainsWholeName(u"anything", u""));
  EXPECT_EQ(ReplaceWholeName(u"abc", u"", u"x"), Text(u"abc"));
}

}  // namespace
