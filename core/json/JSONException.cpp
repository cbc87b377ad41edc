#include "JSONException.h"

#include "JSONWhiteSpace.h"

namespace {

const char* const PositionSeparator = " at position ";
const char* const DetailSeparator = ": ";

std::string withPosition(const std::string& message, std::int64_t position)
{
    // Position 0 is the first byte; nothing is appended for it.
    return position > 0 ? message + PositionSeparator + std::to_string(position) : message;
}

std::string withDetail(const std::string& message, const std::string& detail)
{
    return JSONWhiteSpace::isBlank(detail) ? message : message + DetailSeparator + detail;
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
