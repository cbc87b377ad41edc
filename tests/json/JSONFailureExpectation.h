#pragma once

#include "JSONException.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

// Runs action and checks that it raises a JSONException with exactly this
// message and number.
inline void expectJSONFailure(const std::function<void()>& action, const std::string& message, int number)
{
    try {
        action();
        ADD_FAILURE() << "no JSONException; expected \"" << message << "\"";
    } catch (const JSONException& failure) {
        EXPECT_EQ(failure.Message(), message);
        EXPECT_EQ(std::string(failure.what()), message);
        EXPECT_EQ(failure.ErrorNumber(), number);
    }
}
