#pragma once

#include "StoreContents.h"

#include <QJsonObject>

// The unit store's file layout:
//
//   { "lists": { "<list name>": [ { "name": text, "ID": text,
//                                   "dimmable": true|false, "value": integer }, ... ] },
//     "accounts": [ { "user": text, "password": text, "address": text }, ... ] }
//
// Both members may be left out: no lists, no accounts.
class StoreJson {
public:
    // Throws StandinError naming the file and the first member that does not
    // fit.
    static StoreContents read(const QJsonObject& root, const QString& fileName);
    static QJsonObject write(const StoreContents& contents);

private:
    explicit StoreJson(QString fileName) : m_fileName(std::move(fileName)) {}

    QList<Unit> readUnits(const QJsonValue& value, const QString& where) const;
    Unit readUnit(const QJsonValue& value, const QString& where) const;
    RemoteAccount readAccount(const QJsonValue& value, const QString& where) const;
    QJsonObject object(const QJsonValue& value, const QString& where) const;
    QString text(const QJsonObject& object, QStringView key, const QString& where) const;
    bool boolean(const QJsonObject& object, QStringView key, const QString& where) const;
    qint64 wholeNumber(const QJsonObject& object, QStringView key, const QString& where) const;
    [[noreturn]] void invalid(const QString& where, const QString& problem) const;

    QString m_fileName;
};
