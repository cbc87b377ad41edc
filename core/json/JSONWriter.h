#pragma once

#include "JSONStringBuffer.h"

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
    std::size_t writeSurrogate(std::string_view text, std::size_t at, unsigned half);
    void writeEscapedCodePoint(unsigned codePoint);

    JSONStringBuffer m_out;
    // The items being written, outermost first: meeting one of them again
    // means the item contains itself.
    std::vector<const JSONItem*> m_open;
};
