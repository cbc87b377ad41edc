#include "EditCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <utility>

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

// Asks for the clipboard's formats, not for its text, which may be large.
bool clipboardHasText()
{
    const QClipboard* clipboard = QApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasText();
}
} // namespace

namespace ui {

EditCommands::EditCommands(const Items& items, QObject* parent)
    : QObject(parent),
      m_items{items.undo, items.cut, items.copy, items.paste, items.clear, items.selectAll}
{
    connect(qApp, &QApplication::focusChanged, this, &EditCommands::onFocusChanged);
    for (size_t index = 0; index < m_items.size(); ++index)
        connect(m_items[index], &QAction::triggered, this,
                [this, index] { run(static_cast<Command>(index)); });
    QWidget* focused = QApplication::focusWidget();
    follow(focused && !isMenu(*focused) ? focused : nullptr);
}

// Leaving the application, or opening a menu, keeps the control: the
// commands still go to where the user was. From the menus the focus may go
// back to that control, or on to another one, which ends the visit.
void EditCommands::onFocusChanged(QWidget*, QWidget* now)
{
    if (!now || isMenu(*now))
        return;
    if (std::exchange(m_visitingMenus, false) && m_target && now != m_target)
        endVisit();
    follow(now);
}

// The control was told it only lost the focus to a menu, so it kept its
// selection; now that the focus has gone to another control it is told that
// it lost the focus for good, and drops its selection as it would have
// without the visit.
void EditCommands::endVisit()
{
    QFocusEvent left(QEvent::FocusOut, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(m_target, &left);
}

void EditCommands::follow(QWidget* widget)
{
    if (m_target)
        m_target->removeEventFilter(this);
    const bool editsText = widget && (qobject_cast<QLineEdit*>(widget) || isSelectableLabel(*widget));
    m_target = editsText ? widget : nullptr;
    // A text control takes its own editing keys, so its items can wait for
    // the menu. Without one, no item may keep a key such as Ctrl+C from the
    // list or box that has the focus; turning them all off reads nothing.
    if (m_target)
        m_target->installEventFilter(this);
    else
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
        m_visitingMenus = true;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool EditCommands::allows(Command command) const
{
    if (const QLineEdit* target = field())
        return fieldAllows(*target, command);
    if (const QLabel* target = label())
        return labelAllows(*target, command);
    return false;
}

bool EditCommands::fieldAllows(const QLineEdit& field, Command command)
{
    const bool editable = !field.isReadOnly();
    const bool selection = field.hasSelectedText();
    const bool copyable = selection && field.echoMode() == QLineEdit::Normal;
    switch (command) {
    case Command::Undo:
        return editable && field.isUndoAvailable();
    case Command::Cut:
        return editable && copyable;
    case Command::Copy:
        return copyable;
    case Command::Paste:
        return editable && clipboardHasText();
    case Command::Clear:
        return editable && selection;
    case Command::SelectAll:
        return !field.text().isEmpty();
    case Command::Count:
        break;
    }
    return false;
}

bool EditCommands::labelAllows(const QLabel& label, Command command)
{
    if (command == Command::Copy)
        return label.hasSelectedText();
    if (command == Command::SelectAll)
        return !label.text().isEmpty();
    return false;
}

void EditCommands::update()
{
    for (size_t index = 0; index < m_items.size(); ++index)
        m_items[index]->setEnabled(allows(static_cast<Command>(index)));
}

// The items follow the control only as the menu opens, and a shortcut can
// come long after that, so the command is checked once more.
void EditCommands::run(Command command)
{
    if (!allows(command))
        return;
    if (QLineEdit* target = field())
        runOnField(*target, command);
    else if (QLabel* target = label())
        runOnLabel(*target, command);
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
