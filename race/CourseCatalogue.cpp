#include "race/CourseCatalogue.h"

#include <limits>

namespace {

constexpr double either = std::numeric_limits<double>::quiet_NaN();

// A catalogue gate by its place in its set, and the way across that counts.
struct Entry
{
    int gate;
    double crossingCourse;
};

Course fromTable(GateCatalogue::Set set, const QList<Entry> &table, bool startLine)
{
    const QList<GateDefinition> gates = GateCatalogue::gates(set);
    QList<CourseMark> marks;
    for (const Entry &e : table)
        marks.append(CourseMark::fromGate(gates[e.gate], e.crossingCourse));
    return Course(marks, startLine);
}

// Sets A and B: out of Biograd north-west round Dugi Otok, down the coast past Mulo, through
// between Bisevo and Vis, round Palagruza eastwards to Mljet, back west past Korcula and
// between Vis and Hvar, up past Mulo and Prisnjak to the finish off Biograd.
Course courseA(GateCatalogue::Set set, bool withStart)
{
    const int o = withStart ? 1 : 0;
    QList<Entry> table = {
        {o + 0, either}, // Dugi Otok North
        {o + 1, 135},    // Mulo (1), down the coast
        {o + 2, 180},    // Bisevo-Vis
        {o + 3, 90},     // Palagruza, round the south of the island to the east
        {o + 4, either}, // Mljet
        {o + 5, 270},    // Korcula
        {o + 6, 0},      // Hvar
        {o + 7, 315},    // Mulo (2)
        {o + 8, 330},    // Prisnjak
        {o + 9, 330},    // Biograd Ziel
    };
    if (withStart)
        table.prepend({0, 330}); // Biograd Start
    return fromTable(set, table, withStart);
}

Course courseE()
{
    const QList<GateDefinition> route = GateCatalogue::gates(GateCatalogue::Set::E);
    // Across the bay of Komiza, 1.7 km north to south: the fleet leaves westwards for the
    // passage between Bisevo and Vis and comes home eastwards.
    const GeoPoint komizaNorth(43.0275, 16.0716);
    const GeoPoint komizaSouth(43.0125, 16.0733);
    QList<CourseMark> marks;
    marks.append(CourseMark::line(QStringLiteral("Start Komiza"), komizaNorth, komizaSouth, 270));
    for (int k = 0; k < route.size(); ++k) {
        const GateDefinition &leg = route[k];
        marks.append(CourseMark::legEnd(QStringLiteral("%1 (%2)").arg(leg.name).arg(k + 1),
                                        GeoPoint(leg.lat1, leg.lng1), GeoPoint(leg.lat2, leg.lng2)));
    }
    // Palagruza as sets A to D have it: from the island 10 km south. Crossed either way: the
    // fleet comes from the north and goes back north, round the island on either side.
    for (const GateDefinition &g : GateCatalogue::gates(GateCatalogue::Set::A)) {
        if (g.name == QLatin1String("Palagruza"))
            marks.append(CourseMark::fromGate(g, either));
    }
    marks.append(CourseMark::line(QStringLiteral("Ziel Komiza"), komizaNorth,
                                  komizaSouth, 90));
    return Course(marks, true);
}

} // namespace

Course CourseCatalogue::course(GateCatalogue::Set set)
{
    using Set = GateCatalogue::Set;
    switch (set) {
    case Set::A:
        return courseA(set, true);
    case Set::B:
        return courseA(set, false);
    case Set::C:
        // Round Dugi Otok, down through Drvenik and between Bisevo and Vis, through the gate
        // north of Palagruza, round the island, back through the gate, east round Mljet, west
        // between Lastovo and Korcula, between Vis and Hvar, north through Drvenik again and
        // past Prisnjak to the finish.
        return fromTable(set,
                         {{0, either},
                          {1, 135},
                          {2, 180},
                          {3, 180},
                          {4, either},
                          {5, 0},
                          {6, either},
                          {7, 270},
                          {8, 0},
                          {9, 315},
                          {10, 330},
                          {11, 330}},
                         false);
    case Set::D:
        // Out of Biograd through Karantunic and Zizanj, south across the Zirje line and between
        // Bisevo and Hvar, round Palagruza eastwards and Mljet, all the way up round Dugi Otok,
        // and down to the finish from the north-west.
        return fromTable(set,
                         {{0, either},
                          {1, either},
                          {2, 180},
                          {3, 180},
                          {4, 90},
                          {5, either},
                          {6, either},
                          {7, 150}},
                         false);
    case Set::E:
        return courseE();
    case Set::None:
        break;
    }
    return {};
}
