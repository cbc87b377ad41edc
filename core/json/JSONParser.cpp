#include "JSONParser.h"

#include "JSONItem.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>

namespace {

constexpr std::size_t HexQuadLength = 4;
constexpr unsigned HighSurrogateFirst = 0xD800;
constexpr unsigned HighSurrogateLast = 0xDBFF;
constexpr unsigned LowSurrogateFirst = 0xDC00;
constexpr unsigned LowSurrogateLast = 0xDFFF;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The four hexadecimal digits at text[at], or -1 when they are not that.
long hexQuadAt(std::string_view text, std::size_t at)
{
    if (text.size() - at < HexQuadLength)
        return -1;
    long value = 0;
    for (std::size_t i = 0; i < HexQuadLength; ++i) {
        const int digit = hexDigit(text[at + i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

JSONParser::JSONParser(std::string_view text)
    : m_text(text)
{
}

void JSONParser::parse(JSONItem& item)
{
    skipWhiteSpace();
    if (atEnd() || (peek() != '{' && peek() != '['))
        fail(JSONFailures::ExpectingObjectOrArray);
    if (m_text[m_position++] == '{') {
        parseObject(item, 1);
    } else {
        item.m_isArray = true;
        parseArray(item, 1);
    }
}

// Grammar: "{" [ string ":" value { "," string ":" value } ] "}", the
// opening brace already read. A repeated name replaces the earlier value.
// Members go straight into the item, each once its value is read.
void JSONParser::parseObject(JSONItem& item, int depth)
{
    skipWhiteSpace();
    if (!atEnd() && peek() == '}') {
        ++m_position;
        return;
    }
    for (;;) {
        skipWhiteSpace();
        std::string decodedName;
        const std::string_view name = parseName(decodedName);
        skipWhiteSpace();
        if (atEnd() || m_text[m_position++] != ':')
            fail(JSONFailures::MissingColon);
        skipWhiteSpace();
        item.setMember(name, parseValue(depth));
        skipWhiteSpace();
        if (atEnd())
            fail(JSONFailures::MissingCommaOrBrace);
        const char next = m_text[m_position++];
        if (next == '}')
            break;
        if (next != ',')
            fail(JSONFailures::MissingCommaOrBrace);
    }
}

// A name without escapes is read where it stands in the text; only one with
// escapes is decoded, into storage.
std::string_view JSONParser::parseName(std::string& storage)
{
    if (!atEnd() && peek() == '"') {
        const char* const begin = m_text.data() + m_position + 1;
        const char* const end = m_text.data() + m_text.size();
        const char* stop = begin;
        while (stop != end && *stop != '"' && *stop != '\\')
            ++stop;
        if (stop != end && *stop == '"') {
            m_position = std::size_t(stop - m_text.data()) + 1;
            return std::string_view(begin, std::size_t(stop - begin));
        }
    }
    parseString(storage);
    return storage;
}

// Grammar: "[" [ value { "," value } ] "]", the opening bracket already read.
void JSONParser::parseArray(JSONItem& item, int depth)
{
    skipWhiteSpace();
    if (!atEnd() && peek() == ']') {
        ++m_position;
        return;
    }
    const auto first = static_cast<std::ptrdiff_t>(m_openElements.size());
    for (;;) {
        skipWhiteSpace();
        m_openElements.push_back(parseValue(depth));
        skipWhiteSpace();
        if (atEnd())
            fail(JSONFailures::ParsingError);
        const char next = m_text[m_position++];
        if (next == ']')
            break;
        if (next != ',')
            fail(JSONFailures::ParsingError);
    }
    item.m_elements.assign(std::make_move_iterator(m_openElements.begin() + first),
                           std::make_move_iterator(m_openElements.end()));
    m_openElements.erase(m_openElements.begin() + first, m_openElements.end());
}

// At the end of the text the value is nil; the enclosing object or array
// then fails on its next expected byte.
JSONValue JSONParser::parseValue(int depth)
{
    if (atEnd())
        return JSONValue();
    switch (peek()) {
    case 't':
        return parseWord("true", JSONValue(true));
    case 'f':
        return parseWord("false", JSONValue(false));
    case 'n':
        return parseWord("null", JSONValue());
    case '"': {
        std::string text;
        parseString(text);
        return JSONValue(std::move(text));
    }
    case '{':
    case '[':
        return parseNested(peek() == '[', depth);
    default:
        if (peek() == '-' || isDigit(peek()))
            return parseNumber();
        fail(JSONFailures::IllegalValue);
    }
}

JSONValue JSONParser::parseWord(std::string_view word, JSONValue value)
{
    if (!startsWith(word))
        fail(JSONFailures::IllegalValue);
    m_position += word.size();
    return value;
}

JSONValue JSONParser::parseNested(bool isArray, int depth)
{
    ++m_position;
    if (depth >= JSONItem::MaxNestingDepth)
        fail(JSONFailures::NestingTooDeep);
    auto item = std::make_shared<JSONItem>();
    if (isArray) {
        item->m_isArray = true;
        parseArray(*item, depth + 1);
    } else {
        parseObject(*item, depth + 1);
    }
    return JSONValue(std::move(item));
}

// Grammar: [ "-" ] ( "0" | [1-9] { digit } ) [ "." digit { digit } ]
// [ ( "e" | "E" ) [ "+" | "-" ] digit { digit } ]. Reading stops at the
// first byte that does not fit. Without fraction and exponent the number is
// an integer: 32-bit when it fits, else 64-bit, else (beyond 64 bits) a
// double. A double too large to hold fails as a malformed number.
JSONValue JSONParser::parseNumber()
{
    const std::size_t start = m_position;
    if (peek() == '-')
        ++m_position;
    auto expectDigit = [this] {
        if (atEnd() || !isDigit(m_text[m_position++]))
            fail(JSONFailures::IllegalNumberFormat);
    };
    auto skipDigits = [this] {
        while (!atEnd() && isDigit(peek()))
            ++m_position;
    };
    expectDigit();
    if (m_text[m_position - 1] != '0')
        skipDigits();
    bool isInteger = true;
    if (!atEnd() && peek() == '.') {
        ++m_position;
        expectDigit();
        skipDigits();
        isInteger = false;
    }
    if (!atEnd() && (peek() == 'e' || peek() == 'E')) {
        ++m_position;
        if (!atEnd() && (peek() == '+' || peek() == '-'))
            ++m_position;
        expectDigit();
        skipDigits();
        isInteger = false;
    }
    const char* begin = m_text.data() + start;
    const char* end = m_text.data() + m_position;
    if (isInteger) {
        std::int64_t value = 0;
        if (std::from_chars(begin, end, value).ec == std::errc()) {
            if (value >= std::numeric_limits<std::int32_t>::min()
                && value <= std::numeric_limits<std::int32_t>::max())
                return JSONValue(static_cast<std::int32_t>(value));
            return JSONValue(value);
        }
    }
    double value = 0;
    if (std::from_chars(begin, end, value).ec != std::errc()) {
        // Out of range: strtod gives the underflow its nearest value.
        value = std::strtod(std::string(begin, end).c_str(), nullptr);
        if (std::isinf(value))
            fail(JSONFailures::IllegalNumberFormat);
    }
    return JSONValue(value);
}

// Reads a string from its opening quote. Bytes are copied as they are, raw
// control bytes included; the end of the text also ends the string.
void JSONParser::parseString(std::string& text)
{
    if (atEnd() || m_text[m_position++] != '"')
        fail(JSONFailures::MissingQuote);
    const char* const data = m_text.data();
    const char* const end = data + m_text.size();
    for (;;) {
        // Texts are short: one pass for both stops beats two searches.
        const char* const begin = data + m_position;
        const char* stop = begin;
        while (stop != end && *stop != '"' && *stop != '\\')
            ++stop;
        text.append(begin, stop);
        if (stop == end) {
            m_position = m_text.size();
            return;
        }
        m_position = std::size_t(stop - data) + 1;
        if (*stop == '"')
            return;
        parseEscape(text);
    }
}

// Decodes the escape whose backslash has just been read.
void JSONParser::parseEscape(std::string& text)
{
    if (atEnd())
        fail(JSONFailures::IllegalCharacter);
    const char escape = m_text[m_position++];
    switch (escape) {
    case '"':
    case '\\':
    case '/':
        text.push_back(escape);
        return;
    case 'b':
        text.push_back('\b');
        return;
    case 'f':
        text.push_back('\f');
        return;
    case 'n':
        text.push_back('\n');
        return;
    case 'r':
        text.push_back('\r');
        return;
    case 't':
        text.push_back('\t');
        return;
    case 'u':
        break;
    default:
        fail(JSONFailures::IllegalCharacter);
    }
    unsigned codePoint = parseHexQuad();
    // A high and a low surrogate escaped one after the other make one code
    // point; a lone half is encoded as it stands.
    if (codePoint >= HighSurrogateFirst && codePoint <= HighSurrogateLast && startsWith("\\u")) {
        const long low = hexQuadAt(m_text, m_position + 2);
        if (low >= LowSurrogateFirst && low <= LowSurrogateLast) {
            codePoint = 0x10000 + ((codePoint - HighSurrogateFirst) << 10)
                + (static_cast<unsigned>(low) - LowSurrogateFirst);
            m_position += 2 + HexQuadLength;
        }
    }
    appendUtf8(text, codePoint);
}

unsigned JSONParser::parseHexQuad()
{
    if (m_text.size() - m_position < HexQuadLength)
        fail(JSONFailures::IllegalUnicode);
    const long value = hexQuadAt(m_text, m_position);
    m_position += HexQuadLength;
    if (value < 0)
        fail(JSONFailures::IllegalUnicode);
    return static_cast<unsigned>(value);
}

void JSONParser::appendUtf8(std::string& text, unsigned codePoint)
{
    if (codePoint < 0x80) {
        text.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

bool JSONParser::startsWith(std::string_view word) const
{
    return m_text.substr(m_position).starts_with(word);
}

void JSONParser::skipWhiteSpaceRun()
{
    while (!atEnd() && JSONWhiteSpace::contains(peek()))
        ++m_position;
}

void JSONParser::fail(const JSONFailures::Failure& failure) const
{
    JSONFailures::raise(failure, static_cast<std::int64_t>(m_position));
}
