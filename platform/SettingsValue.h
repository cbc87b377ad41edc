#pragma once

#include <QString>
#include <QVariant>

// A value read from or written to the settings store. The store tells its
// Boolean and text types apart from each other, from every other type
// (numbers, lists) and from an absent key.
class SettingsValue {
public:
    enum class Type { Absent, Boolean, Text, Other };

    SettingsValue() = default; // absent
    static SettingsValue boolean(bool value);
    static SettingsValue text(const QString& value);
    // Wraps a value as the store holds it; an invalid QVariant is absent.
    static SettingsValue fromVariant(const QVariant& value);

    Type type() const;
    bool isBoolean() const { return type() == Type::Boolean; }
    bool isText() const { return type() == Type::Text; }
    bool toBool() const { return m_value.toBool(); }
    QString toText() const { return m_value.toString(); }
    const QVariant& variant() const { return m_value; }

private:
    explicit SettingsValue(QVariant value) : m_value(std::move(value)) {}
    QVariant m_value;
};
