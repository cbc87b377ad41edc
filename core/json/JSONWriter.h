#pragma once

#include <string>
#include <string_view>
#include <vector>

class JSONItem;
class JSONValue;

// Renders a JSONItem as compact JSON: no blank or line break anywhere,
// every "/" escaped, members in order of addition.
class JSONWriter {
public:
    static std::string render(const JSONItem& item);

private:
    void writeItem(const JSONItem& item);
    void writeValue(const JSONValue& value);
    void writeText(std::string_view text);
    void writeDouble(double value);
    void writeEscapedCodePoint(unsigned codePoint);

    // The output grows in m_out beyond m_size, so that each piece is one
    // bounds check and one copy rather than a call into std::string.
    void put(char c);
    void put(std::string_view bytes);
    char* room(std::size_t count);
    void grow(std::size_t count);

    std::string m_out;
    std::size_t m_size = 0;
    // The items being written, outermost first: meeting one of them again
    // means the item contains itself.
    std::vector<const JSONItem*> m_open;
};
