#include "vocabulary/item_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace sevrane {
namespace {

std::vector<std::u16string> Contents(const ItemList& items) {
    std::vector<std::u16string> contents;
    for (std::size_t i = 0; i < items.size(); ++i) {
        contents.emplace_back(items[i]);
    }
    return contents;
}

TEST(ItemList, KeepsOrderDuplicatesAndEmptyItemsEachFollowedByANul) {
    const std::u16string nulInside(u"x\0y", 3);
    const ItemList items{u"b", u"", u"b", u"a\tc", nulInside};
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(Contents(items), (std::vector<std::u16string>{u"b", u"", u"b", u"a\tc", nulInside}));
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items.c_str(i)[items[i].size()], u'\0') << i;
        EXPECT_EQ(std::u16string_view(items.c_str(i), items[i].size()), items[i]) << i;
    }
    EXPECT_EQ(items.front(), u"b");
    EXPECT_EQ(items.back(), nulInside);
    EXPECT_EQ(items.Units(), 1u + 1 + 0 + 1 + 1 + 1 + 3 + 1 + 3 + 1);
}

TEST(ItemList, ItemsBuiltInPlaceCanBeAbandonedWithoutATrace) {
    ItemList items{u"keep"};
    items.OpenItem().append(u"half written");
    items.AbandonItem();
    items.OpenItem().append(u"new");
    items.CloseItem();
    items.OpenItem();
    items.CloseItem(); // an item with no text is an empty item
    EXPECT_EQ(items, (ItemList{u"keep", u"new", u""}));
}

TEST(ItemList, PopBackAndClearLeaveAStateEqualToAFreshList) {
    ItemList items{u"one", u"two", u"three"};
    items.pop_back();
    EXPECT_EQ(items, (ItemList{u"one", u"two"}));
    items.push_back(u"again");
    EXPECT_EQ(items, (ItemList{u"one", u"two", u"again"}));
    items.clear();
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(items, ItemList{});
    items.push_back(u"");
    EXPECT_EQ(items, ItemList{u""});
    EXPECT_NE(items, ItemList{});
}

TEST(ItemList, EqualityTellsWhereOneItemEndsAndTheNextBegins) {
    // The same units in the shared buffer, cut differently.
    EXPECT_NE((ItemList{u"ab", u"c"}), (ItemList{u"a", u"bc"}));
    EXPECT_NE((ItemList{u"a"}), (ItemList{u"a", u""}));
}

TEST(ItemList, ReservingKeepsTheItems) {
    ItemList items{u"z", u"y"};
    items.reserve(1000, 100000);
    EXPECT_GE(items.capacity(), 1000u);
    EXPECT_EQ(items, (ItemList{u"z", u"y"}));
}

TEST(ItemList, ReservationThatCannotBeHadLeavesTheListAsItWas) {
    ItemList items{u"z", u"y"};
    const std::size_t capacity = items.capacity();
    // Room for the items is had, room for their text is not: neither is kept.
    EXPECT_THROW(items.reserve(1000, std::u16string().max_size() + 1), std::length_error);
    EXPECT_EQ(items.capacity(), capacity);
    EXPECT_EQ(items, (ItemList{u"z", u"y"}));
}

} // namespace
} // namespace sevrane
