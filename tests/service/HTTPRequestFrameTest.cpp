#include "HTTPRequestFrame.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using Status = HTTPRequestFrame::Status;

// How a complete request's body ends: where its Content-Length says, or with
// the read that completed its head.
enum class Body { Announced, CameWithHead };

struct FrameCase {
    const char* name;
    QByteArray buffer;
    Status status;
    std::size_t totalLength; // when Complete, with the buffer arriving in one read
    Body body = Body::Announced;
};

// Test names carry the row name; print it instead of the row's bytes.
void PrintTo(const FrameCase& row, std::ostream* out)
{
    *out << row.name;
}

const QByteArray Oversize(qsizetype(HTTPRequestFrame::MaxRequestSize) + 1, 'a');

// A PUT whose head and announced body make `total` bytes.
QByteArray putOfSize(std::size_t total)
{
    const QByteArray head = "PUT /x HTTP/1.1\r\nContent-Length: 00000\r\n\r\n";
    const qsizetype body = qsizetype(total) - head.size();
    return QByteArray(head).replace("00000", QByteArray::number(body).rightJustified(5, '0'))
        + QByteArray(body, 'a');
}

const FrameCase frameCases[] = {
    {"Empty", "", Status::Incomplete, 0},
    {"RequestLineOnly", "GET / HTTP/1.1\r\n", Status::Incomplete, 0},
    {"HeadWithoutHeaders", "GET / HTTP/1.1\r\n\r\n", Status::Complete, 18, Body::CameWithHead},
    {"OnlyTheEmptyLine", "\r\n\r\n", Status::Complete, 4, Body::CameWithHead},
    {"LineFeedsOnly", "GET / HTTP/1.1\nHost: a\n\n", Status::Incomplete, 0},
    {"NoContentLengthBodyCameWithHead", "PUT /x HTTP/1.1\r\nHost: a\r\n\r\n{\"on\":true}",
     Status::Complete, 39, Body::CameWithHead},
    {"BodyComplete", "PUT /x HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc", Status::Complete, 41},
    {"BodyMissingOneByte", "PUT /x HTTP/1.1\r\nContent-Length: 3\r\n\r\nab", Status::Incomplete,
     0},
    {"BytesAfterBodyIgnored", "PUT /x HTTP/1.1\r\nContent-Length: 3\r\n\r\nabcGET", Status::Complete,
     41},
    {"NameInAnyCaseValueBlanks", "PUT /x HTTP/1.1\r\ncontent-LENGTH: \t2 \r\n\r\nab",
     Status::Complete, 42},
    {"ZeroLength", "PUT /x HTTP/1.1\r\nContent-Length: 0\r\n\r\nabc", Status::Complete, 38},
    {"AgreeingLengths", "PUT /x HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 1\r\n\r\na",
     Status::Complete, 58},
    {"DifferingLengths", "PUT /x HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab",
     Status::Rejected, 0},
    {"NegativeLength", "PUT /x HTTP/1.1\r\nContent-Length: -1\r\n\r\n", Status::Rejected, 0},
    {"LengthNotANumber", "PUT /x HTTP/1.1\r\nContent-Length: 1x\r\n\r\n", Status::Rejected, 0},
    {"EmptyLength", "PUT /x HTTP/1.1\r\nContent-Length:\r\n\r\n", Status::Rejected, 0},
    {"LengthPastLimit", "PUT /x HTTP/1.1\r\nContent-Length: 65536\r\n\r\n", Status::Rejected, 0},
    {"HeadAndBodyAtLimit", putOfSize(HTTPRequestFrame::MaxRequestSize), Status::Complete,
     HTTPRequestFrame::MaxRequestSize},
    {"HeadAndBodyOneBytePastLimit", putOfSize(HTTPRequestFrame::MaxRequestSize + 1), Status::Rejected, 0},
    {"LengthBeyond64Bits", "PUT /x HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n",
     Status::Rejected, 0},
    {"HeaderMentioningLengthInValue", "GET / HTTP/1.1\r\nX-Note: Content-Length: 5\r\n\r\n",
     Status::Complete, 45, Body::CameWithHead},
    {"Chunked", "PUT /x HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\nb\r\n{\"on\":true}\r\n0\r\n\r\n",
     Status::Rejected, 0},
    {"ChunkedWithLength",
     "PUT /x HTTP/1.1\r\nContent-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\nabc",
     Status::Rejected, 0},
    {"TransferEncodingInAnyCase", "PUT /x HTTP/1.1\r\ntransfer-ENCODING : identity\r\n\r\n",
     Status::Rejected, 0},
    {"UnannouncedBodyPastLimit", "PUT /x HTTP/1.1\r\n\r\n" + Oversize, Status::Rejected, 0},
    {"OversizeWithoutHead", Oversize, Status::Rejected, 0},
    {"OversizeHead", "GET /" + Oversize + " HTTP/1.1\r\n\r\n", Status::Rejected, 0},
};

HTTPRequestFrame examine(const QByteArray& buffer)
{
    return HTTPRequestFrame::examine(std::string_view(buffer.constData(), std::size_t(buffer.size())));
}

class HTTPRequestFrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(HTTPRequestFrameTest, FindsTheEndOfTheRequest)
{
    const FrameCase& c = GetParam();
    const HTTPRequestFrame frame = examine(c.buffer);
    EXPECT_EQ(frame.status, c.status);
    if (c.status == Status::Complete) {
        EXPECT_EQ(frame.totalLength, c.totalLength);
    }
}

std::size_t headLength(const QByteArray& request)
{
    return std::size_t(request.indexOf("\r\n\r\n") + 4);
}

// Whatever way the bytes arrive, the request is complete with the read that
// brings its last byte, and not before: the last byte of an announced body,
// or else the end of the head, with the rest of that read as the body. The
// connection asks no further once it has an answer.
TEST(HTTPRequestFramePiecesTest, CompletesWithTheReadThatBringsItsLastByte)
{
    QRandomGenerator random(20240611);
    constexpr int Splits = 20;
    for (const FrameCase& c : frameCases) {
        if (c.status != Status::Complete)
            continue;
        SCOPED_TRACE(c.name);
        const std::size_t completesAt = c.body == Body::Announced ? c.totalLength : headLength(c.buffer);
        for (int split = 0; split < Splits; ++split) {
            QByteArray buffer;
            for (qsizetype at = 0; at < c.buffer.size();) {
                const qsizetype piece = 1 + random.bounded(qsizetype(8));
                buffer += c.buffer.mid(at, piece);
                at += piece;
                const HTTPRequestFrame frame = examine(buffer);
                if (std::size_t(buffer.size()) < completesAt) {
                    ASSERT_EQ(frame.status, Status::Incomplete) << "after " << buffer.size() << " bytes";
                    continue;
                }
                ASSERT_EQ(frame.status, Status::Complete) << "after " << buffer.size() << " bytes";
                const std::size_t expected =
                    c.body == Body::Announced ? c.totalLength : std::size_t(buffer.size());
                ASSERT_EQ(frame.totalLength, expected) << "after " << buffer.size() << " bytes";
                break;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Buffers, HTTPRequestFrameTest, ::testing::ValuesIn(frameCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
