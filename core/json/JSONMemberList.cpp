#include "JSONMemberList.h"

#include <new>
#include <utility>

namespace {

JSONMember* allocate(std::size_t capacity)
{
    return static_cast<JSONMember*>(::operator new(capacity * sizeof(JSONMember)));
}

} // namespace

JSONMemberList::JSONMemberList(const JSONMemberList& other)
{
    reserve(other.m_size);
    for (std::size_t position = 0; position < other.m_size; ++position) {
        new (m_data + position) JSONMember(other.m_data[position]);
        ++m_size;
    }
}

JSONMemberList::JSONMemberList(JSONMemberList&& other) noexcept
{
    takeFrom(std::move(other));
}

JSONMemberList& JSONMemberList::operator=(const JSONMemberList& other)
{
    if (this != &other)
        *this = JSONMemberList(other);
    return *this;
}

JSONMemberList& JSONMemberList::operator=(JSONMemberList&& other) noexcept
{
    if (this != &other) {
        release();
        takeFrom(std::move(other));
    }
    return *this;
}

JSONMemberList::~JSONMemberList()
{
    release();
}

void JSONMemberList::reserve(std::size_t count)
{
    if (count > m_capacity)
        relocate(allocate(count), count);
}

// The new member is made before the others move: its name may view one.
void JSONMemberList::emplaceGrowing(std::string_view name, JSONValue&& value)
{
    const std::size_t capacity = m_capacity * 2;
    JSONMember* storage = allocate(capacity);
    try {
        new (storage + m_size) JSONMember(name, std::move(value));
    } catch (...) {
        ::operator delete(storage);
        throw;
    }
    relocate(storage, capacity);
    ++m_size;
}

// Members move without throwing: a name and a value each move by pointer.
void JSONMemberList::relocate(JSONMember* storage, std::size_t capacity)
{
    for (std::size_t position = 0; position < m_size; ++position) {
        new (storage + position) JSONMember(std::move(m_data[position]));
        m_data[position].~JSONMember();
    }
    if (!isInline())
        ::operator delete(m_data);
    m_data = storage;
    m_capacity = capacity;
}

// Leaves other empty and in place, so that it stays usable.
void JSONMemberList::takeFrom(JSONMemberList&& other) noexcept
{
    if (other.isInline()) {
        m_data = inlineData();
        m_capacity = InlineCapacity;
        m_size = 0;
        for (std::size_t position = 0; position < other.m_size; ++position) {
            new (m_data + position) JSONMember(std::move(other.m_data[position]));
            ++m_size;
        }
        other.release();
        return;
    }
    m_data = other.m_data;
    m_size = other.m_size;
    m_capacity = other.m_capacity;
    other.m_data = other.inlineData();
    other.m_size = 0;
    other.m_capacity = InlineCapacity;
}

// Destroys every member and frees heap room; the list is then empty, in place.
void JSONMemberList::release() noexcept
{
    for (std::size_t position = 0; position < m_size; ++position)
        m_data[position].~JSONMember();
    if (!isInline())
        ::operator delete(m_data);
    m_data = inlineData();
    m_size = 0;
    m_capacity = InlineCapacity;
}
