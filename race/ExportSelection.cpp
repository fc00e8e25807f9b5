#include "race/ExportSelection.h"

#include "chart/Ship.h"

ExportedRace ExportSelection::collect(const QString &raceName, const QList<Ship *> &ships, qint64 replayTime,
                                      qint64 createdAt)
{
    ExportedRace race;
    race.name = raceName;
    race.createdAt = createdAt;
    for (const Ship *ship : ships) {
        if (!ship->show() || !ship->ready())
            continue;
        // The full track, not the simplified one the chart may draw: a file keeps every fix.
        const Track &track = ship->fullTrack();
        ExportedBoat boat;
        boat.fixes.reserve(size_t(track.count()));
        for (int i = 0; i < track.count(); ++i) {
            const TrackPoint &p = track.point(i);
            if (!ship->showCompleteTrack() && p.time > replayTime)
                break;
            boat.fixes.push_back(ExportedFix{p.position.lat, p.position.lng, p.time});
        }
        if (boat.fixes.empty())
            continue;
        boat.name = ship->name();
        boat.startnr = ship->startnr();
        boat.klasse = ship->klasse();
        boat.skipper = ship->skipper();
        boat.team = ship->team();
        boat.farbe = ship->farbe();
        race.boats.append(std::move(boat));
    }
    return race;
}
