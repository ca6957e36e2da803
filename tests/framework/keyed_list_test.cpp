#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/keyed_list.h"
#include "support/error_number.h"

namespace {

using vb::KeyedList;
using vb::Text;

using testing_support::ErrorNumberOf;

std::vector<int> Items(const KeyedList<int>& list) {
  std::vector<int> items;
  for (const auto& entry : list) items.push_back(entry.item);
  return items;
}

KeyedList<int> ThreePieces() {
  KeyedList<int> list;
  list.Add(1, u"Alpha");
  list.Add(2);  // no key
  list.Add(3, u"Gamma");
  return list;
}

TEST(KeyedList, KeepsInsertionOrderAndOneBasedPositions) {
  KeyedList<int> list = ThreePieces();
  EXPECT_EQ(list.Count(), 3u);
  EXPECT_EQ(Items(list), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(list.Item(1), 1);
  EXPECT_EQ(list.Item(3), 3);
  EXPECT_EQ(list.KeyAt(1), std::optional<Text>(u"Alpha"));
  EXPECT_EQ(list.KeyAt(2), std::nullopt);
  EXPECT_EQ(ErrorNumberOf([&] { list.Item(0); }), vb::err::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorNumberOf([&] { list.Item(4); }), vb::err::kSubscriptOutOfRange);
}

TEST(KeyedList, KeysIgnoreLetterCase) {
  KeyedList<int> list = ThreePieces();
  EXPECT_EQ(list.Item(u"ALPHA"), 1);
  EXPECT_EQ(list.Item(u"gamma"), 3);
  EXPECT_TRUE(list.Contains(u"aLpHa"));
  EXPECT_FALSE(list.Contains(u"Beta"));
  EXPECT_EQ(list.PositionOf(u"GAMMA"), 3u);
  EXPECT_EQ(list.PositionOf(u"Beta"), 0u);
  EXPECT_EQ(list.Find(u"beta"), nullptr);
  list.Item(u"alpha") = 10;
  EXPECT_EQ(list.Item(1), 10);
  EXPECT_EQ(ErrorNumberOf([&] { list.Item(u"Beta"); }), vb::err::kInvalidProcedureCall);
}

TEST(KeyedList, DuplicateKeyFailsAndLeavesTheListUnchanged) {
  KeyedList<int> list = ThreePieces();
  try {
    list.Add(4, u"ALPHA");
    FAIL() << "a duplicate key was accepted";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.number, 457);
    EXPECT_EQ(e.description, u"This key is already associated with an element of this collection");
  }
  EXPECT_FALSE(list.TryAdd(5, u"gamma"));
  EXPECT_EQ(Items(list), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(list.Item(u"Alpha"), 1);

  EXPECT_TRUE(list.TryAdd(6));  // items without a key never clash
  EXPECT_TRUE(list.TryAdd(7, u"Delta"));
  EXPECT_EQ(Items(list), (std::vector<int>{1, 2, 3, 6, 7}));
}

TEST(KeyedList, RemovalShiftsLaterPositions) {
  KeyedList<int> list = ThreePieces();
  list.Remove(1);
  EXPECT_EQ(Items(list), (std::vector<int>{2, 3}));
  EXPECT_EQ(list.PositionOf(u"Gamma"), 2u);
  EXPECT_FALSE(list.Contains(u"Alpha"));

  list.Add(1, u"alpha");  // the key is free again
  list.Remove(u"GAMMA");
  EXPECT_EQ(Items(list), (std::vector<int>{2, 1}));
  EXPECT_EQ(list.PositionOf(u"Alpha"), 2u);

  EXPECT_EQ(ErrorNumberOf([&] { list.Remove(u"Gamma"); }), vb::err::kInvalidProcedureCall);
  EXPECT_EQ(ErrorNumberOf([&] { list.Remove(3); }), vb::err::kSubscriptOutOfRange);
  EXPECT_EQ(Items(list), (std::vector<int>{2, 1}));

  list.Clear();
  EXPECT_TRUE(list.Empty());
}

}  // namespace
