#include "JSONFailureExpectation.h"
#include "JSONItem.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

namespace {

struct EscapeOut {
    const char* name;
    std::string text;
    const char* rendered; // between the quotes
};

// Names the row in test names and messages.
void PrintTo(const EscapeOut& row, std::ostream* out)
{
    *out << row.name;
}

const EscapeOut escapesOut[] = {
    {"Tab", "a\tb", R"(a\tb)"},
    {"LineFeed", "a\nb", R"(a\nb)"},
    {"OtherShortEscapes", "\b\f\r", R"(\b\f\r)"},
    {"Slash", "a/b", R"(a\/b)"},
    {"Quote", "a\"b", R"(a\"b)"},
    {"Backslash", "a\\b", R"(a\\b)"},
    {"Nul", std::string("\0", 1), R"(\u0000)"},
    {"OtherControl", "\x01\x1F", R"(\u0001\u001f)"},
    {"Delete", "\x7F", R"(\u007f)"},
    {"C1ControlsUnchanged", "\xC2\x80\xC2\x9F", "\xC2\x80\xC2\x9F"},
    {"SoftHyphen", "\xC2\xAD", R"(\u00ad)"},
    {"ArabicFormat", "\xD8\x80\xD8\x84\xD8\x85", "\\u0600\\u0604\xD8\x85"},
    {"SyriacMark", "\xDC\x8F", R"(\u070f)"},
    {"KhmerVowels", "\xE1\x9E\xB4\xE1\x9E\xB5\xE1\x9E\xB6", "\\u17b4\\u17b5\xE1\x9E\xB6"},
    {"ZeroWidth", "\xE2\x80\x8B\xE2\x80\x8C\xE2\x80\x8F", "\xE2\x80\x8B\\u200c\\u200f"},
    {"LineSeparator", "\xE2\x80\xA8", R"(\u2028)"},
    {"SeparatorsAndMarks", "\xE2\x80\xAF\xE2\x80\xB0", "\\u202f\xE2\x80\xB0"},
    {"WordJoiners", "\xE2\x81\xA0\xE2\x81\xAF", R"(\u2060\u206f)"},
    {"ByteOrderMark", "\xEF\xBB\xBF", R"(\ufeff)"},
    {"Specials", "\xEF\xBF\xAF\xEF\xBF\xB0\xEF\xBF\xBF", "\xEF\xBF\xAF\\ufff0\\uffff"},
    {"OtherUtf8Unchanged", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
    {"CutSequenceUnchanged", "\xE2\x80", "\xE2\x80"},
    {"LastBeforeSurrogatesUnchanged", "\xED\x9F\xBF", "\xED\x9F\xBF"},
    {"LoneHighSurrogate", "\xED\xA0\x80", R"(\ud800)"},
    {"LoneLowSurrogate", "a\xED\xBF\xBF", R"(a\udfff)"},
    {"LowThenHighSurrogate", "\xED\xB2\xA1\xED\xA0\xBD", R"(\udca1\ud83d)"},
    {"HighThenLowSurrogateAreOneCodePoint", "\xED\xA0\xBD\xED\xB2\xA1", "\xF0\x9F\x92\xA1"},
    {"HighSurrogateBeforeOtherText", "\xED\xA0\xBDx\xED\xB2\xA1", R"(\ud83dx\udca1)"},
};

class JSONEscapeOut : public testing::TestWithParam<EscapeOut> {};

TEST_P(JSONEscapeOut, InTextValuesAndNames)
{
    JSONItem item;
    item.Value(GetParam().text, JSONValue(GetParam().text));
    const std::string quoted = std::string("\"") + GetParam().rendered + "\"";
    EXPECT_EQ(item.ToString(), "{" + quoted + ":" + quoted + "}");
}

INSTANTIATE_TEST_SUITE_P(Table, JSONEscapeOut, testing::ValuesIn(escapesOut),
                         [](const auto& info) { return std::string(info.param.name); });

struct ScalarOut {
    const char* name;
    JSONValue value;
    const char* rendered;
};

// Names the row in test names and messages.
void PrintTo(const ScalarOut& row, std::ostream* out)
{
    *out << row.name;
}

const ScalarOut scalarsOut[] = {
    {"Nil", JSONValue(), "null"},
    {"True", JSONValue(true), "true"},
    {"False", JSONValue(false), "false"},
    {"Int32", JSONValue(std::int32_t(-42)), "-42"},
    {"Int64", JSONValue(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808"},
    {"Double", JSONValue(1.5), "1.5"},
    {"WholeDouble", JSONValue(100.0), "100.0"},
    {"NegativeDouble", JSONValue(-2.25), "-2.25"},
    {"FifteenDigits", JSONValue(0.1234567890123456789), "0.123456789012346"},
    {"TinyDouble", JSONValue(-1e-20), "0.0"},
    {"LargeDouble", JSONValue(1e20), "100000000000000000000.0"},
};

class JSONScalarOut : public testing::TestWithParam<ScalarOut> {};

TEST_P(JSONScalarOut, Renders)
{
    JSONItem item;
    item.Value("v", GetParam().value);
    EXPECT_EQ(item.ToString(), std::string("{\"v\":") + GetParam().rendered + "}");
}

INSTANTIATE_TEST_SUITE_P(Table, JSONScalarOut, testing::ValuesIn(scalarsOut),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST(JSONRender, BuiltObjectIsOneCompactLine)
{
    JSONItem item;
    item.Value("name", JSONValue("Hall/Lamp"));
    item.Value("on", JSONValue(true));
    EXPECT_EQ(item.ToString(), R"({"name":"Hall\/Lamp","on":true})");
}

TEST(JSONRender, NestedObjectInsideTheOuterBraces)
{
    auto state = std::make_shared<JSONItem>();
    state->Value("on", JSONValue(true));
    state->Value("bri", JSONValue(std::int64_t(254)));
    JSONItem light;
    light.Value("name", JSONValue("Lamp"));
    light.Value("state", JSONValue(state));
    EXPECT_EQ(light.ToString(), R"({"name":"Lamp","state":{"on":true,"bri":254}})");
}

TEST(JSONRender, ParsedTextRendersBackCompact)
{
    const char* text = " [ 1 , [ 2 , { } , [ ] ] , null , { \"a\" : { \"b\" : \"\\/\" } } ] ";
    EXPECT_EQ(JSONItem(text).ToString(), R"([1,[2,{},[]],null,{"a":{"b":"\/"}}])");
}

TEST(JSONRender, ItemThatContainsItselfFails)
{
    auto outer = std::make_shared<JSONItem>();
    auto inner = std::make_shared<JSONItem>();
    outer->Value("inner", JSONValue(inner));
    inner->Value("outer", JSONValue(outer));
    JSONFailureExpectation::expect([&] { outer->ToString(); }, JSONFailures::CircularReference);
    outer->Value("self", JSONValue(outer));
    JSONFailureExpectation::expect([&] { inner->ToString(); }, JSONFailures::CircularReference);
    inner->Value("outer", JSONValue()); // break the cycles so both are freed
    outer->Value("self", JSONValue());
}

TEST(JSONRender, SameItemTwiceIsNoCycle)
{
    auto shared = std::make_shared<JSONItem>();
    JSONItem item;
    item.Value("a", JSONValue(shared));
    item.Value("b", JSONValue(shared));
    EXPECT_EQ(item.ToString(), R"({"a":{},"b":{}})");
}

TEST(JSONRender, ValueWithoutJSONFormFails)
{
    JSONItem item;
    item.Value("v", JSONValue(std::shared_ptr<JSONItem>()));
    JSONFailureExpectation::expect([&] { item.ToString(); }, JSONFailures::UnrecognizedObject);
    item.Value("v", JSONValue(std::numeric_limits<double>::infinity()));
    JSONFailureExpectation::expect([&] { item.ToString(); }, JSONFailures::UnrecognizedObject, std::string("inf"));
}

TEST(JSONRender, DeeperThanTheLimitFails)
{
    auto innermost = std::make_shared<JSONItem>();
    auto current = innermost;
    for (int depth = 1; depth < JSONItem::MaxNestingDepth; ++depth) {
        auto outer = std::make_shared<JSONItem>();
        outer->Value("a", JSONValue(current));
        current = outer;
    }
    EXPECT_NO_THROW(current->ToString());
    JSONItem top;
    top.Value("a", JSONValue(current));
    JSONFailureExpectation::expect([&] { top.ToString(); }, JSONFailures::NestingTooDeep);
}
