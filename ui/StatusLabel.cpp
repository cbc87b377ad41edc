#include "StatusLabel.h"

StatusLabel::StatusLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // A selectable label takes the focus only by click; Tab reaches it too,
    // so that its text can be selected and copied from the keyboard.
    setFocusPolicy(Qt::StrongFocus);
}

void StatusLabel::setStatusText(const QString& text)
{
    setText(text);
}
