#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// The growable byte buffer that a rendering is written into. The bytes grow
// in place beyond the written size, so that each piece costs one bounds
// check and one copy rather than a call into std::string.
class JSONStringBuffer {
public:
    JSONStringBuffer();

    void append(char c) { *room(1) = c; }
    void append(std::string_view bytes)
    {
        if (!bytes.empty())
            std::memcpy(room(bytes.size()), bytes.data(), bytes.size());
    }
    // Space for count more bytes at the end, which then count as written.
    char* room(std::size_t count)
    {
        if (m_bytes.size() - m_size < count)
            grow(count);
        char* at = m_bytes.data() + m_size;
        m_size += count;
        return at;
    }

    // The bytes written so far; the buffer is left empty.
    std::string take();

private:
    // Out of line, so that room stays small enough to inline.
    void grow(std::size_t count);

    std::string m_bytes;
    std::size_t m_size = 0;
};
