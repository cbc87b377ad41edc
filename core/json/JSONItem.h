#pragma once

#include "JSONMemberList.h"
#include "JSONNameIndex.h"
#include "JSONValue.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The JSON value type of the program: an object of named members or an array
// of elements. Members keep the order in which they were added; ToString
// writes compact JSON with every "/" escaped.
class JSONItem {
public:
    // Objects and arrays nest at most this deep, in a parsed text and in a
    // rendering, so that untrusted text cannot overflow the call stack.
    // Deeper nesting fails with JSONFailures::NestingTooDeep.
    static constexpr int MaxNestingDepth = 512;

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

    // Makes room for count members, so that adding up to that many moves
    // none of those already added. Changes nothing that can be read.
    void Reserve(std::int64_t count);

    std::string ToString() const;

private:
    friend class JSONParser;
    friend class JSONWriter;

    std::size_t findMember(std::string_view name) const;
    void setMember(std::string_view name, JSONValue&& value);
    void setIndexedMember(std::string_view name, JSONValue&& value);

    JSONMemberList m_members; // an object's members, in order of addition
    std::vector<JSONValue> m_elements; // an array's elements
    JSONNameIndex m_index;
    bool m_isArray = false;
};
