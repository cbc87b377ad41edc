// The completeness of a request is a function of the bytes alone. Fed one
// more byte at a time, as a connection asks after each read, the first answer
// given is final: later buffers give the same status, and a complete request
// keeps its length, or, when its body is unannounced, takes the whole buffer.
// The lengths it reports always lie inside the buffer, and a complete request
// examined on its own frames itself the same way.

#include "HTTPRequestFrame.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

[[noreturn]] void fault(const char* what, std::size_t prefix)
{
    std::fprintf(stderr, "%s (after %zu bytes)\n", what, prefix);
    std::abort();
}

using Status = HTTPRequestFrame::Status;

void checkInside(const HTTPRequestFrame& frame, std::string_view buffer)
{
    if (frame.status != Status::Complete)
        return;
    if (frame.totalLength > buffer.size() || frame.headLength > frame.totalLength)
        fault("a complete request reaches past the bytes it was given", buffer.size());
    const HTTPRequestFrame alone = HTTPRequestFrame::examine(buffer.substr(0, frame.totalLength));
    if (alone.status != Status::Complete || alone.totalLength != frame.totalLength)
        fault("a complete request examined on its own frames itself differently", buffer.size());
}

// Whether a later answer keeps to the one settled at settledAt bytes.
bool keepsTo(const HTTPRequestFrame& frame, std::size_t prefix, const HTTPRequestFrame& settled,
             std::size_t settledAt)
{
    if (frame.status != settled.status)
        return false;
    if (frame.status != Status::Complete)
        return true;
    const bool unannounced = settled.totalLength == settledAt && frame.totalLength == prefix;
    return frame.totalLength == settled.totalLength || unannounced;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    HTTPRequestFrame settled;
    std::size_t settledAt = 0;
    for (std::size_t prefix = 0; prefix <= bytes.size(); ++prefix) {
        const HTTPRequestFrame frame = HTTPRequestFrame::examine(bytes.substr(0, prefix));
        checkInside(frame, bytes.substr(0, prefix));
        if (settled.status == Status::Incomplete) {
            settled = frame;
            settledAt = prefix;
            continue;
        }
        if (!keepsTo(frame, prefix, settled, settledAt))
            fault("more bytes changed an answer already given", settledAt);
    }
    return 0;
}
