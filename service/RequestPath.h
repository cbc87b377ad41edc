#pragma once

#include <QString>
#include <QtGlobal>

// The "/"-separated fields of a request path, counted from 1. A path that
// begins with "/" has an empty field 1; a field past the end is empty.
class RequestPath {
public:
    static QString field(const QString& path, int number);

    // A GET's light number: the field's leading decimal integer (an optional
    // "-" and digits; a fraction after them is dropped), 0 when the field does
    // not begin with one. Throws std::out_of_range beyond 64 bits.
    static qint64 lightNumber(const QString& field);
};
