#include "JSONNameIndex.h"

namespace {

constexpr std::size_t MinimumSlots = 64;
// FNV-1a: names are short ("0" to "999" in a light list), and a simple
// byte-wise hash costs less on them than a general one.
constexpr std::uint64_t HashOffset = 14695981039346656037ull;
constexpr std::uint64_t HashPrime = 1099511628211ull;

} // namespace

std::size_t JSONNameIndex::hashOf(std::string_view name)
{
    std::uint64_t hash = HashOffset;
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(c)) * HashPrime;
    return static_cast<std::size_t>(hash);
}

std::size_t JSONNameIndex::find(std::string_view name, std::size_t hash,
                                const JSONMemberList& members) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t entry = m_slots[slot];
        if (entry == 0)
            return NotFound;
        if (members[entry - 1].name == name)
            return entry - 1;
    }
}

void JSONNameIndex::add(std::size_t position, std::size_t hash, const JSONMemberList& members)
{
    if ((m_count + 1) * 2 > m_slots.size()) {
        rebuild(members);
        return;
    }
    place(position, hash);
}

void JSONNameIndex::rebuild(const JSONMemberList& members)
{
    fill(slotsFor(members.size()), members);
}

void JSONNameIndex::reserve(std::size_t count, const JSONMemberList& members)
{
    if (slotsFor(count) > m_slots.size())
        fill(slotsFor(count), members);
}

void JSONNameIndex::fill(std::size_t slots, const JSONMemberList& members)
{
    m_slots.assign(slots, 0);
    m_count = 0;
    for (std::size_t position = 0; position < members.size(); ++position)
        place(position, hashOf(members[position].name));
}

std::size_t JSONNameIndex::slotsFor(std::size_t count)
{
    std::size_t slots = MinimumSlots;
    while (slots < count * 2)
        slots *= 2;
    return slots;
}

void JSONNameIndex::place(std::size_t position, std::size_t hash)
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = hash & mask;
    while (m_slots[slot] != 0)
        slot = (slot + 1) & mask;
    m_slots[slot] = static_cast<std::uint32_t>(position + 1);
    ++m_count;
}
