#include "window/SpeedColouring.h"

#include "chart/Karte.h"
#include "chart/Ship.h"
#include "chart/SpeedScale.h"
#include "store/Environment.h"

#include <QCheckBox>
#include <QSettings>

SpeedColouring::SpeedColouring(QCheckBox *box, Karte *chart, std::function<QList<Ship *>()> ships, QObject *parent)
    : QObject(parent)
    , m_box(box)
    , m_chart(chart)
    , m_ships(std::move(ships))
{
    m_on = Environment::settingsStore()->value(QLatin1String(settingsKey), false).toBool();
    m_box->setChecked(m_on);
    connect(m_box, &QCheckBox::toggled, this, &SpeedColouring::apply);
    showScale();
}

void SpeedColouring::apply(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    Environment::settingsStore()->setValue(QLatin1String(settingsKey), on);
    showScale();
    m_chart->setFocus();
}

void SpeedColouring::showScale()
{
    if (!m_on) {
        m_chart->setSpeedScale(std::nullopt);
        return;
    }
    // The range only of what can be drawn: boats without positions add nothing.
    QList<const Track *> tracks;
    for (const Ship *ship : m_ships()) {
        if (ship->ready() && ship->pointCount() > 0)
            tracks << &ship->shownTrack();
    }
    m_chart->setSpeedScale(SpeedScale::ofTracks(tracks));
}
