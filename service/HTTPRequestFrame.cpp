#include "HTTPRequestFrame.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view HeadEnd = "\r\n\r\n";
constexpr std::string_view ContentLengthName = "content-length";
constexpr std::string_view TransferEncodingName = "transfer-encoding";
constexpr std::string_view Blanks = " \t";

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

char lowerASCII(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Header names match in any case; lowerName is given in lower case.
bool isHeaderName(std::string_view name, std::string_view lowerName)
{
    return std::ranges::equal(trimmed(name), lowerName,
                              [](char a, char b) { return lowerASCII(a) == b; });
}

// The value of one Content-Length header: decimal digits only. Values past
// MaxRequestSize are all reported as MaxRequestSize + 1, so nothing overflows.
std::optional<std::size_t> parseLength(std::string_view value)
{
    value = trimmed(value);
    if (value.empty())
        return std::nullopt;
    constexpr std::size_t TooLarge = HTTPRequestFrame::MaxRequestSize + 1;
    std::size_t length = 0;
    for (char c : value) {
        if (c < '0' || c > '9')
            return std::nullopt;
        length = std::min(length * 10 + std::size_t(c - '0'), TooLarge);
    }
    return length;
}

// What the header lines say of the body: refused, or its announced length,
// if any.
struct BodyFraming {
    bool refused = false;
    std::optional<std::size_t> announcedLength;
};

constexpr BodyFraming RefusedFraming{true, std::nullopt};

// The header lines, each ended by CR LF. Several Content-Length headers must
// agree; any Transfer-Encoding is refused.
BodyFraming bodyFraming(std::string_view headerLines)
{
    BodyFraming framing;
    while (!headerLines.empty()) {
        const std::size_t end = headerLines.find(LineEnd);
        const std::string_view line = headerLines.substr(0, end);
        headerLines.remove_prefix(end + LineEnd.size());
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view name = line.substr(0, colon);
        if (isHeaderName(name, TransferEncodingName))
            return RefusedFraming;
        if (!isHeaderName(name, ContentLengthName))
            continue;
        const std::optional<std::size_t> length = parseLength(line.substr(colon + 1));
        if (!length || (framing.announcedLength && *length != *framing.announcedLength))
            return RefusedFraming;
        framing.announcedLength = length;
    }
    return framing;
}

HTTPRequestFrame rejected()
{
    HTTPRequestFrame frame;
    frame.status = HTTPRequestFrame::Status::Rejected;
    return frame;
}

} // namespace

HTTPRequestFrame HTTPRequestFrame::examine(std::string_view buffer)
{
    const std::size_t headEnd = buffer.find(HeadEnd);
    if (headEnd == std::string_view::npos)
        return buffer.size() > MaxRequestSize ? rejected() : HTTPRequestFrame{};

    HTTPRequestFrame frame;
    frame.headLength = headEnd + HeadEnd.size();
    if (frame.headLength > MaxRequestSize)
        return rejected();

    // The header lines lie between the request line and the empty line; each
    // keeps its own CR LF. A head that is only CR LF CR LF has none.
    const std::size_t headersStart = buffer.find(LineEnd) + LineEnd.size();
    const std::size_t headersEnd = frame.headLength - LineEnd.size();
    const std::string_view headerLines =
        headersStart < headersEnd ? buffer.substr(headersStart, headersEnd - headersStart)
                                  : std::string_view();
    const BodyFraming framing = bodyFraming(headerLines);
    if (framing.refused)
        return rejected();
    // Unannounced, the body is the rest of what has come with the head.
    const std::size_t total =
        framing.announcedLength ? frame.headLength + *framing.announcedLength : buffer.size();
    if (total > MaxRequestSize)
        return rejected();

    if (buffer.size() < total)
        return frame;
    frame.status = Status::Complete;
    frame.totalLength = total;
    return frame;
}
