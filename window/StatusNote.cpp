#include "window/StatusNote.h"

#include <QTimer>

StatusNote::StatusNote(QWidget *parent)
    : QLabel(parent)
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("statusNote"));
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &QLabel::clear);
}

void StatusNote::showNote(const QString &text, int milliseconds)
{
    setText(text);
    setToolTip(text);
    m_timer->start(milliseconds);
}
