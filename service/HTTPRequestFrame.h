#pragma once

#include <cstddef>
#include <string_view>

// Where one HTTP request ends in the bytes received on a connection so far.
//
// A request is its head, up to and including the first CR LF CR LF, and then
// its body. With a Content-Length header the body is that many bytes. Without
// one the body is whatever came in the same read as the end of the head: the
// connection asks after each read, with everything received so far, and the
// first answer that is not Incomplete is final, so bytes sent later are not
// part of the request. Bytes after the request are not part of it.
//
// A head with a Transfer-Encoding header is refused: its body is framed in
// chunks, which are not a body this listener takes.
//
// examine() keeps no state: its answer depends on the buffer alone. It uses
// the standard library only, so it can be fuzzed on its own.
class HTTPRequestFrame {
public:
    enum class Status {
        Incomplete, // wait for more bytes
        Complete,   // the first totalLength bytes are the request
        Rejected,   // malformed or refused framing, or larger than MaxRequestSize
    };

    // Head and body together may not be larger than this.
    static constexpr std::size_t MaxRequestSize = 64 * 1024;

    static HTTPRequestFrame examine(std::string_view buffer);

    Status status = Status::Incomplete;
    std::size_t headLength = 0;  // the head, its closing CR LF CR LF included
    std::size_t totalLength = 0; // head and body; set when Complete
};
