#pragma once

#include "ScriptRunner.h"

#include <QStringList>
#include <optional>

// A host that answers at once: the unit list script gets unitListText (or no
// result when it is empty), every other script succeeds. Every script it was
// sent is kept, in order.
class RecordingScriptRunner : public ScriptRunner {
public:
    explicit RecordingScriptRunner(std::optional<QString> unitListText = std::nullopt)
        : m_unitListText(std::move(unitListText))
    {
    }

    ScriptResult execute(const QString& source) override;

    void setUnitListText(const std::optional<QString>& text) { m_unitListText = text; }
    const QStringList& scripts() const { return m_scripts; }
    // The scripts other than unit list reads: the commands.
    QStringList commands() const;
    void clear() { m_scripts.clear(); }

private:
    std::optional<QString> m_unitListText;
    QStringList m_scripts;
};
