#include "race/Regatta.h"

#include "chart/GateItem.h"
#include "chart/Karte.h"
#include "chart/Scheme.h"
#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "race/GateCatalogue.h"
#include "race/RegattaHost.h"
#include "store/AssetLocator.h"
#include "store/Clock.h"
#include "store/Environment.h"
#include "store/MessagePresenter.h"
#include "store/Sql.h"

#include <QDebug>
#include <QImage>
#include <QSqlQuery>
#include <QTreeView>
#include <QVariant>

namespace {
// A boat id the tracking server uses for something that is not a boat.
constexpr int hiddenShipId = 38;
constexpr double simplifyTolerance = 0.0005;
const QString urlKind = QStringLiteral("url");
} // namespace

Regatta::Regatta(RegattaHost *host, int eventId, int taskId)
    : m_eventId(eventId)
    , m_taskId(taskId)
{
    initRegatta(host, eventId, taskId);
}

Regatta::~Regatta()
{
    if (m_host && m_host->chart())
        m_host->chart()->setGates({});
    deleteShips();
    qDeleteAll(m_gates);
}

QString Regatta::boatListUrl()
{
    return Environment::trackingEndpoint(QStringLiteral("api/getBoats.php"));
}

QString Regatta::positionUrl()
{
    return Environment::trackingEndpoint(QStringLiteral("api/getPosition.php"));
}

QString Regatta::positionQuery(int eventId, int taskId, int shipId, int since)
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
    QSqlQuery query;
    if (!query.exec(Sql::Regatta::selectAll))
        return;
    while (query.next()) {
        Race race;
        race.id = query.value(0).toInt();
        race.eventId = query.value(1).toInt();
        race.taskId = query.value(2).toInt();
        race.name = query.value(3).toString();
        race.von = query.value(4).toInt();
        race.bis = query.value(5).toInt();
        race.showCompleteTracks = query.value(6).toInt() == 1;
        m_races.append(race);
    }
}

void Regatta::loadRace(const Race &race)
{
    m_host->participantList()->clearShips();
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
    if (race.bis < Clock::nowSeconds()) {
        m_host->setAutoLoad(false);
        m_host->disableAutoLoad();
    } else {
        m_host->enableLoading();
    }
}

void Regatta::initGates(int eventId, int taskId)
{
    // The chart must not draw gates that are about to go.
    m_host->chart()->setGates({});
    qDeleteAll(m_gates);
    m_gates.clear();
    for (const GateDefinition &d : GateCatalogue::gatesFor(eventId, taskId))
        m_gates.append(new GateItem(d.lat1, d.lng1, d.lat2, d.lng2, d.bearing, d.length, d.name, d.midFlag));
}

void Regatta::reloadGates()
{
    const Karte *chart = m_host->chart();
    for (GateItem *gate : std::as_const(m_gates)) {
        const GeoPoint a = gate->geoEnd1();
        const GeoPoint b = gate->geoEnd2();
        gate->setPixelEnds(chart->getPixelPosForCoordinates(a.lng, a.lat),
                           chart->getPixelPosForCoordinates(b.lng, b.lat));
        m_host->scene()->addItem(gate);
    }
    m_host->chart()->setGates(m_gates);
}

void Regatta::deleteShips()
{
    qDeleteAll(m_ships);
    m_ships.clear();
    ++m_shipsGeneration;
}

int Regatta::replaceShipsFromDB(int eventId)
{
    m_host->participantList()->clearShips();
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
    const bool mustReloadShips = von > Clock::nowSeconds();
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
    QSqlQuery query;
    query.setForwardOnly(true);
    query.prepare(Sql::Ship::selectOfEvent);
    query.bindValue(QStringLiteral(":regatta_id"), eventId);
    if (!query.exec()) {
        qDebug() << "Regatta::loadShipsDB, query.exec = false...";
        return 0;
    }
    if (!query.next()) {
        qDebug() << "Regatta::loadShipsDB, query.next = false...";
        return 0;
    }

    ++m_shipsGeneration;
    IconSelector *list = m_host->participantList();
    QString currentClass;
    QList<Ship *> classShips;
    int classRow = 0;
    do {
        const int id = query.value(0).toInt();
        qDebug() << "Regatta::loadShipsDB, shipid = " << id;
        if (id == hiddenShipId)
            continue;
        auto *ship = new Ship(id, QStringLiteral("Boot%1").arg(id), QString(), QString());
        ship->setRegattaId(query.value(1).toInt());
        ship->setKlasse(query.value(2).toString());
        ship->setStartnr(query.value(6).toString());
        ship->setName(query.value(3).toString());
        ship->setSkipper(query.value(5).toString());
        ship->setTeam(query.value(4).toString());
        ship->setFarbe(query.value(7).toString());
        ship->setShow(query.value(8).toBool());
        ship->setFollow(query.value(9).toBool());
        ship->setLastget(query.value(10).toInt());
        ship->takeBaseFarbe();
        ship->setReady(false);
        ship->setShowCompleteTrack(false);
        ship->setSpriteStrip(strip);
        m_ships.append(ship);

        if (ship->klasse() != currentClass) {
            if (!classShips.isEmpty()) {
                list->addClassGroup(currentClass, classShips, classRow);
                classShips.clear();
                ++classRow;
            }
            currentClass = ship->klasse();
        }
        classShips.append(ship);
    } while (query.next());
    list->addClassGroup(currentClass, classShips, classRow);
    // Following one boat unfollows the others, ready or not.
    for (Ship *ship : std::as_const(m_ships))
        ship->setRaceShips(m_ships);
    list->treeView()->expandAll();
    list->treeView()->resizeColumnToContents(0);
    list->treeView()->resizeColumnToContents(1);

    if (m_ships.isEmpty())
        MessagePresenter::show(QMessageBox::Critical, QStringLiteral("init"), QStringLiteral("ships.isEmpty()???"),
                               QMessageBox::Cancel);
    return int(m_ships.size());
}

bool Regatta::loadShipPosDB(Ship *ship)
{
    QSqlQuery query;
    query.setForwardOnly(true);
    query.prepare(Sql::Track::selectOfShip);
    query.bindValue(QStringLiteral(":ship_id"), ship->id());
    query.bindValue(QStringLiteral(":regatta_id"), ship->regattaId());
    if (!query.exec()) {
        qDebug() << "Regatta::loadShipPosDB, pos query.exec = false...";
        return false;
    }
    if (!query.next()) {
        qDebug() << "Regatta::loadShipPosDB, pos query.next = false...";
        return false;
    }
    Track &track = ship->fullTrack();
    int rows = 0;
    do {
        track.append(query.value(0).toDouble(), query.value(1).toDouble(), query.value(2).toInt(), 0, 0);
        ++rows;
    } while (query.next());
    ship->setPointCount(rows);
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
    Scheme *scene = m_host->scene();
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
        if (ship->scene() != scene)
            scene->addItem(ship);
    }
    if (first > 0 && last > 0) {
        m_host->setTimeRange(first + 60, last);
        m_host->setUhrzeit(last);
        m_host->setTimeValue(last);
    } else {
        const int now = int(Clock::nowSeconds());
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
}
