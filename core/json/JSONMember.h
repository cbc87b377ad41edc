#pragma once

#include "JSONValue.h"

#include <string>
#include <string_view>
#include <utility>

// One named member of a JSON object.
struct JSONMember {
    JSONMember() = default;
    // The name is copied straight into its place, so adding a member makes
    // no temporary name.
    JSONMember(std::string_view memberName, JSONValue&& memberValue)
        : name(memberName), value(std::move(memberValue))
    {
    }

    std::string name;
    JSONValue value;
};
