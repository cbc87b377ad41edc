#include "JSONNameIndex.h"

#include <functional>

namespace {

constexpr std::size_t MinimumSlots = 64;

} // namespace

std::size_t JSONNameIndex::hashOf(std::string_view name)
{
    return std::hash<std::string_view>{}(name);
}

std::size_t JSONNameIndex::find(std::string_view name, const JSONMemberList& members) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hashOf(name) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t entry = m_slots[slot];
        if (entry == 0)
            return NotFound;
        if (members[entry - 1].name == name)
            return entry - 1;
    }
}

void JSONNameIndex::add(std::size_t position, const JSONMemberList& members)
{
    if ((m_count + 1) * 2 > m_slots.size()) {
        rebuild(members);
        return;
    }
    place(position, members[position].name);
}

void JSONNameIndex::rebuild(const JSONMemberList& members)
{
    std::size_t slots = MinimumSlots;
    while (slots < members.size() * 2)
        slots *= 2;
    m_slots.assign(slots, 0);
    m_count = 0;
    for (std::size_t position = 0; position < members.size(); ++position)
        place(position, members[position].name);
}

void JSONNameIndex::place(std::size_t position, std::string_view name)
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = hashOf(name) & mask;
    while (m_slots[slot] != 0)
        slot = (slot + 1) & mask;
    m_slots[slot] = static_cast<std::uint32_t>(position + 1);
    ++m_count;
}
