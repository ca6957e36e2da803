// The keyed container of counted components.
#include <gtest/gtest.h>

#include "line_counter/cls_collection.h"

namespace {

using tallowick::clsCollection;
using vb::Text;

std::vector<Text> KeysOf(const clsCollection& coll) {
  std::vector<Text> keys;
  for (const auto& entry : coll.Keys()) keys.push_back(entry.item);
  return keys;
}

std::vector<Text> NamesOf(const clsCollection& coll) {
  std::vector<Text> names;
  for (const auto& record : coll) names.push_back(record->CompName);
  return names;
}

clsCollection ThreeRecords() {
  clsCollection coll;
  for (const char16_t* key : {u"Module1", u"Class1", u"Form1"}) coll.Add(key)->CompName = key;
  return coll;
}

TEST(ClsCollection, AddRefusesABlankKey) {
  for (const char16_t* key : {u"", u"  "}) {
    clsCollection coll;
    try {
      coll.Add(key);
      ADD_FAILURE() << "a blank key was accepted";
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.number, 10);
      EXPECT_EQ(e.description, u"You must specify a key for the object");
      EXPECT_EQ(e.source, u"Add");
    }
    EXPECT_EQ(coll.Count(), 0u);
    EXPECT_TRUE(coll.Keys().Empty());
  }
}

TEST(ClsCollection, AddGivesAFreshRecordThatTheCallerNames) {
  clsCollection coll;
  auto record = coll.Add(u"\tTabbed");  // only spaces make a key blank
  EXPECT_EQ(record->CompName, u"");
  EXPECT_EQ(record->Code, 0);
  EXPECT_EQ(record->Comment, 0);
  EXPECT_EQ(record->WhiteSpace, 0);
  EXPECT_EQ(coll.Item(1), record);
  EXPECT_EQ(coll.Item(u"\ttabbed"), record);
}

TEST(ClsCollection, ADuplicateKeyFailsAndChangesNothing) {
  clsCollection coll = ThreeRecords();
  EXPECT_THROW(coll.Add(u"CLASS1"), vb::Error);
  EXPECT_EQ(coll.Count(), 3u);
  EXPECT_EQ(KeysOf(coll), (std::vector<Text>{u"Module1", u"Class1", u"Form1"}));
  EXPECT_EQ(NamesOf(coll), (std::vector<Text>{u"Module1", u"Class1", u"Form1"}));
}

TEST(ClsCollection, RemovingTheSecondOfThreeShiftsTheThird) {
  clsCollection coll = ThreeRecords();
  auto removed = coll.Item(2);
  coll.Remove(2);
  EXPECT_EQ(coll.Count(), 2u);
  EXPECT_EQ(coll.Key(2), u"Form1");
  EXPECT_EQ(coll.Item(2)->CompName, u"Form1");
  EXPECT_EQ(coll.KeyFromObject(removed), u"");
  EXPECT_EQ(coll.Item(u"Class1"), nullptr);
  EXPECT_EQ(KeysOf(coll), (std::vector<Text>{u"Module1", u"Form1"}));

  coll.Remove(u"module1");  // by key, letter case ignored
  EXPECT_EQ(KeysOf(coll), std::vector<Text>{u"Form1"});
  EXPECT_EQ(NamesOf(coll), std::vector<Text>{u"Form1"});
}

TEST(ClsCollection, ReadsOfMissingEntriesAreEmpty) {
  clsCollection coll = ThreeRecords();
  EXPECT_EQ(coll.Item(u"Missing"), nullptr);
  EXPECT_EQ(coll.Item(0), nullptr);
  EXPECT_EQ(coll.Item(4), nullptr);
  EXPECT_EQ(coll.Key(0), u"");
  EXPECT_EQ(coll.Key(4), u"");
  EXPECT_EQ(coll.KeyFromObject(nullptr), u"");
}

TEST(ClsCollection, KeyFromObjectFindsTheSameObjectNotEqualContents) {
  clsCollection coll = ThreeRecords();
  auto lookalike = std::make_shared<tallowick::VBObject>(*coll.Item(3));
  EXPECT_EQ(coll.KeyFromObject(coll.Item(3)), u"Form1");
  EXPECT_EQ(coll.KeyFromObject(lookalike), u"");
}

TEST(ClsCollection, ClearEmptiesBothListsAndKeysCanBeUsedAgain) {
  clsCollection coll = ThreeRecords();
  coll.Clear();
  EXPECT_EQ(coll.Count(), 0u);
  EXPECT_TRUE(coll.Keys().Empty());
  EXPECT_TRUE(NamesOf(coll).empty());
  EXPECT_NO_THROW(coll.Add(u"Module1"));
  EXPECT_EQ(coll.Count(), 1u);
}

}  // namespace
