#pragma once

#include "JSONValue.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The JSON value type of the program: an object of named members or an array
// of elements. Members keep the order in which they were added; ToString
// writes compact JSON with every "/" escaped.
class JSONItem {
public:
    JSONItem(); // an empty object
    // Parses text (UTF-8 bytes). Empty or blank text gives an empty object.
    // Throws JSONException on malformed text.
    explicit JSONItem(std::string_view text);
    ~JSONItem();

    bool IsArray() const;
    std::int64_t Count() const;
    bool HasName(std::string_view name) const;

    // Reads. On an object with members, Value(index) throws "JSONItem is not
    // an array"; on an array, Value(name) throws "JSONItem is an array".
    // A missing index or name throws std::out_of_range.
    const JSONValue& Value(std::int64_t index) const;
    const JSONValue& Value(std::string_view name) const;
    // Write: adds the member, or replaces the member of that name.
    void Value(std::string_view name, JSONValue value);

    std::string ToString() const;

private:
    class Private;
    std::unique_ptr<Private> d;
};
