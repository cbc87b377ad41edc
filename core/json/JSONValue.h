#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

class JSONItem;

// One member or element value of a JSONItem.
class JSONValue {
public:
    enum class Kind { Nil, Boolean, Int32, Int64, Double, Text, Item };

    JSONValue() = default; // nil
    JSONValue(bool value) : m_value(value) {}
    JSONValue(std::int32_t value) : m_value(value) {}
    JSONValue(std::int64_t value) : m_value(value) {}
    JSONValue(double value) : m_value(value) {}
    // Texts are made in their place in the value: no temporary is moved.
    JSONValue(std::string value) : m_value(std::in_place_type<std::string>, std::move(value)) {}
    JSONValue(const char* value) : m_value(std::in_place_type<std::string>, value) {}
    JSONValue(std::shared_ptr<JSONItem> item) : m_value(std::move(item)) {}

    Kind kind() const { return static_cast<Kind>(m_value.index()); }
    bool isNil() const { return kind() == Kind::Nil; }
    bool isInteger() const { return kind() == Kind::Int32 || kind() == Kind::Int64; }

    // Typed reads. Each throws std::runtime_error when the value is of
    // another kind: no conversion between kinds is made.
    bool toBoolean() const;
    std::int64_t toInteger() const; // a 32- or 64-bit integer
    double toDouble() const;
    const std::string& toText() const;
    const std::shared_ptr<JSONItem>& toItem() const;

private:
    std::variant<std::monostate, bool, std::int32_t, std::int64_t, double, std::string,
                 std::shared_ptr<JSONItem>>
        m_value;
};
