#include "JsonSettingsFormat.h"

#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>

const QString JsonSettingsFormat::FileExtension = QStringLiteral("json");

QSettings::Format JsonSettingsFormat::format()
{
    static const QSettings::Format registered =
        QSettings::registerFormat(FileExtension, &JsonSettingsFormat::read, &JsonSettingsFormat::write,
                                  Qt::CaseSensitive);
    return registered;
}

bool JsonSettingsFormat::read(QIODevice& device, QSettings::SettingsMap& map)
{
    const QByteArray text = device.readAll();
    if (text.trimmed().isEmpty())
        return true;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject object = document.object();
    for (auto member = object.begin(); member != object.end(); ++member)
        map.insert(member.key(), member.value().toVariant());
    return true;
}

bool JsonSettingsFormat::write(QIODevice& device, const QSettings::SettingsMap& map)
{
    QJsonObject object;
    for (auto entry = map.begin(); entry != map.end(); ++entry)
        object.insert(entry.key(), QJsonValue::fromVariant(entry.value()));
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
    return device.write(text) == text.size();
}
