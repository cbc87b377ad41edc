#include "SettingsValue.h"

SettingsValue SettingsValue::boolean(bool value)
{
    return SettingsValue(QVariant(value));
}

SettingsValue SettingsValue::text(const QString& value)
{
    return SettingsValue(QVariant(value));
}

SettingsValue SettingsValue::fromVariant(const QVariant& value)
{
    return SettingsValue(value);
}

SettingsValue::Type SettingsValue::type() const
{
    if (!m_value.isValid())
        return Type::Absent;
    switch (m_value.typeId()) {
    case QMetaType::Bool:
        return Type::Boolean;
    case QMetaType::QString:
        return Type::Text;
    default:
        return Type::Other;
    }
}
