#include "EditCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

namespace ui {

EditCommands::EditCommands(const Items& items, QObject* parent) : QObject(parent), m_items(items)
{
    connect(qApp, &QApplication::focusChanged, this, &EditCommands::onFocusChanged);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &EditCommands::update);
    connect(m_items.undo, &QAction::triggered, this, [this] { runOnField([](QLineEdit& field) { field.undo(); }); });
    connect(m_items.cut, &QAction::triggered, this, [this] { runOnField([](QLineEdit& field) { field.cut(); }); });
    connect(m_items.copy, &QAction::triggered, this, [this] { runOnField([](QLineEdit& field) { field.copy(); }); });
    connect(m_items.paste, &QAction::triggered, this, [this] { runOnField([](QLineEdit& field) { field.paste(); }); });
    connect(m_items.clear, &QAction::triggered, this, [this] { runOnField([](QLineEdit& field) { field.del(); }); });
    connect(m_items.selectAll, &QAction::triggered, this, [this] { runOnField([](QLineEdit& field) { field.selectAll(); }); });
    m_field = nullptr;
    onFocusChanged(nullptr, QApplication::focusWidget());
    update();
}

void EditCommands::onFocusChanged(QWidget*, QWidget* now)
{
    // An open menu takes the keyboard, not the field's place: its commands
    // still go to the field that had the focus.
    if (!now || now->window()->windowType() == Qt::Popup)
        return;
    if (m_field)
        disconnect(m_field, nullptr, this, nullptr);
    m_field = qobject_cast<QLineEdit*>(now);
    if (m_field) {
        connect(m_field, &QLineEdit::textChanged, this, &EditCommands::update);
        connect(m_field, &QLineEdit::selectionChanged, this, &EditCommands::update);
        connect(m_field, &QLineEdit::cursorPositionChanged, this, &EditCommands::update);
    }
    update();
}

void EditCommands::update()
{
    const QLineEdit* field = m_field;
    const bool editable = field && !field->isReadOnly();
    const bool selection = field && field->hasSelectedText();
    const bool copyable = selection && field->echoMode() == QLineEdit::Normal;
    const QClipboard* clipboard = QApplication::clipboard();
    m_items.undo->setEnabled(editable && field->isUndoAvailable());
    m_items.cut->setEnabled(editable && copyable);
    m_items.copy->setEnabled(copyable);
    m_items.paste->setEnabled(editable && clipboard && !clipboard->text().isEmpty());
    m_items.clear->setEnabled(editable && selection);
    m_items.selectAll->setEnabled(field && !field->text().isEmpty());
}

void EditCommands::runOnField(const std::function<void(QLineEdit&)>& command)
{
    if (m_field)
        command(*m_field);
    update();
}

} // namespace ui
