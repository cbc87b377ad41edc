#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>

class JSONItem;
class LightRows;

// Turns the host's unit records into the emulated lights: one light object
// per record, keyed by its position ("0", "1", ...), and one light row each.
class LightList {
public:
    static constexpr const char* ModelId = "VEZEZERIZ001";
    static constexpr const char* SoftwareVersion = "00000001";
    static constexpr const char* LightType = "Dimmable light";
    static constexpr const char* DimmableText = "true";

    // What one unit shows: its light state and the row's last two cells.
    struct State {
        bool on;
        std::int64_t bri;
        QString stateCell;
        QString valueCell;
    };

    // Adds a light for every record of `units` to `lights` and writes its row.
    // Rows past the last light are left as they are.
    static void build(const JSONItem& units, JSONItem& lights, LightRows* rows);

    static State stateOf(const std::string& dimmableText, const std::string& valueText);
    // A dimmable unit's level 0..100 on the light scale 0..255, not clamped.
    static std::int64_t scaledLevel(std::int64_t value);
    // The leading decimal integer of a value text; 0 when there is none.
    static std::int64_t levelOf(const std::string& valueText);

private:
    static std::shared_ptr<JSONItem> lightObject(const std::string& name, const State& state);
    static void writeRow(LightRows& rows, int index, const QStringList& cells);
};
