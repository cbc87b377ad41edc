#include "JSONFailureExpectation.h"
#include "JSONItem.h"
#include "JSONWhiteSpace.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct WhiteSpaceByte {
    const char* name;
    char byte;
    bool isWhiteSpace;
};

// Names the row in test names and messages.
void PrintTo(const WhiteSpaceByte& row, std::ostream* out)
{
    *out << row.name;
}

const WhiteSpaceByte whiteSpaceBytes[] = {
    {"Blank", ' ', true},
    {"Tab", '\t', true},
    {"LineFeed", '\n', true},
    {"CarriageReturn", '\r', true},
    {"VerticalTab", '\v', false},
    {"FormFeed", '\f', false},
    {"NonBreakingSpaceLead", '\xC2', false},
};

class JSONWhiteSpaceByte : public testing::TestWithParam<WhiteSpaceByte> {};

// The parser, the blank-text test of the item and the exception's detail
// agree on every byte.
TEST_P(JSONWhiteSpaceByte, CountsAlikeEverywhere)
{
    const WhiteSpaceByte& row = GetParam();
    const std::string byte(1, row.byte);
    EXPECT_EQ(JSONWhiteSpace::contains(row.byte), row.isWhiteSpace);
    if (row.isWhiteSpace) {
        EXPECT_EQ(JSONItem(byte).ToString(), "{}");
        EXPECT_EQ(JSONItem(byte + "[" + byte + "1" + byte + "]").Count(), 1);
        // A run is skipped whole, however long.
        const std::string run = byte + byte;
        EXPECT_EQ(JSONItem("[1," + run + "2]").Count(), 2);
        EXPECT_TRUE(JSONItem("{" + byte + "\"on\":" + run + "true}").Value("on").toBoolean());
        EXPECT_EQ(JSONException("m", 11, byte).Message(), "m");
    } else {
        JSONFailureExpectation::expect([&] { JSONItem item(byte); }, JSONFailures::ExpectingObjectOrArray);
        JSONFailureExpectation::expect([&] { JSONItem item("[" + byte + "1]"); }, JSONFailures::IllegalValue, 1);
        EXPECT_EQ(JSONException("m", 11, byte).Message(), "m: " + byte);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, JSONWhiteSpaceByte, testing::ValuesIn(whiteSpaceBytes),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
