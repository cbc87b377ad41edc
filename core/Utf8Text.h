#pragma once

#include <QString>
#include <string_view>

// Texts of the JSON item, which holds UTF-8, as the window and the host
// scripts take them.
class Utf8Text {
public:
    // Every character as it stands. Unlike QString::fromUtf8, a U+FEFF at the
    // start is kept: a unit name may begin with one, and the host must be
    // told the name it gave. Bytes that are no UTF-8 become U+FFFD.
    static QString decoded(std::string_view utf8);
};
