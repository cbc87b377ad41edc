#include "Utf8Text.h"

#include <QStringDecoder>

QString Utf8Text::decoded(std::string_view utf8)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(utf8.data(), qsizetype(utf8.size())));
}
