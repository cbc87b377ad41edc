#pragma once

#include "JSONFailures.h"
#include "JSONValue.h"
#include "JSONWhiteSpace.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class JSONItem;

// Reads one JSON text, byte by byte, into a JSONItem. Failures are
// JSONException with the byte offset at which reading stood.
class JSONParser {
public:
    explicit JSONParser(std::string_view text);

    // Fills item, a new empty object, with the top-level object or array.
    // Whatever follows that value is not read.
    void parse(JSONItem& item);

private:
    void parseObject(JSONItem& item, int depth);
    void parseArray(JSONItem& item, int depth);
    JSONValue parseValue(int depth);
    JSONValue parseNested(bool isArray, int depth);
    // The literal word, which must stand here, giving value.
    JSONValue parseWord(std::string_view word, JSONValue value);
    JSONValue parseNumber();
    std::string_view parseName(std::string& storage);
    void parseString(std::string& text);
    void parseEscape(std::string& text);
    unsigned parseHexQuad();
    void appendUtf8(std::string& text, unsigned codePoint);

    bool atEnd() const { return m_position >= m_text.size(); }
    char peek() const { return m_text[m_position]; }
    bool startsWith(std::string_view word) const;
    // Texts made by programs seldom hold white space between tokens, so the
    // common case is one test, made in place.
    void skipWhiteSpace()
    {
        if (!atEnd() && JSONWhiteSpace::contains(peek()))
            skipWhiteSpaceRun();
    }
    void skipWhiteSpaceRun();
    [[noreturn]] void fail(const JSONFailures::Failure& failure) const;

    std::string_view m_text;
    std::size_t m_position = 0;
    // Elements of the arrays still open, innermost last; each array's are
    // moved into its item in one go when it closes.
    std::vector<JSONValue> m_openElements;
};
