#include "window/StatusLine.h"

#include "window/StatusNote.h"

#include <QLabel>
#include <QStatusBar>

StatusLine::StatusLine(QStatusBar *bar)
    : m_lat(new QLabel(QStringLiteral("Lat:")))
    , m_lng(new QLabel(QStringLiteral("Lng:")))
    , m_zoom(new QLabel(QStringLiteral("Zoom:")))
    , m_lastFetch(new QLabel)
    , m_note(new StatusNote)
{
    auto *thanks = new QLabel(QStringLiteral("Map data CCBYSA 2014 OpenStreetMap.org contributors"));
    thanks->setObjectName(QStringLiteral("danklabel"));
    thanks->setMinimumSize(thanks->sizeHint());
    m_lat->setMinimumSize(m_lat->sizeHint());
    m_lng->setIndent(3);
    m_zoom->setIndent(5);
    bar->addWidget(thanks, 0);
    bar->addWidget(m_lat, 0);
    bar->addWidget(m_lng, 0);
    bar->addWidget(m_zoom, 0);
    m_lastFetch->setObjectName(QStringLiteral("lastFetch"));
    m_lastFetch->setIndent(8);
    // Permanent, so that it stays beside a message that takes the line.
    bar->addPermanentWidget(m_lastFetch, 0);
    bar->addPermanentWidget(m_note, 1);
    // A message across the line (a failed fetch) needs the note's room while it shows.
    QObject::connect(bar, &QStatusBar::messageChanged, m_note,
                     [note = m_note](const QString &message) { note->setVisible(message.isEmpty()); });
    bar->setCursor(Qt::ArrowCursor);
}

void StatusLine::setXYStatus(double lat, double lng, int zoom)
{
    m_lat->setText(QStringLiteral("Lat:%1").arg(lat, 10, 'f', 5));
    m_lng->setText(QStringLiteral("Lng:%1").arg(lng, 10, 'f', 5));
    setZoomStatus(zoom);
}

void StatusLine::setZoomStatus(int zoom)
{
    m_zoom->setText(QStringLiteral("Zoom:%1").arg(zoom));
}
