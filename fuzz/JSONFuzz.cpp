// Any bytes either fail to parse with a JSONException or give an item whose
// rendering parses again to an item that renders the same.

#include "JSONException.h"
#include "JSONItem.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fault(const char* what, const std::string& rendered)
{
    std::fprintf(stderr, "%s\nrendering: %s\n", what, rendered.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string rendered;
    try {
        const JSONItem item(text);
        rendered = item.ToString();
    } catch (const JSONException&) {
        return 0;
    }
    try {
        const JSONItem again(rendered);
        if (again.ToString() != rendered)
            fault("the rendering of the rendering differs", rendered);
    } catch (const JSONException& failure) {
        fault(failure.what(), rendered);
    }
    return 0;
}
