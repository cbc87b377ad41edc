#pragma once

#include <QString>
#include <array>
#include <variant>

namespace core {
class App;
}

// The six settings: their keys in the settings store, the application
// object's property each one fills, and the value taken when the key is
// absent or holds another type. Read and written in this order.
class Preferences {
public:
    struct Setting {
        QString key;
        std::variant<bool core::App::*, QString core::App::*> property;
        bool defaultOn; // Boolean settings only; texts default to empty
    };

    static const std::array<Setting, 6>& table();

    // Fills the six properties from the store; writes nothing.
    static void read(core::App& app);
    // Sets all six keys from the properties, then synchronises once. A
    // synchronise that gives up on the file's lock is shown and logged.
    static void write(core::App& app);
};
