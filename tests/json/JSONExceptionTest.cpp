#include "JSONException.h"
#include "JSONFailures.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Failure = JSONFailures::Failure;

JSONException atPosition(const Failure& failure, std::int64_t position)
{
    return JSONException(failure.message, failure.number, position);
}

JSONException withDetail(const Failure& failure, const std::string& detail)
{
    return JSONException(failure.message, failure.number, detail);
}

} // namespace

// The expected texts are written out in full: they pin how the message is made.
TEST(JSONException, PositionIsAppendedOnlyWhenPastTheFirstByte)
{
    EXPECT_EQ(atPosition(JSONFailures::IllegalValue, 0).Message(), "Illegal Value");
    EXPECT_EQ(atPosition(JSONFailures::IllegalValue, 1).Message(), "Illegal Value at position 1");
    EXPECT_EQ(atPosition(JSONFailures::MissingQuote, 2).Message(), "Missing \" at position 2");
    EXPECT_EQ(atPosition(JSONFailures::IllegalValue, 4096).ErrorNumber(), 10);
}

TEST(JSONException, DetailIsAppendedOnlyWhenNotBlank)
{
    for (const char* blank : {"", " ", " \t\r\n"})
        EXPECT_EQ(withDetail(JSONFailures::UnrecognizedObject, blank).Message(), "Unrecognized Object");
    EXPECT_EQ(withDetail(JSONFailures::UnrecognizedObject, "inf").Message(), "Unrecognized Object: inf");
    EXPECT_EQ(withDetail(JSONFailures::UnrecognizedObject, "inf").ErrorNumber(), 11);
}

TEST(JSONException, IsTheGeneralFailureType)
{
    const std::runtime_error& failure = atPosition(JSONFailures::MissingColon, 7);
    EXPECT_STREQ(failure.what(), "Missing : at position 7");
}

TEST(JSONException, RaisedFromItsRowOfTheTable)
{
    try {
        JSONFailures::raise(JSONFailures::CircularReference);
        FAIL() << "nothing raised";
    } catch (const JSONException& failure) {
        EXPECT_EQ(failure.Message(), "Circular Reference Detected");
        EXPECT_EQ(failure.ErrorNumber(), 14);
    }
}
