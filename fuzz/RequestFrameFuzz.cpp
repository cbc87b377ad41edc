// The completeness of a request is a function of the bytes alone: feeding a
// buffer one more byte at a time never changes an answer once it is given,
// and the lengths it reports always lie inside the buffer.

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    using Status = HTTPRequestFrame::Status;
    HTTPRequestFrame settled;
    std::size_t settledAt = 0;
    for (std::size_t prefix = 0; prefix <= bytes.size(); ++prefix) {
        const HTTPRequestFrame frame = HTTPRequestFrame::examine(bytes.substr(0, prefix));
        if (frame.status == Status::Complete
            && (frame.totalLength > prefix || frame.headLength > frame.totalLength))
            fault("a complete request reaches past the bytes it was given", prefix);
        if (settled.status == Status::Incomplete) {
            settled = frame;
            settledAt = prefix;
            continue;
        }
        if (frame.status != settled.status
            || (frame.status == Status::Complete && frame.totalLength != settled.totalLength))
            fault("more bytes changed an answer already given", settledAt);
    }
    return 0;
}
