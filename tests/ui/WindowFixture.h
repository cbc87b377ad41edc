#pragma once

#include "App.h"
#include "RecordingScriptRunner.h"
#include "SettingsValue.h"

#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <ostream>

class LightListBox;
class QHeaderView;

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// A registered application object whose host answers with a fixed unit list,
// and a settings file of its own.
class WindowFixture : public ::testing::Test {
public:
    // Two units: a dimmable lamp at 60 and a switch that is off.
    static const QString TwoUnits;
    // The settings key of the list box widths, and the widths taken when it
    // holds none.
    static const QString ColumnWidthsKey;
    static const QString DefaultColumnWidths;

    // A unit list of `count` dimmable units named "Unit 0", "Unit 1", ...
    static QString unitList(int count);

    // Long enough for a loaded machine; a quit that never comes ends the
    // event loop with QuitTimedOut and fails the test instead of hanging it.
    static constexpr std::chrono::milliseconds QuitTimeout{10000};
    static constexpr int QuitTimedOut = 99;

    // Drags the right border of the column's heading with the mouse, by
    // `distance` pixels (negative: to the left).
    static void dragBorder(QHeaderView& header, int column, int distance);
    // What the delegate needs to show the widest "#" cell whole.
    static int widestNumber(const LightListBox& list);

protected:
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

