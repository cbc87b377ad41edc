#pragma once

#include <QObject>
#include <QPointer>
#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QWidget;

namespace ui {

// The standard editing commands of the Edit menu, carried out on the text
// field or selectable label that last had the focus. Opening a menu, by mouse
// or from the keyboard, hands the focus to the menu and the menu bar; the
// commands still go to the control the user was working in. Each item is
// enabled exactly when that control allows its command: Undo with something
// to undo; Cut, Copy and Delete with a selection (Cut and Copy not in a masked
// field, Cut and Delete not in a read-only one); Paste when the control is
// editable and the clipboard holds text; Select All when the control holds
// text. A label is read-only. Without such a control every item is disabled.
class EditCommands : public QObject {
    Q_OBJECT
public:
    struct Items {
        QAction* undo;
        QAction* cut;
        QAction* copy;
        QAction* paste;
        QAction* clear;
        QAction* selectAll;
    };

    EditCommands(const Items& items, QObject* parent = nullptr);

    // Brings the items' enabled state up to date with the control.
    void update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // In the order of Items.
    enum class Command { Undo, Cut, Copy, Paste, Clear, SelectAll, Count };
    using PerCommand = std::array<bool, static_cast<size_t>(Command::Count)>;

    void onFocusChanged(QWidget* old, QWidget* now);
    void follow(QWidget* widget);
    // Which commands the control allows now.
    PerCommand allowed() const;
    void run(Command command);
    void runOnField(QLineEdit& field, Command command);
    void runOnLabel(QLabel& label, Command command);
    QLineEdit* field() const;
    QLabel* label() const;

    std::array<QAction*, static_cast<size_t>(Command::Count)> m_items;
    QPointer<QWidget> m_target;
};

} // namespace ui
