#include "ProcessInfo.h"

ProcessInfo& ProcessInfo::processInfo()
{
    static ProcessInfo instance;
    return instance;
}

std::shared_ptr<ActivityToken> ProcessInfo::beginActivity(quint64 options, const QString& reason)
{
    return std::make_shared<ActivityToken>(options, reason);
}
