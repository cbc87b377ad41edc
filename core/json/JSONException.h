#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A failure of the JSON item: its message and number. Parse failures carry
// the byte position at which reading stood, appended to the message as
// " at position N" when N > 0.
class JSONException : public std::runtime_error {
public:
    JSONException(const std::string& message, int errorNumber, std::int64_t position);
    JSONException(const std::string& message, int errorNumber, const std::string& detail);

    const std::string& Message() const { return m_message; }
    int ErrorNumber() const { return m_errorNumber; }

private:
    std::string m_message;
    int m_errorNumber;
};
