#include "Preferences.h"

#include "App.h"
#include "SettingsStore.h"

namespace {
// Shown and logged when the settings file stays locked, or no lock can be
// made for it, so a write gives up rather than hold the program.
const QString SettingsNotStored = QStringLiteral("Unable to store settings");
} // namespace

const std::array<Preferences::Setting, 6>& Preferences::table()
{
    using core::App;
    static const std::array<Setting, 6> settings = {{
        {QStringLiteral("Running Local"), &App::RunningLocal, true},
        {QStringLiteral("Should Log"), &App::ShouldLog, false},
        {QStringLiteral("Less Strict UPNP"), &App::LessStrictUPNP, false},
        {QStringLiteral("User Name"), &App::UserName, false},
        {QStringLiteral("PW"), &App::PW, false},
        {QStringLiteral("IPAddress"), &App::IPAddress, false},
    }};
    return settings;
}

void Preferences::read(core::App& app)
{
    const SettingsStore store;
    for (const Setting& setting : table()) {
        const SettingsValue value = store.CopyAppValue(setting.key);
        // No conversion between types: a number or the text "true" under a
        // Boolean key counts as absent.
        if (auto flag = std::get_if<bool core::App::*>(&setting.property))
            app.*(*flag) = value.isBoolean() ? value.toBool() : setting.defaultOn;
        else
            app.*std::get<QString core::App::*>(setting.property) =
                value.isText() ? value.toText() : QString();
    }
}

void Preferences::write(core::App& app)
{
    SettingsStore store;
    for (const Setting& setting : table()) {
        if (auto flag = std::get_if<bool core::App::*>(&setting.property))
            store.SetAppValue(setting.key, SettingsValue::boolean(app.*(*flag)));
        else
            store.SetAppValue(setting.key,
                              SettingsValue::text(app.*std::get<QString core::App::*>(setting.property)));
    }
    // Any other failed synchronise is not reported; the next write tries
    // again.
    if (!store.AppSynchronize() && store.lockWasUnavailable()) {
        app.WriteToLog(SettingsNotStored);
        app.ShowStatus(SettingsNotStored);
    }
}
