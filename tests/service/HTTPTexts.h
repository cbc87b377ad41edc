#pragma once

#include <QByteArray>

// The replies as a client sees them on the wire, written out in full.
namespace HTTPTexts {
inline const QByteArray BadRequest = "HTTP/1.1 400 BAD REQUEST\r\n\r\n";
inline const QByteArray NotFound = "HTTP/1.1 404 NOT FOUND\r\n\r\n";
inline const QByteArray JSONHead = "HTTP/1.1 200 OK\r\n"
                                   "Cache-Control: no-store, no-cache, must-revalidate, "
                                   "post-check=0, pre-check=0\r\n"
                                   "Content-type: text/json\r\n\r\n";
inline const QByteArray XMLHead = "HTTP/1.1 200 OK\r\n"
                                  "Cache-Control: no-store, no-cache, must-revalidate, "
                                  "post-check=0, pre-check=0\r\n"
                                  "Content-type: text/xml\r\n\r\n";

inline QByteArray get(const QByteArray& path)
{
    return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
}

inline QByteArray put(const QByteArray& path, const QByteArray& body)
{
    return "PUT " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: "
           + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}
} // namespace HTTPTexts
