#include "tools/regattasim/RaceBook.h"

#include "race/GateCatalogue.h"

#include <limits>

namespace {

LatLng secondEnd(const GateDefinition &g)
{
    if (g.lat2 == 0 && g.lng2 == 0)
        return Geo::destination({g.lat1, g.lng1}, g.length, g.bearing);
    return {g.lat2, g.lng2};
}

// A mark on an island (no second end given, anchor at the mark) is passed out on its
// line; any other gate is crossed between its ends.
Passage passageOf(const GateDefinition &g)
{
    return {{g.lat1, g.lng1}, secondEnd(g)};
}

// A point of a route, widened to a short line across it so the boats spread a little.
Passage around(double lat, double lng, double halfKm = 0.3)
{
    const LatLng p{lat, lng};
    Passage passage{Geo::destination(p, halfKm, 270), Geo::destination(p, halfKm, 90)};
    passage.pastKm = 0.2;
    return passage;
}

constexpr double either = std::numeric_limits<double>::quiet_NaN();

// The gates of a set with the way each is crossed, as the race analysis counts them: out of
// Biograd and back to it from the north-west, south across the lines between the islands,
// round Palagruza eastwards.
QList<Passage> catalogueCourse(GateCatalogue::Set set)
{
    const QList<double> towards = set == GateCatalogue::Set::A
        ? QList<double>{330, either, 135, 180, 90, either, 270, 0, 315, 330, 330}
        : QList<double>{either, either, 180, 180, 90, either, either, 150};
    QList<Passage> course;
    const QList<GateDefinition> gates = GateCatalogue::gates(set);
    for (qsizetype i = 0; i < gates.size(); ++i) {
        course.append(passageOf(gates[i]));
        course.last().towards = towards.value(i, either);
    }
    return course;
}

const QList<FleetClass> offshoreClasses = {
    {QStringLiteral("ORC A"), 5, 10.2},
    {QStringLiteral("ORC B"), 7, 9.1},
    {QStringLiteral("ORC C"), 7, 8.3},
    {QStringLiteral("Mehrrumpf"), 5, 12.5},
};

} // namespace

namespace RaceBook {

QList<RaceDefinition> seeded()
{
    QList<RaceDefinition> races;

    // 2010: a fresh bora from the north-east over the long course of set A.
    RaceDefinition r2010;
    r2010.eventId = 10;
    r2010.von = 1270458000;
    r2010.bis = 1270764000;
    r2010.start = 1270461600;
    r2010.wind = Sailing::WindField(40, 15, 0.7);
    r2010.classes = offshoreClasses;
    r2010.firstBoatId = 1001;
    r2010.seed = 2010;
    r2010.course = catalogueCourse(GateCatalogue::Set::A);
    r2010.area[0] = 14.55, r2010.area[1] = 42.25, r2010.area[2] = 18.15, r2010.area[3] = 44.4;
    races.append(r2010);

    // 2011: the same course in a south-easterly.
    RaceDefinition r2011 = r2010;
    r2011.eventId = 21;
    r2011.von = 1302905280;
    r2011.bis = 1303509600;
    r2011.start = 1302940800;
    r2011.wind = Sailing::WindField(135, 13, 2.1);
    r2011.classes = {
        {QStringLiteral("ORC A"), 6, 10.0},  {QStringLiteral("ORC B"), 8, 9.0},
        {QStringLiteral("ORC C"), 7, 8.2},   {QStringLiteral("Mehrrumpf"), 4, 12.0},
        {QStringLiteral("Open 40"), 5, 10.8},
    };
    r2011.firstBoatId = 2101;
    r2011.seed = 2011;
    races.append(r2011);

    // 2024: from Komiza through the channel between Bisevo and Vis, down the route of
    // set E towards Palagruza, round the island and back against the mistral.
    RaceDefinition r2024;
    r2024.eventId = 125;
    r2024.von = 1713168000;
    r2024.bis = 1713628800;
    r2024.start = 1713175200;
    r2024.wind = Sailing::WindField(318, 13, 4.2);
    r2024.classes = {
        {QStringLiteral("ORC 1"), 5, 8.8},      {QStringLiteral("ORC 2"), 6, 7.9},
        {QStringLiteral("ORC 3"), 7, 7.1},      {QStringLiteral("Sportboote"), 6, 7.6},
        {QStringLiteral("Mehrrumpf"), 4, 10.5},
    };
    r2024.firstBoatId = 12501;
    r2024.seed = 2024;
    r2024.boatIdReplacedBy38 = 12509;
    const Passage komiza{{43.0275, 16.0716}, {43.0125, 16.0733}};
    const Passage channel{{42.9915, 16.0305}, {43.0010, 16.0520}};
    r2024.course = {komiza, channel};
    const QList<GateDefinition> route = GateCatalogue::gates(GateCatalogue::Set::E);
    for (const GateDefinition &leg : route)
        r2024.course.append(around(leg.lat1, leg.lng1));
    r2024.course.append(around(route.last().lat2, route.last().lng2));
    r2024.course += {around(42.3945, 16.2250, 0.2), around(42.3760, 16.2560, 0.2), around(42.3925, 16.2840, 0.2),
                     channel, komiza};
    r2024.area[0] = 15.7, r2024.area[1] = 42.25, r2024.area[2] = 16.55, r2024.area[3] = 43.25;
    races.append(r2024);
    return races;
}

RaceDefinition live(qint64 liveStart)
{
    // Out of Biograd onto the course of set D, in a light north-westerly.
    RaceDefinition r;
    r.eventId = liveEventId;
    r.von = liveStart - 600;
    r.bis = liveStart + liveWindowSeconds;
    r.start = liveStart;
    r.wind = Sailing::WindField(305, 11, 1.3);
    r.classes = {
        {QStringLiteral("ORC 1"), 5, 8.6},  {QStringLiteral("ORC 2"), 6, 7.8},
        {QStringLiteral("ORC 3"), 6, 7.0},  {QStringLiteral("Sportboote"), 5, 7.5},
    };
    r.firstBoatId = 12201;
    r.seed = 122;
    r.course = {Passage{{43.9330, 15.4250}, {43.9260, 15.4330}}};
    r.course += catalogueCourse(GateCatalogue::Set::D);
    r.area[0] = 14.55, r.area[1] = 42.25, r.area[2] = 18.15, r.area[3] = 44.4;
    return r;
}

qint64 defaultLiveStart(qint64 now)
{
    return now / 60 * 60 - 30 * 60;
}

} // namespace RaceBook
