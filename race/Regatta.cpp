#include "race/Regatta.h"

#include "chart/GateItem.h"
#include "chart/Ship.h"
#include "race/GateCatalogue.h"
#include "race/RegattaHost.h"
#include "store/AssetLocator.h"
#include "store/Clock.h"
#include "store/Environment.h"
#include "store/MessagePresenter.h"
#include "store/RegattaTable.h"
#include "store/ShipTable.h"

#include <QDebug>
#include <QImage>

namespace {
// A boat id the tracking server uses for something that is not a boat.
constexpr int hiddenShipId = 38;
constexpr double simplifyTolerance = 0.0005;
const QString urlKind = QStringLiteral("url");
} // namespace

Regatta::Regatta(RegattaHost *host, int eventId, int taskId, Services services)
    : m_services(services)
    , m_eventId(eventId)
    , m_taskId(taskId)
{
    initRegatta(host, eventId, taskId);
}

Regatta::~Regatta()
{
    if (m_host)
        m_host->placeGates({});
    deleteShips();
    qDeleteAll(m_gates);
}

QString Regatta::boatListUrl() const
{
    return m_services.environment.trackingEndpoint(QStringLiteral("api/getBoats.php"));
}

QString Regatta::positionUrl() const
{
    return m_services.environment.trackingEndpoint(QStringLiteral("api/getPosition.php"));
}

QString Regatta::positionQuery(int eventId, int taskId, int shipId, int since) const
{
    return QStringLiteral("%1?rg=%2&wf=%3&bo=%4&h=5&la=%5&csv=1&lid=%6")
        .arg(positionUrl())
        .arg(eventId)
        .arg(taskId)
        .arg(shipId)
        .arg(since)
        .arg(since);
}

void Regatta::initRegatta(RegattaHost *host, int eventId, int taskId)
{
    m_host = host;
    m_host->setRegatta(this);
    qDebug() << " regatta::initRegatta, vor initRaces()";
    initRaces();
    qDebug() << " regatta::initRegatta, vor window->addRaces";
    m_host->addRaces(m_races, eventId, taskId);
}

void Regatta::initRaces()
{
    if (const std::optional<QList<Race>> races = RegattaTable::all())
        m_races.append(*races);
}

void Regatta::loadRace(const Race &race)
{
    m_host->clearBoatList();
    m_raceName = race.name;
    m_raceId = race.id;
    m_eventId = race.eventId;
    m_taskId = race.taskId;
    qDebug() << "regatta::loadRace(), vor initGates()";
    initGates(m_eventId, m_taskId);
    qDebug() << "regatta::loadRace(), vor window->addGates()";
    m_host->addGates(m_gates);
    qDebug() << "regatta::loadRace(), vor reloadGates()";
    reloadGates();
    qDebug() << "regatta::loadRace(), vor initShips()";
    initShips(m_eventId, m_taskId, race.von, race.showCompleteTracks);
    qDebug() << "regatta::loadRace(), vor reloadShips()";
    reloadShips();
    if (race.bis < m_services.clock.nowSeconds()) {
        m_host->setAutoLoad(false);
        m_host->disableAutoLoad();
    } else {
        m_host->enableLoading();
    }
}

void Regatta::initGates(int eventId, int taskId)
{
    // The chart must not draw gates that are about to go.
    m_host->placeGates({});
    qDeleteAll(m_gates);
    m_gates.clear();
    for (const GateDefinition &d : GateCatalogue::gatesFor(eventId, taskId))
        m_gates.append(new GateItem(d.lat1, d.lng1, d.lat2, d.lng2, d.bearing, d.length, d.name, d.midFlag));
}

void Regatta::reloadGates()
{
    m_host->placeGates(m_gates);
}

void Regatta::deleteShips()
{
    qDeleteAll(m_ships);
    m_ships.clear();
    ++m_shipsGeneration;
}

int Regatta::replaceShipsFromDB(int eventId)
{
    m_host->clearBoatList();
    deleteShips();
    const int count = loadShipsDB(eventId, 0);
    // Boats the new list did not name keep their stored positions: they are shown with all of
    // them, as when the race is loaded, and asked only for what is newer.
    for (Ship *ship : std::as_const(m_ships)) {
        ship->setShowCompleteTrack(m_showCompleteTracks);
        if (loadShipPosDB(ship))
            ship->setReady(true);
    }
    return count;
}

void Regatta::initShips(int eventId, int taskId, int von, bool showCompleteTracks)
{
    deleteShips();
    m_showCompleteTracks = showCompleteTracks;
    // A race that has not started may still change its boat list.
    const bool mustReloadShips = von > m_services.clock.nowSeconds();
    if (mustReloadShips || loadShipsDB(eventId, taskId) == 0) {
        qDebug() << "(mustReloadShips==true) || (loadShipsDB(eventId, taskId) == 0)";
        const QString url = QStringLiteral("%1?rg=%2&wf=%3&csv=1").arg(boatListUrl()).arg(eventId).arg(taskId);
        qDebug() << "shipUrl = " << url;
        m_host->startRequest(url, eventId, RegattaHost::boatListRequest);
    }

    // Boats with stored positions are only marked ready here; loadRace places them all
    // right after this, once. Placing them after each boat would redo every track per boat.
    for (int i = 0; i < m_ships.size(); ++i) {
        Ship *ship = m_ships[i];
        ship->setShowCompleteTrack(showCompleteTracks);
        if (loadShipPosDB(ship)) {
            ship->setReady(true);
        } else {
            const QString url = positionQuery(eventId, taskId, ship->id(), von);
            qDebug() << QStringLiteral("Regatta::loadShipsNewPos, %1").arg(url);
            ship->setSource(url);
            ship->setSourceKind(urlKind);
            initShip(ship, false, i, von);
        }
    }
}

int Regatta::loadShipsDB(int eventId, int)
{
    const QImage strip(AssetLocator::assetPath(QStringLiteral("sprites/shipstrip.png")), "png");
    QList<ShipRow> rows;
    const ReadResult read = ShipTable::ofEvent(eventId, &rows);
    if (read == ReadResult::Failed) {
        qDebug() << "Regatta::loadShipsDB, query.exec = false...";
        return 0;
    }
    if (read == ReadResult::Empty) {
        qDebug() << "Regatta::loadShipsDB, query.next = false...";
        return 0;
    }

    ++m_shipsGeneration;
    QString currentClass;
    QList<Ship *> classShips;
    int classRow = 0;
    for (const ShipRow &row : std::as_const(rows)) {
        qDebug() << "Regatta::loadShipsDB, shipid = " << row.id;
        if (row.id == hiddenShipId)
            continue;
        auto *ship = new Ship(row.id, QStringLiteral("Boot%1").arg(row.id), QString(), QString());
        ship->setRegattaId(row.regattaId);
        ship->setKlasse(row.klasse);
        ship->setStartnr(row.startnr);
        ship->setName(row.name);
        ship->setSkipper(row.skipper);
        ship->setTeam(row.team);
        ship->setFarbe(row.farbe);
        ship->setShow(row.show);
        ship->setFollow(row.follow);
        ship->setLastget(row.lastget);
        ship->takeBaseFarbe();
        ship->setReady(false);
        ship->setShowCompleteTrack(false);
        ship->setSpriteStrip(strip);
        m_ships.append(ship);

        if (ship->klasse() != currentClass) {
            if (!classShips.isEmpty()) {
                m_host->addClassGroup(currentClass, classShips, classRow);
                classShips.clear();
                ++classRow;
            }
            currentClass = ship->klasse();
        }
        classShips.append(ship);
    }
    m_host->addClassGroup(currentClass, classShips, classRow);
    // Following one boat unfollows the others, ready or not.
    for (Ship *ship : std::as_const(m_ships))
        ship->setRaceShips(m_ships);
    m_host->boatListComplete();

    if (m_ships.isEmpty())
        m_services.messages.show(MessagePresenter::Icon::Critical, QStringLiteral("init"),
                                 QStringLiteral("ships.isEmpty()???"), MessageRequest::Cancel);
    return int(m_ships.size());
}

bool Regatta::loadShipPosDB(Ship *ship)
{
    std::vector<PositionRow> positions;
    int leftOut = 0;
    const ReadResult read = ShipTable::positionsOf(ship->id(), ship->regattaId(), &positions, &leftOut);
    if (read == ReadResult::Failed) {
        qDebug() << "Regatta::loadShipPosDB, pos query.exec = false...";
        return false;
    }
    if (read == ReadResult::Empty) {
        qDebug() << "Regatta::loadShipPosDB, pos query.next = false...";
        return false;
    }
    if (leftOut > 0)
        qWarning() << "Regatta::loadShipPosDB, ungueltige Positionen uebergangen, Boot" << ship->id() << ":" << leftOut;
    Track &track = ship->fullTrack();
    track.reserve(int(positions.size()));
    for (const PositionRow &p : positions)
        track.append(p.lat, p.lng, p.time, 0);
    ship->setPointCount(int(positions.size()));
    return true;
}

void Regatta::initShip(Ship *ship, bool simplifyTrack, int index, int lastget)
{
    qDebug() << "Regatta::loadShipsDB, shipid = " << ship->id();
    ship->setSimplifyTrack(simplifyTrack);
    ship->setLastget(lastget);
    if (ship->sourceKind() == urlKind && m_host->autoLoad()) {
        qDebug() << "Regatta::loadShipsDB, startRequest, shipid = " << ship->id();
        m_host->startRequest(ship->source(), index, RegattaHost::positionRequest);
    }
}

void Regatta::loadShipsNewPos()
{
    for (int i = 0; i < m_ships.size(); ++i) {
        Ship *ship = m_ships[i];
        const QString url = positionQuery(m_eventId, m_taskId, ship->id(), ship->lastget());
        qDebug() << QStringLiteral("Regatta::loadShipsNewPos, %1").arg(url);
        ship->setSource(url);
        ship->setSourceKind(urlKind);
        ship->setSimplifyTrack(false);
        m_host->startRequest(url, i, RegattaHost::positionRequest);
    }
}

void Regatta::reloadShips()
{
    int first = 0;
    int last = 0;
    for (Ship *ship : std::as_const(m_ships)) {
        if (!ship->ready())
            continue;
        if (ship->pointCount() > 0 && !ship->fullTrack().isEmpty()) {
            ship->showFullTrack();
            if (ship->simplifyTrack()) {
                ship->simplify(simplifyTolerance);
                ship->showSimplifiedTrack();
            }
            ship->shownTrack().setColour(ship->farbe());
            ship->fullTrack().setColour(ship->farbe());
            ship->setShowSprite(false);
        }
        ship->setRaceShips(m_ships);
        Track &shown = ship->shownTrack();
        if (ship->pointCount() > 0 && !shown.isEmpty()) {
            const int f = shown.point(0).time;
            const int l = shown.last().time;
            if (first == 0 || f < first)
                first = f;
            if (l > last)
                last = l;
            // The legs are projected where they are drawn (updateOnChart), on every
            // refresh; projecting all of them here as well would only cost time.
            if (shown.segmentCount() > 0)
                ship->setCurrentPoint(shown.point(0));
        }
        m_host->placeShip(ship);
    }
    m_host->tracksChanged();
    if (first > 0 && last > 0) {
        m_host->setTimeRange(first + 60, last);
        m_host->setUhrzeit(last);
        m_host->setTimeValue(last);
    } else {
        const int now = int(m_services.clock.nowSeconds());
        m_host->setTimeRange(now, now);
        m_host->setUhrzeit(now);
        m_host->setTimeValue(now);
    }
    m_host->setNetLedOff();
}

void Regatta::setShowCompleteTracks(int raceId, bool on)
{
    for (Race &race : m_races) {
        if (race.id == raceId)
            race.showCompleteTracks = on;
    }
    if (raceId != m_raceId)
        return;
    m_showCompleteTracks = on;
    for (Ship *ship : std::as_const(m_ships))
        ship->setShowCompleteTrack(on);
}
