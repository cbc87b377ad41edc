#include "HTTPRequestFrame.h"

#include <optional>

namespace {

constexpr QByteArrayView LineEnd = "\r\n";
constexpr QByteArrayView HeadEnd = "\r\n\r\n";
constexpr QByteArrayView ContentLengthName = "content-length";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// The value of one Content-Length header: decimal digits only. Values past
// MaxRequestSize are all reported as MaxRequestSize + 1, so nothing overflows.
std::optional<qsizetype> parseLength(QByteArrayView value)
{
    value = trimmed(value);
    if (value.isEmpty())
        return std::nullopt;
    qsizetype length = 0;
    for (char c : value) {
        if (c < '0' || c > '9')
            return std::nullopt;
        length = std::min(length * 10 + (c - '0'), HTTPRequestFrame::MaxRequestSize + 1);
    }
    return length;
}

struct BodyLength {
    bool valid = true;
    qsizetype length = 0;
};

// Reads the Content-Length of the header lines (each ended by CR LF). Several
// Content-Length headers must agree.
BodyLength bodyLength(QByteArrayView headerLines)
{
    BodyLength result;
    bool seen = false;
    while (!headerLines.isEmpty()) {
        const qsizetype end = headerLines.indexOf(LineEnd);
        const QByteArrayView line = headerLines.first(end);
        headerLines = headerLines.sliced(end + LineEnd.size());
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || trimmed(line.first(colon)).compare(ContentLengthName, Qt::CaseInsensitive) != 0)
            continue;
        const std::optional<qsizetype> length = parseLength(line.sliced(colon + 1));
        if (!length || (seen && *length != result.length))
            return {false, 0};
        result.length = *length;
        seen = true;
    }
    return result;
}

HTTPRequestFrame rejected()
{
    HTTPRequestFrame frame;
    frame.status = HTTPRequestFrame::Status::Rejected;
    return frame;
}

} // namespace

HTTPRequestFrame HTTPRequestFrame::examine(QByteArrayView buffer)
{
    const qsizetype headEnd = buffer.indexOf(HeadEnd);
    if (headEnd < 0)
        return buffer.size() > MaxRequestSize ? rejected() : HTTPRequestFrame{};

    HTTPRequestFrame frame;
    frame.headLength = headEnd + HeadEnd.size();
    if (frame.headLength > MaxRequestSize)
        return rejected();

    // The header lines lie between the request line and the empty line; each
    // keeps its own CR LF. A head that is only CR LF CR LF has none.
    const qsizetype requestLineEnd = buffer.indexOf(LineEnd);
    const qsizetype headersStart = requestLineEnd + LineEnd.size();
    const QByteArrayView headerLines =
        headersStart < frame.headLength - qsizetype(LineEnd.size())
            ? buffer.sliced(headersStart, frame.headLength - LineEnd.size() - headersStart)
            : QByteArrayView();
    const BodyLength body = bodyLength(headerLines);
    if (!body.valid || frame.headLength + body.length > MaxRequestSize)
        return rejected();

    if (buffer.size() < frame.headLength + body.length)
        return frame;
    frame.status = Status::Complete;
    frame.totalLength = frame.headLength + body.length;
    return frame;
}
