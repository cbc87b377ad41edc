#include "JSONFailures.h"

#include "JSONException.h"

void JSONFailures::raise(const Failure& failure, std::int64_t position)
{
    throw JSONException(failure.message, failure.number, position);
}

void JSONFailures::raise(const Failure& failure, const std::string& detail)
{
    throw JSONException(failure.message, failure.number, detail);
}
