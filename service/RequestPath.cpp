#include "RequestPath.h"

#include <QStringList>
#include <charconv>
#include <stdexcept>

QString RequestPath::field(const QString& path, int number)
{
    return path.split(QLatin1Char('/')).value(number - 1);
}

qint64 RequestPath::lightNumber(const QString& field)
{
    const QByteArray text = field.toLatin1();
    const char* begin = text.constData();
    const char* end = begin + text.size();
    qint64 number = 0;
    const std::errc error = std::from_chars(begin, end, number).ec;
    if (error == std::errc::result_out_of_range)
        throw std::out_of_range("light number beyond 64 bits");
    return error == std::errc() ? number : 0;
}
