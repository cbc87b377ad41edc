#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QLineEdit;
class QWidget;

namespace ui {

// The standard editing commands of the Edit menu, carried out on the text
// field that has the focus. Each item is enabled exactly when the field
// allows its command: Undo with something to undo; Cut, Copy and Delete with
// a selection (Cut and Copy not in a masked field, Cut and Delete not in a
// read-only one); Paste when the field is editable and the clipboard holds
// text; Select All when the field holds text. Without a focused field every
// item is disabled.
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

    // Brings the items' enabled state up to date with the focused field.
    void update();

private:
    void onFocusChanged(QWidget* old, QWidget* now);
    void runOnField(const std::function<void(QLineEdit&)>& command);

    Items m_items;
    QPointer<QLineEdit> m_field;
};

} // namespace ui
