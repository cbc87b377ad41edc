#include "JSONException.h"

#include <gtest/gtest.h>

TEST(JSONException, PositionIsAppendedOnlyWhenPastTheFirstByte)
{
    EXPECT_EQ(JSONException("Illegal Value", 10, 0).Message(), "Illegal Value");
    EXPECT_EQ(JSONException("Illegal Value", 10, 1).Message(), "Illegal Value at position 1");
    EXPECT_EQ(JSONException("Illegal Value", 10, 4096).ErrorNumber(), 10);
}

TEST(JSONException, DetailIsAppendedOnlyWhenNotBlank)
{
    EXPECT_EQ(JSONException("Unrecognized Object", 11, std::string()).Message(), "Unrecognized Object");
    EXPECT_EQ(JSONException("Unrecognized Object", 11, std::string(" \t")).Message(), "Unrecognized Object");
    EXPECT_EQ(JSONException("Unrecognized Object", 11, std::string("inf")).Message(), "Unrecognized Object: inf");
}

TEST(JSONException, IsTheGeneralFailureType)
{
    const std::runtime_error& failure = JSONException("Missing :", 5, 7);
    EXPECT_STREQ(failure.what(), "Missing : at position 7");
}
