#pragma once

#include "App.h"
#include "RecordingScriptRunner.h"
#include "SettingsValue.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// A registered application object whose host answers with a fixed unit list,
// and a settings file of its own.
class WindowFixture : public ::testing::Test {
protected:
    // Two units: a dimmable lamp at 60 and a switch that is off.
    static const QString TwoUnits;

    void SetUp() override;
    void TearDown() override;

    void setUnitListText(std::optional<QString> text);
    void store(const QString& key, const SettingsValue& value);
    SettingsValue stored(const QString& key) const;

    QTemporaryDir m_folder;
    core::App m_app;
    RecordingScriptRunner* m_runner = nullptr;
    QString m_previousSettingsFile;
};
