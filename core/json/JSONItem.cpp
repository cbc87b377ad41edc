#include "JSONItem.h"

#include "JSONFailures.h"
#include "JSONParser.h"
#include "JSONWhiteSpace.h"
#include "JSONWriter.h"

#include <stdexcept>

namespace {

// Objects up to this many members are searched linearly; larger ones keep a
// hash index of their names. Light objects and states, with five and four
// members, never need one.
constexpr std::size_t LinearSearchLimit = 8;

const char* const NoSuchIndex = "JSONItem has no element at index ";
const char* const NoSuchName = "JSONItem has no member named ";

} // namespace

JSONItem::JSONItem() = default;

JSONItem::JSONItem(std::string_view text)
{
    if (!JSONWhiteSpace::isBlank(text))
        JSONParser(text).parse(*this);
}

JSONItem::~JSONItem() = default;

bool JSONItem::IsArray() const
{
    return m_isArray;
}

std::int64_t JSONItem::Count() const
{
    return static_cast<std::int64_t>(m_isArray ? m_elements.size() : m_members.size());
}

bool JSONItem::HasName(std::string_view name) const
{
    return !m_isArray && findMember(name) != JSONNameIndex::NotFound;
}

const JSONValue& JSONItem::Value(std::int64_t index) const
{
    if (!m_isArray && !m_members.empty())
        JSONFailures::raise(JSONFailures::NotAnArray);
    if (index < 0 || static_cast<std::uint64_t>(index) >= m_elements.size())
        throw std::out_of_range(NoSuchIndex + std::to_string(index));
    return m_elements[static_cast<std::size_t>(index)];
}

const JSONValue& JSONItem::Value(std::string_view name) const
{
    if (m_isArray)
        JSONFailures::raise(JSONFailures::IsAnArray);
    const std::size_t position = findMember(name);
    if (position == JSONNameIndex::NotFound)
        throw std::out_of_range(NoSuchName + std::string(name));
    return m_members[position].value;
}

void JSONItem::Value(std::string_view name, JSONValue value)
{
    if (m_isArray)
        JSONFailures::raise(JSONFailures::IsAnArray);
    setMember(name, std::move(value));
}

void JSONItem::Reserve(std::int64_t count)
{
    if (count <= 0)
        return;
    m_members.reserve(static_cast<std::size_t>(count));
    if (static_cast<std::size_t>(count) > LinearSearchLimit)
        m_index.reserve(static_cast<std::size_t>(count), m_members);
}

std::string JSONItem::ToString() const
{
    return JSONWriter::render(*this);
}

std::size_t JSONItem::findMember(std::string_view name) const
{
    if (m_index.isActive())
        return m_index.find(name, JSONNameIndex::hashOf(name), m_members);
    for (std::size_t position = 0; position < m_members.size(); ++position) {
        if (m_members[position].name == name)
            return position;
    }
    return JSONNameIndex::NotFound;
}

// A name already present keeps its place; only its value changes. A new
// member is built in place: no temporary name or member is made and moved.
void JSONItem::setMember(std::string_view name, JSONValue&& value)
{
    if (m_index.isActive()) {
        setIndexedMember(name, std::move(value));
        return;
    }
    const std::size_t position = findMember(name);
    if (position != JSONNameIndex::NotFound) {
        m_members[position].value = std::move(value);
        return;
    }
    m_members.emplace_back(name, std::move(value));
    if (m_members.size() > LinearSearchLimit)
        m_index.rebuild(m_members);
}

// The name is hashed once, for the search and for the new entry.
void JSONItem::setIndexedMember(std::string_view name, JSONValue&& value)
{
    const std::size_t hash = JSONNameIndex::hashOf(name);
    const std::size_t position = m_index.find(name, hash, m_members);
    if (position != JSONNameIndex::NotFound) {
        m_members[position].value = std::move(value);
        return;
    }
    m_members.emplace_back(name, std::move(value));
    m_index.add(m_members.size() - 1, hash, m_members);
}
