#include "JSONFailureExpectation.h"
#include "JSONItem.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ParseFailure {
    const char* name;
    std::string text;
    const char* message;
    int number;
};

// Names the row in test names and messages.
void PrintTo(const ParseFailure& row, std::ostream* out)
{
    *out << row.name;
}

const ParseFailure parseFailures[] = {
    {"LetterAtStart", "x", "Parse Error: Expecting '{' or '['", 1},
    {"LetterAfterBlank", " x", "Parse Error: Expecting '{' or '[' at position 1", 1},
    {"ByteOrderMark", "\xEF\xBB\xBF{}", "Parse Error: Expecting '{' or '['", 1},
    {"ArrayWithoutComma", "[1 2]", "A parsing error occurred at position 4", 2},
    {"ArrayCutShort", "[", "A parsing error occurred at position 1", 2},
    {"LeadingZero", "[01]", "A parsing error occurred at position 3", 2},
    {"StringCutShort", "[\"abc", "A parsing error occurred at position 5", 2},
    {"MinusAlone", "{\"bri\":-}", "Illegal Number Format at position 9", 3},
    {"MinusAtEnd", "[-", "Illegal Number Format at position 2", 3},
    {"PointWithoutDigit", "[1.]", "Illegal Number Format at position 4", 3},
    {"ExponentWithoutDigit", "[1e]", "Illegal Number Format at position 4", 3},
    {"DoubleTooLarge", "[1e999]", "Illegal Number Format at position 6", 3},
    {"MissingColon", "{\"on\" true}", "Missing : at position 7", 5},
    {"ObjectCutShort", "{\"on\":1", "Missing , or } at position 7", 6},
    {"ObjectCutAfterColon", "{\"a\":", "Missing , or } at position 5", 6},
    {"ObjectWithoutComma", "{\"a\":1 \"b\":2}", "Missing , or } at position 8", 6},
    {"NameWithoutQuote", "{x:1}", "Missing \" at position 2", 7},
    {"CommaBeforeBrace", "{\"a\":1,}", "Missing \" at position 8", 7},
    {"OpenBraceAlone", "{", "Missing \" at position 1", 7},
    {"UnicodeCutShort", "[\"\\u12", "Illegal Unicode Character Format at position 4", 8},
    {"UnicodeNotHex", "[\"\\uZZZZ\"]", "Illegal Unicode Character Format at position 8", 8},
    {"UnknownEscape", "[\"\\q\"]", "Illegal Character at position 4", 9},
    {"BackslashAtEnd", "[\"\\", "Illegal Character at position 3", 9},
    {"KeywordCutShort", "{\"on\":tru}", "Illegal Value at position 6", 10},
    {"FalseMisspelt", "[falsy]", "Illegal Value at position 1", 10},
    {"UpperCaseKeyword", "[TRUE]", "Illegal Value at position 1", 10},
    {"DeepNesting", std::string(100000, '['), "Nesting Too Deep at position 513", 4},
};

class JSONParseFailure : public testing::TestWithParam<ParseFailure> {};

TEST_P(JSONParseFailure, RaisesMessageNumberAndPosition)
{
    const ParseFailure& row = GetParam();
    expectJSONFailure([&] { JSONItem item(row.text); }, row.message, row.number);
}

INSTANTIATE_TEST_SUITE_P(Table, JSONParseFailure, testing::ValuesIn(parseFailures),
                         [](const auto& info) { return std::string(info.param.name); });

std::string nested(int depth, const char* open, const char* innermost, const char* close)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += open;
    text += innermost;
    for (int i = 0; i < depth; ++i)
        text += close;
    return text;
}

} // namespace

TEST(JSONParse, NestingUpToTheLimitParses)
{
    EXPECT_EQ(JSONItem(nested(JSONItem::MaxNestingDepth - 1, "[", "[]", "]")).Count(), 1);
    EXPECT_EQ(JSONItem(nested(JSONItem::MaxNestingDepth - 1, "{\"a\":", "{}", "}")).Count(), 1);
    expectJSONFailure([] { JSONItem item(nested(JSONItem::MaxNestingDepth, "[", "[]", "]")); },
                      "Nesting Too Deep at position 513", 4);
}

TEST(JSONParse, DeepObjectsFailLikeDeepArrays)
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "{\"a\":";
    expectJSONFailure([&] { JSONItem item(text); }, "Nesting Too Deep at position 2561", 4);
}
