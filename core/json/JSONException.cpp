#include "JSONException.h"

#include <algorithm>

namespace {

const char* const PositionSeparator = " at position ";
const char* const DetailSeparator = ": ";

bool isBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r';
    });
}

std::string withPosition(const std::string& message, std::int64_t position)
{
    // Position 0 is the first byte; nothing is appended for it.
    return position > 0 ? message + PositionSeparator + std::to_string(position) : message;
}

std::string withDetail(const std::string& message, const std::string& detail)
{
    return isBlank(detail) ? message : message + DetailSeparator + detail;
}

} // namespace

JSONException::JSONException(const std::string& message, int errorNumber, std::int64_t position)
    : std::runtime_error(withPosition(message, position))
    , m_message(what())
    , m_errorNumber(errorNumber)
{
}

JSONException::JSONException(const std::string& message, int errorNumber, const std::string& detail)
    : std::runtime_error(withDetail(message, detail))
    , m_message(what())
    , m_errorNumber(errorNumber)
{
}
