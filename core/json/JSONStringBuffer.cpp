#include "JSONStringBuffer.h"

#include <algorithm>
#include <utility>

namespace {

// Most renderings (one light, a success reply) fit without growing.
constexpr std::size_t InitialCapacity = 1024;

} // namespace

JSONStringBuffer::JSONStringBuffer()
    : m_bytes(InitialCapacity, '\0')
{
}

std::string JSONStringBuffer::take()
{
    m_bytes.resize(m_size);
    m_size = 0;
    return std::move(m_bytes);
}

// Doubling keeps the copies of a long rendering linear in its length.
void JSONStringBuffer::grow(std::size_t count)
{
    m_bytes.resize(std::max(m_bytes.size() * 2, m_size + count));
}
