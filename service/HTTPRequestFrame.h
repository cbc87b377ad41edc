#pragma once

#include <cstddef>
#include <string_view>

// Where one HTTP request ends in the bytes received on a connection so far.
//
// A request is its head, up to and including the first CR LF CR LF, followed
// by as many body bytes as its Content-Length header announces; without that
// header it has no body. Bytes after the request are not part of it.
//
// examine() keeps no state: its answer depends on the buffer alone, so the
// same bytes give the same answer however the network split them. It uses
// the standard library only, so it can be fuzzed on its own.
class HTTPRequestFrame {
public:
    enum class Status {
        Incomplete, // wait for more bytes
        Complete,   // the first totalLength bytes are the request
        Rejected,   // malformed framing, or larger than MaxRequestSize
    };

    // Head and body together may not be larger than this.
    static constexpr std::size_t MaxRequestSize = 64 * 1024;

    static HTTPRequestFrame examine(std::string_view buffer);

    Status status = Status::Incomplete;
    std::size_t headLength = 0;  // the head, its closing CR LF CR LF included
    std::size_t totalLength = 0; // head and body; set when Complete
};
