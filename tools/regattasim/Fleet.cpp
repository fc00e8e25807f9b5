#include "tools/regattasim/Fleet.h"

#include <iterator>

namespace {
const QStringList boatNames = {
    QStringLiteral("Bura"),          QStringLiteral("Maestral"),     QStringLiteral("Galeb"),
    QStringLiteral("Lastavica"),     QStringLiteral("Modri Val"),    QStringLiteral("Tramontana"),
    QStringLiteral("Dupin"),         QStringLiteral("Sirocco Blu"),  QStringLiteral("Morska Vila"),
    QStringLiteral("Seeschwalbe"),   QStringLiteral("Libeccio"),     QStringLiteral("Kormoran"),
    QStringLiteral("Vjetrenjača"),   QStringLiteral("Nordlicht"),    QStringLiteral("Zefir"),
    QStringLiteral("Polaris"),       QStringLiteral("Adriana"),      QStringLiteral("Blauer Peter"),
    QStringLiteral("Sveti Nikola"),  QStringLiteral("Albatros"),     QStringLiteral("Koralj"),
    QStringLiteral("Windspiel"),     QStringLiteral("Ponente"),      QStringLiteral("Hrid"),
    QStringLiteral("Levante"),       QStringLiteral("Kapetan Jugo"), QStringLiteral("Möwe"),
    QStringLiteral("Orkanka"),       QStringLiteral("Luna Rossa Mala"), QStringLiteral("Škoj"),
    QStringLiteral("Wellenreiter"),  QStringLiteral("Perla"),        QStringLiteral("Burin"),
    QStringLiteral("Svitanje"),      QStringLiteral("Meltemi"),      QStringLiteral("Rondine"),
    QStringLiteral("Sturmvogel"),    QStringLiteral("Nevera"),       QStringLiteral("Oliva"),
    QStringLiteral("Krijesnica"),
};
const QStringList firstNames = {
    QStringLiteral("Ana"),   QStringLiteral("Bruno"), QStringLiteral("Dora"),  QStringLiteral("Emil"),
    QStringLiteral("Frane"), QStringLiteral("Greta"), QStringLiteral("Hrvoje"), QStringLiteral("Iva"),
    QStringLiteral("Jonas"), QStringLiteral("Katja"), QStringLiteral("Lovro"), QStringLiteral("Mara"),
    QStringLiteral("Nino"),  QStringLiteral("Olga"),  QStringLiteral("Paul"),  QStringLiteral("Rina"),
    QStringLiteral("Stipe"), QStringLiteral("Tea"),   QStringLiteral("Uwe"),   QStringLiteral("Vesna"),
};
const QStringList lastNames = {
    QStringLiteral("Brodarić"), QStringLiteral("Wellmann"), QStringLiteral("Jedrić"),  QStringLiteral("Kielhorn"),
    QStringLiteral("Valović"),  QStringLiteral("Seegert"),  QStringLiteral("Pučinić"), QStringLiteral("Luvgardt"),
    QStringLiteral("Krmić"),    QStringLiteral("Ankerholz"), QStringLiteral("Bovanić"), QStringLiteral("Tauwerk"),
    QStringLiteral("Sidrović"), QStringLiteral("Wantenberg"), QStringLiteral("Lučarić"), QStringLiteral("Großschot"),
};
const QStringList teams = {
    QStringLiteral("SC Kvarner Süd"),     QStringLiteral("JK Modra Luka"),    QStringLiteral("Segelfreunde Ammerbucht"),
    QStringLiteral("Team Zirkavento"),    QStringLiteral("JK Sveti Petar"),   QStringLiteral("YC Lagunenhafen"),
    QStringLiteral("Crew Westwind"),      QStringLiteral("JK Borova Uvala"),  QStringLiteral("Segelclub Hohe Welle"),
    QStringLiteral("Offshore Team Nord"),
};
// Start numbers handed out within a class, one- and two-digit ones mixed.
const int startNumbers[] = {2, 10, 7, 21, 1, 14, 5, 33, 9, 12, 3, 48, 17, 6, 25, 11, 4, 30};
} // namespace

namespace Fleet {

quint32 mix(quint32 a, quint32 b)
{
    quint32 h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u + (a << 6) + (a >> 2));
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

double unit(quint32 a, quint32 b)
{
    return double(mix(a, b)) / 4294967296.0;
}

QList<FleetBoat> make(const QList<FleetClass> &classes, int firstId, quint32 seed)
{
    QList<FleetBoat> boats;
    int k = 0;
    for (const FleetClass &c : classes) {
        for (int i = 0; i < c.boats; ++i, ++k) {
            const quint32 s = mix(seed, quint32(k));
            const QString name = boatNames[(k * 7 + int(seed % 11)) % boatNames.size()];
            const QString skipper = firstNames[mix(s, 1) % firstNames.size()] + QLatin1Char(' ')
                                    + lastNames[mix(s, 2) % lastNames.size()];
            // Within a class some boats are a few per cent faster than others.
            const double talent = 0.93 + 0.11 * unit(s, 3);
            boats.append({firstId + k, c.name,
                          QString::number(startNumbers[i % std::size(startNumbers)]),
                          name, teams[mix(s, 4) % teams.size()], skipper,
                          QStringLiteral("CRO %1").arg(1000 + mix(s, 5) % 9000), c.baseKnots * talent, s});
        }
    }
    return boats;
}

} // namespace Fleet
