#pragma once

#include <QByteArray>

// The fixed lines of the listener's replies. Each line is followed by CR LF
// when sent, and an empty line ends the head. No reply carries any other
// header line: the body ends where the connection ends.
namespace HTTPReplies {
inline const QByteArray StatusOK = QByteArrayLiteral("HTTP/1.1 200 OK");
inline const QByteArray CacheControl = QByteArrayLiteral(
    "Cache-Control: no-store, no-cache, must-revalidate, post-check=0, pre-check=0");
inline const QByteArray ContentTypeXML = QByteArrayLiteral("Content-type: text/xml");
inline const QByteArray ContentTypeJSON = QByteArrayLiteral("Content-type: text/json");
inline const QByteArray StatusBadRequest = QByteArrayLiteral("HTTP/1.1 400 BAD REQUEST");
inline const QByteArray StatusNotFound = QByteArrayLiteral("HTTP/1.1 404 NOT FOUND");
} // namespace HTTPReplies
