#pragma once

#include "JSONMemberList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Hash index over the member names of one large object, so that adding n
// members costs O(n) rather than O(n^2). Open addressing over positions into
// the object's member list; members are never removed, so no tombstones.
// Callers hash a name once and pass the hash to both find and add.
// The README's benchmarks show what this buys over a std::unordered_map.
class JSONNameIndex {
public:
    static constexpr std::size_t NotFound = static_cast<std::size_t>(-1);

    static std::size_t hashOf(std::string_view name);

    bool isActive() const { return !m_slots.empty(); }
    std::size_t find(std::string_view name, std::size_t hash, const JSONMemberList& members) const;
    // Records members[position], whose name the index does not hold yet.
    void add(std::size_t position, std::size_t hash, const JSONMemberList& members);
    void rebuild(const JSONMemberList& members);
    // Makes room for count names at once, so that adding that many rebuilds
    // nothing; the index is active from then on.
    void reserve(std::size_t count, const JSONMemberList& members);

private:
    static std::size_t slotsFor(std::size_t count);
    void fill(std::size_t slots, const JSONMemberList& members);
    void place(std::size_t position, std::size_t hash);

    // Each slot holds a member position + 1; 0 marks a free slot. The slot
    // count is a power of two and at least twice the member count.
    std::vector<std::uint32_t> m_slots;
    std::size_t m_count = 0;
};
