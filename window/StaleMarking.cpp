#include "window/StaleMarking.h"

#include "chart/AgeText.h"
#include "chart/Ship.h"
#include "chart/TrackLookup.h"
#include "store/Environment.h"

#include <QSettings>
#include <QSpinBox>

#include <algorithm>

StaleMarking::StaleMarking(QSpinBox *box, QObject *parent)
    : QObject(parent)
    , m_box(box)
{
    m_box->setRange(1, longestMinutes);
    m_box->setSuffix(QStringLiteral(" min"));
    const int stored = Environment::settingsStore()->value(QLatin1String(settingsKey), defaultMinutes).toInt();
    m_minutes = stored >= 1 && stored <= longestMinutes ? stored : defaultMinutes;
    m_box->setValue(m_minutes);
    connect(m_box, &QSpinBox::valueChanged, this, &StaleMarking::apply);
}

void StaleMarking::setLimitMinutes(int minutes)
{
    m_box->setValue(std::clamp(minutes, 1, longestMinutes));
}

void StaleMarking::apply(int minutes)
{
    if (minutes == m_minutes)
        return;
    m_minutes = minutes;
    Environment::settingsStore()->setValue(QLatin1String(settingsKey), minutes);
    emit limitChanged();
}

QString StaleMarking::labelFor(const Ship &ship, qint64 t, qint64 limitSeconds)
{
    const Track &track = ship.fullTrack();
    const int last = TrackLookup::lastAtOrBefore(track, t);
    if (last < 0)
        return {};
    const qint64 age = t - track.point(last).time;
    return age > limitSeconds ? AgeText::since(age) : QString();
}

void StaleMarking::mark(Ship &ship, qint64 t) const
{
    ship.setStaleLabel(labelFor(ship, t, qint64(m_minutes) * 60));
}

void StaleMarking::markAll(const QList<Ship *> &ships) const
{
    for (Ship *ship : ships) {
        if (ship->ready() && ship->pointCount() > 0 && ship->hasCurrentPoint())
            mark(*ship, ship->currentTime());
    }
}
