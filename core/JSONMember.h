#pragma once

#include "JSONValue.h"

#include <string>

// One named member of a JSON object.
struct JSONMember {
    std::string name;
    JSONValue value;
};
