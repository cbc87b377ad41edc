#include "StoreJson.h"

#include "StandinError.h"

#include <QJsonArray>
#include <limits>

namespace {

const QString ListsKey = QStringLiteral("lists");
const QString AccountsKey = QStringLiteral("accounts");
const QString NameKey = QStringLiteral("name");
const QString IDKey = QStringLiteral("ID");
const QString DimmableKey = QStringLiteral("dimmable");
const QString ValueKey = QStringLiteral("value");
const QString UserKey = QStringLiteral("user");
const QString PasswordKey = QStringLiteral("password");
const QString AddressKey = QStringLiteral("address");

const QString InvalidStore = QStringLiteral("The unit store %1 is not valid: %2 %3.");
const QString Quoted = QStringLiteral("\"%1\"");
const QString ListPlace = QStringLiteral("list \"%1\"");
const QString UnitPlace = QStringLiteral("unit %1 of list \"%2\":");
const QString AccountPlace = QStringLiteral("account %1:");
const QString NotObject = QStringLiteral("is not an object");
const QString NotArray = QStringLiteral("is not an array");
const QString NotText = QStringLiteral("\"%1\" is not a text");
const QString NotBoolean = QStringLiteral("\"%1\" is not true or false");
const QString NotWholeNumber = QStringLiteral("\"%1\" is not a whole number");

} // namespace

StoreContents StoreJson::read(const QJsonObject& root, const QString& fileName)
{
    const StoreJson reader(fileName);
    StoreContents contents;
    const QJsonValue lists = root.value(ListsKey);
    if (!lists.isObject() && !lists.isUndefined())
        reader.invalid(Quoted.arg(ListsKey), NotObject);
    const QJsonObject listObject = lists.toObject();
    for (auto it = listObject.begin(); it != listObject.end(); ++it)
        contents.lists.insert(it.key(), reader.readUnits(it.value(), it.key()));

    const QJsonValue accountList = root.value(AccountsKey);
    if (!accountList.isArray() && !accountList.isUndefined())
        reader.invalid(Quoted.arg(AccountsKey), NotArray);
    const QJsonArray accounts = accountList.toArray();
    for (qsizetype i = 0; i < accounts.size(); ++i)
        contents.accounts.append(reader.readAccount(accounts[i], AccountPlace.arg(i + 1)));
    return contents;
}

QJsonObject StoreJson::write(const StoreContents& contents)
{
    QJsonObject lists;
    for (auto it = contents.lists.begin(); it != contents.lists.end(); ++it) {
        QJsonArray units;
        for (const Unit& unit : *it)
            units.append(QJsonObject{{NameKey, unit.name},
                                     {IDKey, unit.id},
                                     {DimmableKey, unit.dimmable},
                                     {ValueKey, unit.value}});
        lists.insert(it.key(), units);
    }
    QJsonArray accounts;
    for (const RemoteAccount& account : contents.accounts)
        accounts.append(QJsonObject{{UserKey, account.user},
                                    {PasswordKey, account.password},
                                    {AddressKey, account.address}});
    return {{ListsKey, lists}, {AccountsKey, accounts}};
}

QList<Unit> StoreJson::readUnits(const QJsonValue& value, const QString& listName) const
{
    if (!value.isArray())
        invalid(ListPlace.arg(listName), NotArray);
    const QJsonArray array = value.toArray();
    QList<Unit> units;
    for (qsizetype i = 0; i < array.size(); ++i)
        units.append(readUnit(array[i], UnitPlace.arg(QString::number(i + 1), listName)));
    return units;
}

Unit StoreJson::readUnit(const QJsonValue& value, const QString& where) const
{
    const QJsonObject unit = object(value, where);
    return {text(unit, NameKey, where), text(unit, IDKey, where), boolean(unit, DimmableKey, where),
            wholeNumber(unit, ValueKey, where)};
}

RemoteAccount StoreJson::readAccount(const QJsonValue& value, const QString& where) const
{
    const QJsonObject account = object(value, where);
    return {text(account, UserKey, where), text(account, PasswordKey, where),
            text(account, AddressKey, where)};
}

QJsonObject StoreJson::object(const QJsonValue& value, const QString& where) const
{
    if (!value.isObject())
        invalid(where, NotObject);
    return value.toObject();
}

QString StoreJson::text(const QJsonObject& object, QStringView key, const QString& where) const
{
    const QJsonValue value = object.value(key);
    if (!value.isString())
        invalid(where, NotText.arg(key));
    return value.toString();
}

bool StoreJson::boolean(const QJsonObject& object, QStringView key, const QString& where) const
{
    const QJsonValue value = object.value(key);
    if (!value.isBool())
        invalid(where, NotBoolean.arg(key));
    return value.toBool();
}

qint64 StoreJson::wholeNumber(const QJsonObject& object, QStringView key, const QString& where) const
{
    // toInteger gives its default for a fraction or a number out of range;
    // two different defaults tell that apart from a stored value.
    const QJsonValue value = object.value(key);
    const qint64 number = value.toInteger(std::numeric_limits<qint64>::min());
    if (!value.isDouble() || number != value.toInteger(std::numeric_limits<qint64>::max()))
        invalid(where, NotWholeNumber.arg(key));
    return number;
}

void StoreJson::invalid(const QString& where, const QString& problem) const
{
    throw StandinError(InvalidStore.arg(m_fileName, where, problem));
}
