#include "JSONMemberList.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// Member counts either side of the room kept in place.
constexpr std::size_t InPlace = JSONMemberList::InlineCapacity;
constexpr std::size_t OnHeap = JSONMemberList::InlineCapacity * 3 + 1;

JSONMemberList listOf(std::size_t count)
{
    JSONMemberList list;
    for (std::size_t i = 0; i < count; ++i)
        list.emplace_back("member " + std::to_string(i), JSONValue("value " + std::to_string(i)));
    return list;
}

void expectMembers(const JSONMemberList& list, std::size_t count)
{
    ASSERT_EQ(list.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(list[i].name, "member " + std::to_string(i));
        EXPECT_EQ(list[i].value.toText(), "value " + std::to_string(i));
    }
}

class JSONMemberListTest : public testing::TestWithParam<std::size_t> {};

TEST_P(JSONMemberListTest, CopyKeepsBothListsWhole)
{
    const JSONMemberList original = listOf(GetParam());
    JSONMemberList assigned = listOf(2);
    assigned = original;
    const JSONMemberList constructed(original);
    expectMembers(original, GetParam());
    expectMembers(assigned, GetParam());
    expectMembers(constructed, GetParam());
}

TEST_P(JSONMemberListTest, MoveCarriesMembersAndLeavesSourceEmptyAndUsable)
{
    JSONMemberList source = listOf(GetParam());
    JSONMemberList constructed(std::move(source));
    expectMembers(constructed, GetParam());
    EXPECT_TRUE(source.empty());

    JSONMemberList assigned = listOf(OnHeap);
    assigned = std::move(constructed);
    expectMembers(assigned, GetParam());
    EXPECT_TRUE(constructed.empty());

    constructed.emplace_back("member 0", JSONValue("value 0"));
    expectMembers(constructed, 1);
}

INSTANTIATE_TEST_SUITE_P(Sizes, JSONMemberListTest, testing::Values(std::size_t(0), InPlace, OnHeap),
                         [](const testing::TestParamInfo<std::size_t>& info) {
                             return info.param == 0 ? std::string("Empty")
                                 : info.param == InPlace ? std::string("InPlace")
                                                         : std::string("OnHeap");
                         });

// The name views the list's own first member while the list moves to the heap.
TEST(JSONMemberListGrowthTest, NameOfOwnMemberSurvivesGrowth)
{
    JSONMemberList list;
    const std::string longName(40, 'n');
    list.emplace_back(longName, JSONValue());
    while (list.size() < list.capacity())
        list.emplace_back("filler", JSONValue());
    list.emplace_back(list[0].name, JSONValue(true));
    EXPECT_EQ(list[list.size() - 1].name, longName);
    EXPECT_EQ(list[0].name, longName);
}

} // namespace
