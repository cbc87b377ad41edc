#include "JSONWriter.h"

#include "JSONFailures.h"
#include "JSONItem.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Doubles are written with one to fifteen digits after the point.
constexpr int MaxFractionDigits = 15;
constexpr std::size_t DoubleBufferSize = 400; // 309 integer digits, point, 15, sign
constexpr std::size_t IntegerBufferSize = 24;
const char* const HexDigits = "0123456789abcdef";

// The UTF-16 halves: a high one, D800-DBFF, and a low one after it,
// DC00-DFFF, stand for one code point from U+10000 on.
constexpr unsigned SurrogatesFirst = 0xD800;
constexpr unsigned LowHalvesFirst = 0xDC00;
constexpr unsigned SurrogatesLast = 0xDFFF;
constexpr unsigned PairBase = 0x10000;
constexpr int HalfBits = 10;
constexpr unsigned char SurrogateLead = 0xED;
constexpr std::size_t SurrogateLength = 3;

// How each byte of a text is written.
enum ByteClass : unsigned char {
    Plain,       // unchanged
    ShortEscape, // a backslash and one letter
    HexEscape,   // \u00XX
    CheckLead,   // first byte of a UTF-8 sequence that may need \uXXXX
};

constexpr std::array<ByteClass, 256> byteClasses()
{
    std::array<ByteClass, 256> classes{};
    for (int byte = 0; byte < 0x20; ++byte)
        classes[byte] = HexEscape;
    classes[0x7F] = HexEscape;
    for (unsigned char byte : {'\\', '"', '/', '\b', '\f', '\n', '\r', '\t'})
        classes[byte] = ShortEscape;
    // Leads of U+00AD, U+0600-U+0604, U+070F, U+17B4-U+17B5, U+2xxx,
    // U+Dxxx, U+Fxxx.
    for (int byte : {0xC2, 0xD8, 0xDC, 0xE1, 0xE2, 0xED, 0xEF})
        classes[byte] = CheckLead;
    return classes;
}

constexpr std::array<ByteClass, 256> ByteClasses = byteClasses();

char shortEscapeLetter(unsigned char byte)
{
    switch (byte) {
    case '\b':
        return 'b';
    case '\f':
        return 'f';
    case '\n':
        return 'n';
    case '\r':
        return 'r';
    case '\t':
        return 't';
    default:
        return static_cast<char>(byte); // backslash, quote, slash
    }
}

bool isSurrogate(unsigned cp)
{
    return cp >= SurrogatesFirst && cp <= SurrogatesLast;
}

// Invisible and format characters that are written as \uXXXX, and the
// surrogates. A text holds a surrogate's three bytes when the parser met a
// lone \uD800-\uDFFF; they are no UTF-8, and their escape gives the client
// the very code point that the text named.
bool isEscapedCodePoint(unsigned cp)
{
    return cp == 0x00AD || (cp >= 0x0600 && cp <= 0x0604) || cp == 0x070F
        || (cp >= 0x17B4 && cp <= 0x17B5) || (cp >= 0x200C && cp <= 0x200F)
        || (cp >= 0x2028 && cp <= 0x202F) || (cp >= 0x2060 && cp <= 0x206F)
        || isSurrogate(cp) || cp == 0xFEFF || (cp >= 0xFFF0 && cp <= 0xFFFF);
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed two- or three-byte sequence at text[at] with its
// code point, or 0 when the bytes there are not one.
std::size_t decodeSequence(std::string_view text, std::size_t at, unsigned& codePoint)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0xE0 ? 2 : 3;
    if (text.size() - at < length)
        return 0;
    codePoint = lead & (length == 2 ? 0x1F : 0x0F);
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (!isContinuation(byte))
            return 0;
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    return length;
}

} // namespace

std::string JSONWriter::render(const JSONItem& item)
{
    JSONWriter writer;
    writer.writeItem(item);
    return writer.m_out.take();
}

void JSONWriter::writeItem(const JSONItem& item)
{
    if (std::find(m_open.begin(), m_open.end(), &item) != m_open.end())
        JSONFailures::raise(JSONFailures::CircularReference);
    if (m_open.size() >= static_cast<std::size_t>(JSONItem::MaxNestingDepth))
        JSONFailures::raise(JSONFailures::NestingTooDeep);
    m_open.push_back(&item);
    if (item.m_isArray) {
        m_out.append('[');
        for (std::size_t i = 0; i < item.m_elements.size(); ++i) {
            if (i > 0)
                m_out.append(',');
            writeValue(item.m_elements[i]);
        }
        m_out.append(']');
    } else {
        m_out.append('{');
        for (std::size_t i = 0; i < item.m_members.size(); ++i) {
            if (i > 0)
                m_out.append(',');
            writeText(item.m_members[i].name);
            m_out.append(':');
            writeValue(item.m_members[i].value);
        }
        m_out.append('}');
    }
    m_open.pop_back();
}

void JSONWriter::writeValue(const JSONValue& value)
{
    switch (value.kind()) {
    case JSONValue::Kind::Nil:
        m_out.append("null");
        return;
    case JSONValue::Kind::Boolean:
        m_out.append(value.toBoolean() ? "true" : "false");
        return;
    case JSONValue::Kind::Int32:
    case JSONValue::Kind::Int64: {
        char buffer[IntegerBufferSize];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value.toInteger());
        m_out.append(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
        return;
    }
    case JSONValue::Kind::Double:
        writeDouble(value.toDouble());
        return;
    case JSONValue::Kind::Text:
        writeText(value.toText());
        return;
    case JSONValue::Kind::Item:
        // An item slot without an item is no value that JSON can express.
        if (!value.toItem())
            JSONFailures::raise(JSONFailures::UnrecognizedObject);
        writeItem(*value.toItem());
        return;
    }
    JSONFailures::raise(JSONFailures::UnrecognizedObject);
}

// The text between double quotes, escaped. Runs of plain bytes are copied in
// one append.
void JSONWriter::writeText(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && ByteClasses[static_cast<unsigned char>(text[at])] == Plain)
        ++at;
    // Most texts need no escape at all: quotes and bytes in one copy.
    if (at == text.size()) {
        char* out = m_out.room(text.size() + 2);
        out[0] = '"';
        if (!text.empty())
            std::memcpy(out + 1, text.data(), text.size());
        out[text.size() + 1] = '"';
        return;
    }
    m_out.append('"');
    std::size_t runStart = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const ByteClass byteClass = ByteClasses[byte];
        if (byteClass == Plain) {
            ++at;
            continue;
        }
        unsigned codePoint = byte;
        std::size_t length = 1;
        if (byteClass == CheckLead) {
            length = decodeSequence(text, at, codePoint);
            if (length == 0 || !isEscapedCodePoint(codePoint)) {
                at += length == 0 ? 1 : length;
                continue;
            }
        }
        m_out.append(text.substr(runStart, at - runStart));
        if (byteClass == ShortEscape) {
            m_out.append('\\');
            m_out.append(shortEscapeLetter(byte));
        } else if (isSurrogate(codePoint)) {
            length = writeSurrogate(text, at, codePoint);
        } else {
            writeEscapedCodePoint(codePoint);
        }
        at += length;
        runStart = at;
    }
    m_out.append(text.substr(runStart));
    m_out.append('"');
}

// The bytes of a high half right before those of a low half are one code
// point, written as its UTF-8, so that reading the text again gives the same
// text. A half on its own is written as its escape. Gives the number of bytes
// written for.
std::size_t JSONWriter::writeSurrogate(std::string_view text, std::size_t at, unsigned half)
{
    const std::size_t next = at + SurrogateLength;
    unsigned low = 0;
    if (half < LowHalvesFirst && next < text.size() && static_cast<unsigned char>(text[next]) == SurrogateLead
        && decodeSequence(text, next, low) == SurrogateLength && low >= LowHalvesFirst) {
        const unsigned codePoint = PairBase + ((half - SurrogatesFirst) << HalfBits) + (low - LowHalvesFirst);
        const char bytes[] = {static_cast<char>(0xF0 | (codePoint >> 18)),
                              static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)),
                              static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)),
                              static_cast<char>(0x80 | (codePoint & 0x3F))};
        m_out.append(std::string_view(bytes, sizeof bytes));
        return 2 * SurrogateLength;
    }
    writeEscapedCodePoint(half);
    return SurrogateLength;
}

void JSONWriter::writeEscapedCodePoint(unsigned codePoint)
{
    const char escape[] = {'\\', 'u', HexDigits[(codePoint >> 12) & 0xF], HexDigits[(codePoint >> 8) & 0xF],
                           HexDigits[(codePoint >> 4) & 0xF], HexDigits[codePoint & 0xF]};
    m_out.append(std::string_view(escape, sizeof escape));
}

// Pattern "-0.0##############": a sign for negative values, at least one
// digit on each side of the point, at most fifteen after it. Infinity and
// NaN have no JSON form.
void JSONWriter::writeDouble(double value)
{
    if (!std::isfinite(value))
        JSONFailures::raise(JSONFailures::UnrecognizedObject, std::isnan(value) ? "nan" : "inf");
    char buffer[DoubleBufferSize];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                      MaxFractionDigits);
    const char* end = result.ptr;
    while (end[-1] == '0' && end[-2] != '.')
        --end;
    std::string_view digits(buffer, static_cast<std::size_t>(end - buffer));
    if (digits == "-0.0")
        digits.remove_prefix(1); // a value that rounds to zero is not negative
    m_out.append(digits);
}
