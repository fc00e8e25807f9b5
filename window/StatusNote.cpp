#include "window/StatusNote.h"

#include <QPainter>
#include <QTimer>

StatusNote::StatusNote(QWidget *parent)
    : QLabel(parent)
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("statusNote"));
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &QLabel::clear);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QSize StatusNote::minimumSizeHint() const
{
    // A long note must not push the attribution and the coordinates aside.
    return {fontMetrics().horizontalAdvance(QStringLiteral("Server …")), QLabel::minimumSizeHint().height()};
}

void StatusNote::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect room = contentsRect();
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(room, int(alignment()), fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
}

void StatusNote::showNote(const QString &text, int milliseconds)
{
    setText(text);
    setToolTip(text);
    m_timer->start(milliseconds);
}
