#include "UnitStore.h"

#include "ScriptLines.h"
#include "StandinError.h"
#include "StoreJson.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString StoreFile = QStringLiteral("Halvory/units.json");

const QString CannotRead = QStringLiteral("The unit store %1 cannot be read: %2.");
const QString CannotWrite = QStringLiteral("The unit store %1 cannot be written: %2.");
const QString DoesNotParse = QStringLiteral("The unit store %1 does not parse: %2 at offset %3.");
const QString NotAnObject = QStringLiteral("The unit store %1 does not hold a JSON object.");
const QString NoFolder = QStringLiteral("cannot make its folder");

constexpr QByteArrayView ByteOrderMark = "\xEF\xBB\xBF";
constexpr QByteArrayView ByteOrderMarkEscape = "\\ufeff";

// Qt's JSON reader drops a U+FEFF that begins a string, as if it began the
// file, but keeps its escape; so the store is written with the escape, and a
// mark that someone wrote into the file is read as one. Past the first byte
// the mark can stand in a string only: anywhere else the text is no JSON
// either way. The offset of a parse error counts each escape's three more
// bytes.
QByteArray withByteOrderMarksEscaped(const QByteArray& text)
{
    const qsizetype start = text.startsWith(ByteOrderMark) ? ByteOrderMark.size() : 0;
    return text.first(start) + text.sliced(start).replace(ByteOrderMark, ByteOrderMarkEscape);
}

} // namespace

QString UnitStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u'/' + StoreFile;
}

UnitStore::UnitStore(QString path)
    : m_path(std::move(path))
{
    if (QFileInfo::exists(m_path)) {
        load();
    } else {
        m_contents = demo();
        save();
    }
}

bool UnitStore::accepts(const RemoteAccount& account) const
{
    return m_contents.accounts.contains(account);
}

void UnitStore::save() const
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        throw StandinError(CannotWrite.arg(m_path, NoFolder));
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        throw StandinError(CannotWrite.arg(m_path, file.errorString()));
    file.write(withByteOrderMarksEscaped(QJsonDocument(StoreJson::write(m_contents)).toJson(QJsonDocument::Indented)));
    if (!file.commit())
        throw StandinError(CannotWrite.arg(m_path, file.errorString()));
}

// A few lights to show at once: two dimmable units, one of them on, and two
// switches, one of them on.
StoreContents UnitStore::demo()
{
    StoreContents contents;
    contents.lists.insert(ScriptLines::UnitListName.toString(),
                          {
                              {QStringLiteral("Kitchen Light"), QStringLiteral("101"), true, 60},
                              {QStringLiteral("Reading Lamp"), QStringLiteral("102"), true, 0},
                              {QStringLiteral("Porch Light"), QStringLiteral("103"), false, 1},
                              {QStringLiteral("Coffee Maker"), QStringLiteral("104"), false, 0},
                          });
    return contents;
}

void UnitStore::load()
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        throw StandinError(CannotRead.arg(m_path, file.errorString()));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(withByteOrderMarksEscaped(file.readAll()), &error);
    if (error.error != QJsonParseError::NoError)
        throw StandinError(DoesNotParse.arg(m_path, error.errorString(), QString::number(error.offset)));
    if (!document.isObject())
        throw StandinError(NotAnObject.arg(m_path));
    m_contents = StoreJson::read(document.object(), m_path);
}
