#include "EditCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace {
// While the user works in a menu, the menu or the menu bar holds the focus.
bool isMenu(const QWidget& widget)
{
    return qobject_cast<const QMenuBar*>(&widget) || qobject_cast<const QMenu*>(&widget)
           || widget.window()->windowType() == Qt::Popup;
}

bool isSelectableLabel(const QWidget& widget)
{
    const auto* label = qobject_cast<const QLabel*>(&widget);
    return label
           && (label->textInteractionFlags()
               & (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard));
}

bool clipboardHasText()
{
    const QClipboard* clipboard = QApplication::clipboard();
    return clipboard && !clipboard->text().isEmpty();
}
} // namespace

namespace ui {

EditCommands::EditCommands(const Items& items, QObject* parent)
    : QObject(parent),
      m_items{items.undo, items.cut, items.copy, items.paste, items.clear, items.selectAll}
{
    connect(qApp, &QApplication::focusChanged, this, &EditCommands::onFocusChanged);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &EditCommands::update);
    for (size_t index = 0; index < m_items.size(); ++index)
        connect(m_items[index], &QAction::triggered, this,
                [this, index] { run(static_cast<Command>(index)); });
    QWidget* focused = QApplication::focusWidget();
    follow(focused && !isMenu(*focused) ? focused : nullptr);
}

// Leaving the application, or opening a menu, keeps the control: the
// commands still go to where the user was.
void EditCommands::onFocusChanged(QWidget*, QWidget* now)
{
    if (now && !isMenu(*now))
        follow(now);
}

void EditCommands::follow(QWidget* widget)
{
    if (m_target) {
        disconnect(m_target, nullptr, this, nullptr);
        m_target->removeEventFilter(this);
    }
    const bool editsText = widget && (qobject_cast<QLineEdit*>(widget) || isSelectableLabel(*widget));
    m_target = editsText ? widget : nullptr;
    if (m_target)
        m_target->installEventFilter(this);
    // A label reports no selection changes; the menu catches up as it opens.
    if (QLineEdit* target = field()) {
        connect(target, &QLineEdit::textChanged, this, &EditCommands::update);
        connect(target, &QLineEdit::selectionChanged, this, &EditCommands::update);
        connect(target, &QLineEdit::cursorPositionChanged, this, &EditCommands::update);
    }
    update();
}

// A text field or label drops its selection when the focus goes to the menu
// bar (a menu's mnemonic, or Alt), though not when a menu opens by mouse.
// Either way the user only visits the menus, and is told so as a menu
// opening tells it, so that the Edit items still have a selection to act on.
bool EditCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_target && event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent*>(event)->reason() == Qt::MenuBarFocusReason) {
        QFocusEvent visit(QEvent::FocusOut, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(watched, &visit);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

EditCommands::PerCommand EditCommands::allowed() const
{
    if (const QLineEdit* target = field()) {
        const bool editable = !target->isReadOnly();
        const bool selection = target->hasSelectedText();
        const bool copyable = selection && target->echoMode() == QLineEdit::Normal;
        return {editable && target->isUndoAvailable(), editable && copyable, copyable,
                editable && clipboardHasText(), editable && selection, !target->text().isEmpty()};
    }
    if (const QLabel* target = label())
        return {false, false, target->hasSelectedText(), false, false, !target->text().isEmpty()};
    return {};
}

void EditCommands::update()
{
    const PerCommand now = allowed();
    for (size_t index = 0; index < m_items.size(); ++index)
        m_items[index]->setEnabled(now[index]);
}

// A shortcut can come before the items have caught up with the control, so
// the command is checked once more.
void EditCommands::run(Command command)
{
    if (allowed()[static_cast<size_t>(command)]) {
        if (QLineEdit* target = field())
            runOnField(*target, command);
        else if (QLabel* target = label())
            runOnLabel(*target, command);
    }
    update();
}

void EditCommands::runOnField(QLineEdit& field, Command command)
{
    switch (command) {
    case Command::Undo:
        field.undo();
        return;
    case Command::Cut:
        field.cut();
        return;
    case Command::Copy:
        field.copy();
        return;
    case Command::Paste:
        field.paste();
        return;
    case Command::Clear:
        field.del();
        return;
    case Command::SelectAll:
        field.selectAll();
        return;
    case Command::Count:
        return;
    }
}

void EditCommands::runOnLabel(QLabel& label, Command command)
{
    if (command == Command::Copy)
        QApplication::clipboard()->setText(label.selectedText());
    else if (command == Command::SelectAll)
        label.setSelection(0, static_cast<int>(label.text().size()));
}

QLineEdit* EditCommands::field() const
{
    return qobject_cast<QLineEdit*>(m_target.data());
}

QLabel* EditCommands::label() const
{
    return qobject_cast<QLabel*>(m_target.data());
}

} // namespace ui
