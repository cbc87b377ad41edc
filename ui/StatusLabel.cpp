#include "StatusLabel.h"

StatusLabel::StatusLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void StatusLabel::setStatusText(const QString& text)
{
    setText(text);
}
