#include "JSONFailureExpectation.h"
#include "JSONItem.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using Kind = JSONValue::Kind;

struct ValueKind {
    const char* name;
    const char* text; // the value of member "v"
    Kind kind;
};

// Names the row in test names and messages.
void PrintTo(const ValueKind& row, std::ostream* out)
{
    *out << row.name;
}

const ValueKind valueKinds[] = {
    {"SmallInteger", "254", Kind::Int32},
    {"Int32Lowest", "-2147483648", Kind::Int32},
    {"Int32Highest", "2147483647", Kind::Int32},
    {"JustPastInt32", "2147483648", Kind::Int64},
    {"BelowInt32", "-2147483649", Kind::Int64},
    {"Int64Highest", "9223372036854775807", Kind::Int64},
    {"BeyondInt64", "99999999999999999999", Kind::Double},
    {"Fraction", "1.5", Kind::Double},
    {"Exponent", "1e2", Kind::Double},
    {"SignedExponent", "25E-1", Kind::Double},
    {"True", "true", Kind::Boolean},
    {"False", "false", Kind::Boolean},
    {"Null", "null", Kind::Nil},
    {"Text", "\"60\"", Kind::Text},
    {"Object", "{}", Kind::Item},
    {"Array", "[]", Kind::Item},
};

class JSONValueKind : public testing::TestWithParam<ValueKind> {};

TEST_P(JSONValueKind, ComesFromTheText)
{
    const JSONItem item(std::string("{\"v\":") + GetParam().text + "}");
    EXPECT_EQ(item.Value("v").kind(), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(Table, JSONValueKind, testing::ValuesIn(valueKinds),
                         [](const auto& info) { return std::string(info.param.name); });

struct EscapeIn {
    const char* name;
    const char* literal; // between the quotes of a JSON string
    std::string bytes;
};

// Names the row in test names and messages.
void PrintTo(const EscapeIn& row, std::ostream* out)
{
    *out << row.name;
}

const EscapeIn escapesIn[] = {
    {"Quote", R"(a\"b)", "a\"b"},
    {"Backslash", R"(a\\b)", "a\\b"},
    {"Slash", R"(a\/b)", "a/b"},
    {"ControlLetters", R"(\b\f\n\r\t)", "\b\f\n\r\t"},
    {"UnicodeAscii", R"(\u0041)", "A"},
    {"UnicodeTwoBytes", R"(\u00e9)", "\xC3\xA9"},
    {"UnicodeThreeBytes", R"(\u20AC)", "\xE2\x82\xAC"},
    {"UnicodeZero", R"(a\u0000b)", std::string("a\0b", 3)},
    {"SurrogatePair", R"(\ud83d\ude00)", "\xF0\x9F\x98\x80"},
    {"LoneSurrogate", R"(\ud83dx)", "\xED\xA0\xBDx"},
    {"HighSurrogateThenOtherEscape", R"(\ud83d\u0041)", "\xED\xA0\xBD" "A"},
    {"RawControlBytes", "a\tb\nc", "a\tb\nc"},
    {"RawUtf8", "\xE2\x80\xA8", "\xE2\x80\xA8"},
};

class JSONEscapeIn : public testing::TestWithParam<EscapeIn> {};

TEST_P(JSONEscapeIn, DecodesToUtf8)
{
    const JSONItem item(std::string("[\"") + GetParam().literal + "\"]");
    EXPECT_EQ(item.Value(0).toText(), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Table, JSONEscapeIn, testing::ValuesIn(escapesIn),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST(JSONItem, ValuesReadBackExactly)
{
    const JSONItem item(R"({"i":254,"l":2147483648,"n":-7,"d":1.5,"e":1e2,"t":true,"f":false,"s":"a"})");
    EXPECT_EQ(item.Value("i").toInteger(), 254);
    EXPECT_EQ(item.Value("l").toInteger(), 2147483648LL);
    EXPECT_EQ(item.Value("n").toInteger(), -7);
    EXPECT_EQ(item.Value("d").toDouble(), 1.5);
    EXPECT_EQ(item.Value("e").toDouble(), 100.0);
    EXPECT_TRUE(item.Value("t").toBoolean());
    EXPECT_FALSE(item.Value("f").toBoolean());
    EXPECT_EQ(item.Value("s").toText(), "a");
}

TEST(JSONItem, TypedReadsMakeNoConversion)
{
    const JSONItem item(R"({"i":1,"d":1.0,"t":true,"s":"1","n":null})");
    EXPECT_THROW(item.Value("i").toBoolean(), std::runtime_error);
    EXPECT_THROW(item.Value("i").toDouble(), std::runtime_error);
    EXPECT_THROW(item.Value("d").toInteger(), std::runtime_error);
    EXPECT_THROW(item.Value("t").toInteger(), std::runtime_error);
    EXPECT_THROW(item.Value("s").toInteger(), std::runtime_error);
    EXPECT_THROW(item.Value("n").toText(), std::runtime_error);
    EXPECT_THROW(item.Value("s").toItem(), std::runtime_error);
    EXPECT_TRUE(item.Value("n").isNil());
}

TEST(JSONItem, BlankTextGivesAnEmptyObject)
{
    for (const char* text : {"", " \t\r\n "}) {
        const JSONItem item(text);
        EXPECT_FALSE(item.IsArray());
        EXPECT_EQ(item.Count(), 0);
        EXPECT_EQ(item.ToString(), "{}");
        EXPECT_FALSE(item.HasName(""));
        EXPECT_THROW(item.Value(0), std::out_of_range);
        EXPECT_THROW(item.Value("on"), std::out_of_range);
    }
}

TEST(JSONItem, EmptyArray)
{
    const JSONItem item("[]");
    EXPECT_TRUE(item.IsArray());
    EXPECT_EQ(item.Count(), 0);
    EXPECT_FALSE(item.HasName("on"));
    EXPECT_THROW(item.Value(0), std::out_of_range);
    JSONFailureExpectation::expect([&] { item.Value("on"); }, JSONFailures::IsAnArray);
}

TEST(JSONItem, ArrayReadsByIndexOnly)
{
    JSONItem item(R"([1,"a",{"b":2}])");
    EXPECT_EQ(item.Count(), 3);
    EXPECT_EQ(item.Value(0).toInteger(), 1);
    EXPECT_EQ(item.Value(1).toText(), "a");
    EXPECT_EQ(item.Value(2).toItem()->Value("b").toInteger(), 2);
    EXPECT_THROW(item.Value(3), std::out_of_range);
    EXPECT_THROW(item.Value(-1), std::out_of_range);
    EXPECT_FALSE(item.HasName("b"));
    JSONFailureExpectation::expect([&] { item.Value("b", JSONValue(true)); }, JSONFailures::IsAnArray);
    EXPECT_EQ(item.Count(), 3);
}

TEST(JSONItem, ObjectWithMembersIsNotAnArray)
{
    const JSONItem item(R"({"on":true})");
    JSONFailureExpectation::expect([&] { item.Value(0); }, JSONFailures::NotAnArray);
}

TEST(JSONItem, NamesCompareByteForByte)
{
    const JSONItem item(R"({"on":true})");
    EXPECT_TRUE(item.HasName("on"));
    EXPECT_FALSE(item.HasName("On"));
    EXPECT_FALSE(item.HasName("ON"));
    EXPECT_TRUE(item.Value("on").toBoolean());
    EXPECT_THROW(item.Value("On"), std::out_of_range);
}

TEST(JSONItem, RepeatedNameReplacesTheValueInItsFirstPlace)
{
    const JSONItem item(R"({"a":1,"b":2,"a":3})");
    EXPECT_EQ(item.Count(), 2);
    EXPECT_EQ(item.Value("a").toInteger(), 3);
    EXPECT_EQ(item.ToString(), R"({"a":3,"b":2})");
}

TEST(JSONItem, TextAfterTheTopLevelValueIsIgnored)
{
    const JSONItem item("{\"on\":true} trailing ] text {");
    EXPECT_EQ(item.Count(), 1);
    EXPECT_EQ(JSONItem("[1]]]").Count(), 1);
}

TEST(JSONItem, WritesAddInOrderAndReplaceInPlace)
{
    // Past the size searched linearly, names are found through the index.
    constexpr int NameCount = 1000;
    JSONItem item;
    for (int i = 0; i < NameCount; ++i)
        item.Value(std::to_string(i), JSONValue(static_cast<std::int64_t>(i)));
    item.Value("500", JSONValue("replaced"));
    item.Value("7", JSONValue("also"));
    EXPECT_EQ(item.Count(), NameCount);
    EXPECT_EQ(item.Value("500").toText(), "replaced");
    EXPECT_EQ(item.Value("7").toText(), "also");
    EXPECT_EQ(item.Value("999").toInteger(), 999);
    EXPECT_FALSE(item.HasName("1000"));
    const std::string text = item.ToString();
    EXPECT_EQ(text.substr(0, 30), R"({"0":0,"1":1,"2":2,"3":3,"4":4)");
    EXPECT_NE(text.find(R"("499":499,"500":"replaced","501":501)"), std::string::npos);
}

TEST(JSONItem, ParsedLargeObjectKeepsItsNames)
{
    std::string text = "{";
    for (int i = 0; i < 100; ++i)
        text += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + ",";
    text += "\"k50\":-1}";
    const JSONItem item(text);
    EXPECT_EQ(item.Count(), 100);
    EXPECT_EQ(item.Value("k50").toInteger(), -1);
    EXPECT_EQ(item.Value("k99").toInteger(), 99);
}
