#include "race/GateCatalogue.h"

namespace {

const GateDefinition biogradStart{43.98, 15.366, 0, 0, 240, 0.6, QStringLiteral("Biograd Start"), true};

// Set A without its start; set B is exactly this list.
const QList<GateDefinition> courseA = {
    {44.188733, 14.845183, 0, 0, 0, 5, QStringLiteral("Dugi Otok North"), false},
    {43.51445, 15.918583, 0, 0, 225, 60, QStringLiteral("Mulo (1)"), true},
    {42.986766, 16.0203, 43.00675, 16.066916, 0, 0, QStringLiteral("Bisevo-Vis"), true},
    {42.391933, 16.255316, 0, 0, 180, 10, QStringLiteral("Palagruza"), false},
    {42.686183, 17.74815, 0, 0, 90, 17, QStringLiteral("Mljet"), false},
    {42.98345, 16.6069, 0, 0, 225, 25, QStringLiteral("Korcula"), true},
    {43.072933, 16.254966, 43.1651, 16.4369, 0, 0, QStringLiteral("Hvar"), true},
    {43.51445, 15.918583, 0, 0, 45, 4, QStringLiteral("Mulo (2)"), true},
    {43.825583, 15.558533, 0, 0, 240, 14, QStringLiteral("Prisnjak"), true},
    {43.9375, 15.439133, 0, 0, 240, 0.7, QStringLiteral("Biograd Ziel"), true},
};

const QList<GateDefinition> setC = {
    {44.188733, 14.845183, 0, 0, 0, 5, QStringLiteral("Golac"), false},
    {43.321, 15.8305, 43.445667, 16.054167, 0, 0, QStringLiteral("Drvenik"), true},
    {42.986766, 16.0203, 43.00675, 16.066916, 0, 0, QStringLiteral("Bisevo-Vis"), true},
    {42.578333, 16.336667, 42.548333, 16.473333, 0, 0, QStringLiteral("Gate Palagruza"), true},
    {42.391933, 16.255316, 0, 0, 180, 10, QStringLiteral("Palagruza"), false},
    {42.578333, 16.336667, 42.548333, 16.473333, 0, 0, QStringLiteral("Gate Palagruza"), true},
    {42.686183, 17.74815, 0, 0, 90, 17, QStringLiteral("Mljet"), false},
    {42.783333, 16.99, 42.921667, 17.026667, 0, 0, QStringLiteral("Lastovo"), true},
    {43.072933, 16.254966, 43.1651, 16.4369, 0, 0, QStringLiteral("Vis - Hvar"), true},
    {43.321, 15.8305, 43.445667, 16.054167, 0, 0, QStringLiteral("Drvenik"), true},
    {43.825583, 15.558533, 0, 0, 240, 14, QStringLiteral("Prisnjak"), true},
    {43.9375, 15.439133, 0, 0, 240, 0.061, QStringLiteral("Biograd Ziel"), true},
};

const QList<GateDefinition> setD = {
    {44.0078, 15.239, 43.9505, 15.1517, 0, 0, QStringLiteral("Karantunic"), true},
    {43.87566, 15.425, 43.8, 15.425, 0, 0, QStringLiteral("Zizanj"), true},
    {43.5951, 15.172, 43.7216, 15.85, 0, 5, QStringLiteral("Zirje"), true},
    {42.9883, 16.0216, 43.165833, 16.438333, 43.17, 16.4416, QStringLiteral("Bisevo-Hvar"), true},
    {42.391933, 16.255316, 0, 0, 180, 10, QStringLiteral("Palagruza"), false},
    {42.686183, 17.74815, 0, 0, 90, 17, QStringLiteral("Mljet"), false},
    {44.188733, 14.845183, 0, 0, 0, 5, QStringLiteral("Golac"), false},
    {43.9375, 15.439133, 0, 0, 240, 0.061, QStringLiteral("Biograd Ziel"), true},
};

// Set E is a route: eight legs, each from one of these points to the next.
constexpr double routeE[9][2] = {
    {42.7674573, 16.0979272},   {42.7706917, 16.1078664}, {42.583976738, 16.177739717},
    {42.5779437, 16.1537254},   {42.5641198, 16.116647},  {42.5481013, 16.085497},
    {42.5298597, 16.0588894},   {42.5104008, 16.0370185}, {42.4965202, 16.0244896},
};

QList<GateDefinition> setE()
{
    QList<GateDefinition> gates;
    for (int k = 0; k < 8; ++k) {
        gates.append({routeE[k][0], routeE[k][1], routeE[k + 1][0], routeE[k + 1][1], 0, 0,
                      QStringLiteral("Rtg. Palagruza"), true});
    }
    return gates;
}

} // namespace

GateCatalogue::Set GateCatalogue::setFor(int eventId, int taskId)
{
    switch (eventId) {
    case 10:
        return taskId == 88 ? Set::A : Set::None;
    case 21:
        return taskId == 120 ? Set::A : Set::None;
    case 100:
        return taskId == 200 ? Set::B : Set::None;
    case 104:
        return (taskId == 218 || taskId == 219 || taskId == 220) ? Set::B : Set::None;
    case 105:
        return taskId == 221 ? Set::B : Set::None;
    case 106:
        return taskId == 222 ? Set::B : Set::None;
    case 112:
        return Set::B;
    case 114:
    case 115:
    case 117:
    case 120:
    case 121:
        return Set::C;
    case 122:
        return Set::D;
    case 125:
        return Set::E;
    default:
        return Set::None;
    }
}

QList<GateDefinition> GateCatalogue::gates(Set set)
{
    switch (set) {
    case Set::A:
        return QList<GateDefinition>{biogradStart} + courseA;
    case Set::B:
        return courseA;
    case Set::C:
        return setC;
    case Set::D:
        return setD;
    case Set::E:
        return setE();
    case Set::None:
        break;
    }
    return {};
}
