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
//
// The items are brought up to date when the menu is about to show, and a
// command is checked again when it runs; the clipboard is read then and at no
// other time. Its owner may be another program that is slow to answer, or
// that holds megabytes, and the read blocks the one event loop, so the bridge
// with it: following every keystroke would stall both while the user types.
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

    // Brings the items' enabled state up to date with the control; the menu
    // calls it as it is about to show.
    void update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // In the order of Items.
    enum class Command { Undo, Cut, Copy, Paste, Clear, SelectAll, Count };

    void onFocusChanged(QWidget* old, QWidget* now);
    void endVisit();
    void follow(QWidget* widget);
    // Whether the control allows the command now; only Paste reads the
    // clipboard.
    bool allows(Command command) const;
    static bool fieldAllows(const QLineEdit& field, Command command);
    static bool labelAllows(const QLabel& label, Command command);
    void run(Command command);
    void runOnField(QLineEdit& field, Command command);
    void runOnLabel(QLabel& label, Command command);
    QLineEdit* field() const;
    QLabel* label() const;

    std::array<QAction*, static_cast<size_t>(Command::Count)> m_items;
    QPointer<QWidget> m_target;
    // The target lost the focus to the menu bar, told as a menu's visit.
    bool m_visitingMenus = false;
};

} // namespace ui
