#pragma once

#include "JSONException.h"
#include "JSONFailures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

// Runs an action and checks that it raises exactly the JSONException
// expected: its message, its number and what(). How a position or a detail
// is added to the message is pinned by the exception's own tests.
class JSONFailureExpectation {
public:
    static void expect(const std::function<void()>& action, const JSONException& expected)
    {
        try {
            action();
            ADD_FAILURE() << "no JSONException; expected \"" << expected.Message() << "\"";
        } catch (const JSONException& failure) {
            EXPECT_EQ(failure.Message(), expected.Message());
            EXPECT_EQ(std::string(failure.what()), expected.Message());
            EXPECT_EQ(failure.ErrorNumber(), expected.ErrorNumber());
        }
    }

    static void expect(const std::function<void()>& action, const JSONFailures::Failure& failure,
                       std::int64_t position = 0)
    {
        expect(action, JSONException(failure.message, failure.number, position));
    }

    static void expect(const std::function<void()>& action, const JSONFailures::Failure& failure,
                       const std::string& detail)
    {
        expect(action, JSONException(failure.message, failure.number, detail));
    }
};
