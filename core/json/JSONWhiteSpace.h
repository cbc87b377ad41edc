#pragma once

#include <algorithm>
#include <string_view>

// The white space of JSON text: blank, tab, line feed and carriage return.
// The same bytes separate tokens, make a text blank enough to give an empty
// item, and make a failure's detail blank enough to leave out.
class JSONWhiteSpace {
public:
    static constexpr bool contains(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    static constexpr bool isBlank(std::string_view text) { return std::all_of(text.begin(), text.end(), contains); }
};
