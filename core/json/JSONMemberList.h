#pragma once

#include "JSONMember.h"

#include <cstddef>
#include <new>
#include <string_view>

// The members of one object, in order of addition. The first few live inside
// the object itself: most objects have a handful, and keeping those in place
// saves an allocation per object and keeps its bytes together. More members
// move to the heap, doubling the room each time it runs out. The README's
// benchmarks show what this buys over a std::vector of members.
class JSONMemberList {
public:
    static constexpr std::size_t InlineCapacity = 5;

    JSONMemberList() = default;
    JSONMemberList(const JSONMemberList& other);
    JSONMemberList(JSONMemberList&& other) noexcept;
    JSONMemberList& operator=(const JSONMemberList& other);
    JSONMemberList& operator=(JSONMemberList&& other) noexcept;
    ~JSONMemberList();

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    std::size_t capacity() const { return m_capacity; }
    JSONMember& operator[](std::size_t position) { return m_data[position]; }
    const JSONMember& operator[](std::size_t position) const { return m_data[position]; }

    void reserve(std::size_t count);
    // The name may view a member of this list: it is copied before any
    // member moves. Adding within the room is made in place at the caller.
    void emplace_back(std::string_view name, JSONValue&& value)
    {
        if (m_size == m_capacity) {
            emplaceGrowing(name, std::move(value));
            return;
        }
        new (m_data + m_size) JSONMember(name, std::move(value));
        ++m_size;
    }

private:
    JSONMember* inlineData() { return reinterpret_cast<JSONMember*>(m_inline); }
    bool isInline() const { return m_data == reinterpret_cast<const JSONMember*>(m_inline); }
    void emplaceGrowing(std::string_view name, JSONValue&& value);
    // Moves the members into storage, fresh heap room for capacity members.
    void relocate(JSONMember* storage, std::size_t capacity);
    void takeFrom(JSONMemberList&& other) noexcept;
    void release() noexcept;

    alignas(JSONMember) unsigned char m_inline[InlineCapacity * sizeof(JSONMember)];
    JSONMember* m_data = inlineData();
    std::size_t m_size = 0;
    std::size_t m_capacity = InlineCapacity;
};
