#include "JSONFailureExpectation.h"
#include "JSONItem.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ParseFailure {
    const char* name;
    std::string text;
    JSONFailures::Failure failure;
    std::int64_t position; // where reading stood
};

// Names the row in test names and messages.
void PrintTo(const ParseFailure& row, std::ostream* out)
{
    *out << row.name;
}

const ParseFailure parseFailures[] = {
    {"LetterAtStart", "x", JSONFailures::ExpectingObjectOrArray, 0},
    {"LetterAfterBlank", " x", JSONFailures::ExpectingObjectOrArray, 1},
    {"ByteOrderMark", "\xEF\xBB\xBF{}", JSONFailures::ExpectingObjectOrArray, 0},
    {"ArrayWithoutComma", "[1 2]", JSONFailures::ParsingError, 4},
    {"ArrayCutShort", "[", JSONFailures::ParsingError, 1},
    {"LeadingZero", "[01]", JSONFailures::ParsingError, 3},
    {"StringCutShort", "[\"abc", JSONFailures::ParsingError, 5},
    {"MinusAlone", "{\"bri\":-}", JSONFailures::IllegalNumberFormat, 9},
    {"MinusAtEnd", "[-", JSONFailures::IllegalNumberFormat, 2},
    {"PointWithoutDigit", "[1.]", JSONFailures::IllegalNumberFormat, 4},
    {"ExponentWithoutDigit", "[1e]", JSONFailures::IllegalNumberFormat, 4},
    {"DoubleTooLarge", "[1e999]", JSONFailures::IllegalNumberFormat, 6},
    {"MissingColon", "{\"on\" true}", JSONFailures::MissingColon, 7},
    {"ObjectCutShort", "{\"on\":1", JSONFailures::MissingCommaOrBrace, 7},
    {"ObjectCutAfterColon", "{\"a\":", JSONFailures::MissingCommaOrBrace, 5},
    {"ObjectWithoutComma", "{\"a\":1 \"b\":2}", JSONFailures::MissingCommaOrBrace, 8},
    {"NameWithoutQuote", "{x:1}", JSONFailures::MissingQuote, 2},
    {"CommaBeforeBrace", "{\"a\":1,}", JSONFailures::MissingQuote, 8},
    {"OpenBraceAlone", "{", JSONFailures::MissingQuote, 1},
    {"UnicodeCutShort", "[\"\\u12", JSONFailures::IllegalUnicode, 4},
    {"UnicodeNotHex", "[\"\\uZZZZ\"]", JSONFailures::IllegalUnicode, 8},
    {"UnknownEscape", "[\"\\q\"]", JSONFailures::IllegalCharacter, 4},
    {"BackslashAtEnd", "[\"\\", JSONFailures::IllegalCharacter, 3},
    {"KeywordCutShort", "{\"on\":tru}", JSONFailures::IllegalValue, 6},
    {"FalseMisspelt", "[falsy]", JSONFailures::IllegalValue, 1},
    {"UpperCaseKeyword", "[TRUE]", JSONFailures::IllegalValue, 1},
    {"DeepNesting", std::string(100000, '['), JSONFailures::NestingTooDeep, 513},
};

class JSONParseFailure : public testing::TestWithParam<ParseFailure> {};

TEST_P(JSONParseFailure, RaisesMessageNumberAndPosition)
{
    const ParseFailure& row = GetParam();
    JSONFailureExpectation::expect([&] { JSONItem item(row.text); }, row.failure, row.position);
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
    JSONFailureExpectation::expect([] { JSONItem item(nested(JSONItem::MaxNestingDepth, "[", "[]", "]")); },
                      JSONFailures::NestingTooDeep, JSONItem::MaxNestingDepth + 1);
}

TEST(JSONParse, DeepObjectsFailLikeDeepArrays)
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "{\"a\":";
    JSONFailureExpectation::expect([&] { JSONItem item(text); }, JSONFailures::NestingTooDeep, 2561);
}
