#include "JSONValue.h"

#include <stdexcept>

namespace {

const char* const NotBoolean = "JSON value is not a Boolean";
const char* const NotInteger = "JSON value is not an integer";
const char* const NotDouble = "JSON value is not a double";
const char* const NotText = "JSON value is not a text";
const char* const NotItem = "JSON value is not an object or array";

} // namespace

bool JSONValue::toBoolean() const
{
    if (const bool* value = std::get_if<bool>(&m_value))
        return *value;
    throw std::runtime_error(NotBoolean);
}

std::int64_t JSONValue::toInteger() const
{
    if (const std::int32_t* value = std::get_if<std::int32_t>(&m_value))
        return *value;
    if (const std::int64_t* value = std::get_if<std::int64_t>(&m_value))
        return *value;
    throw std::runtime_error(NotInteger);
}

double JSONValue::toDouble() const
{
    if (const double* value = std::get_if<double>(&m_value))
        return *value;
    throw std::runtime_error(NotDouble);
}

const std::string& JSONValue::toText() const
{
    if (const std::string* value = std::get_if<std::string>(&m_value))
        return *value;
    throw std::runtime_error(NotText);
}

const std::shared_ptr<JSONItem>& JSONValue::toItem() const
{
    if (const auto* value = std::get_if<std::shared_ptr<JSONItem>>(&m_value))
        return *value;
    throw std::runtime_error(NotItem);
}
