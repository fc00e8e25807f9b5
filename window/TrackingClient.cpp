#include "window/TrackingClient.h"

#include "chart/Ship.h"
#include "race/Regatta.h"
#include "race/RegattaHost.h"
#include "store/AppIdentity.h"
#include "store/Clock.h"
#include "store/Environment.h"
#include "store/Services.h"
#include "store/BoatListStore.h"
#include "store/PositionStore.h"
#include "window/PositionIngest.h"
#include "window/ReplyChunks.h"
#include "window/TrackingProtocol.h"

#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTextStream>
#include <QTimer>

#include <algorithm>

using TrackingProtocol::LineError;

namespace {
const auto kindAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 1);
const auto shipIdAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 2);
const auto generationAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 3);
constexpr int probeKind = 1;

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

} // namespace

TrackingClient::TrackingClient(Services services, QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_network(network)
    , m_ingest(new PositionIngest(this))
{
    connect(m_network, &QNetworkAccessManager::finished, this, &TrackingClient::handleNetworkData);
    connect(m_ingest, &PositionIngest::ingested, this, &TrackingClient::positionsIngested);
}

QString TrackingClient::probeUrl() const
{
    return m_services.environment.trackingEndpoint(QStringLiteral("api/isup.html"));
}

void TrackingClient::startRequest(const QString &url, int tag, int kind)
{
    QNetworkRequest request{QUrl(url)};
    request.setRawHeader("User-Agent", AppIdentity::userAgent);
    request.setRawHeader("Track-Type", kind == RegattaHost::boatListRequest ? "getnewboats" : "getnewpos");
    request.setAttribute(QNetworkRequest::User, tag);
    request.setAttribute(kindAttribute, kind);
    request.setTransferTimeout(m_timeoutMs);
    if (kind == RegattaHost::positionRequest) {
        const QList<Ship *> ships = m_regatta ? m_regatta->ships() : QList<Ship *>();
        if (tag >= 0 && tag < ships.size())
            request.setAttribute(shipIdAttribute, ships[tag]->id());
        request.setAttribute(generationAttribute, m_regatta ? m_regatta->shipsGeneration() : -1);
        ++m_outstandingPositions;
    }
    QNetworkReply *reply = m_network->get(request);
    if (kind == RegattaHost::positionRequest)
        ReplyChunks::collect(reply);
    emit requestSent();
}

bool TrackingClient::checkServerUp()
{
    QNetworkRequest request{QUrl(probeUrl())};
    request.setRawHeader("User-Agent", AppIdentity::userAgent);
    request.setAttribute(QNetworkRequest::User, probeTag);
    request.setAttribute(kindAttribute, probeKind);
    request.setTransferTimeout(m_timeoutMs);
    m_network->get(request);
    return m_serverUp;
}

void TrackingClient::getData()
{
    qDebug() << "MainWindow::getData";
    const qint64 now = m_services.clock.nowSeconds();
    if (m_regatta && now < m_regatta->fetchThreshold()) {
        qDebug() << now << " >= " << m_regatta->fetchThreshold();
        return;
    }
    if (!checkServerUp()) {
        qDebug() << " connection not available????";
        return;
    }
    if (m_busy) {
        qDebug() << " still getting data...";
        return;
    }
    m_busy = true;
    if (m_regatta)
        m_regatta->loadShipsNewPos();
    // A race without boats sends nothing; nothing is outstanding then.
    if (m_outstandingPositions == 0)
        m_busy = false;
    emit fetchStarted();
}

void TrackingClient::handleNetworkData(QNetworkReply *reply)
{
    const QNetworkRequest request = reply->request();
    const int tag = request.attribute(QNetworkRequest::User).toInt();
    const int kind = request.attribute(kindAttribute).toInt();
    // A position answer handed to the worker is done when its result is back.
    bool deferred = false;
    if (reply->error() != QNetworkReply::NoError) {
        m_serverUp = false;
        qDebug() << " no connexxion, " << request.url() << " = " << int(reply->error()) << ", "
                 << reply->errorString();
        emit requestFailed(kind, reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                           reply->errorString());
        reply->abort();
    } else {
        const QString url = request.url().toString();
        if (url.contains(QStringLiteral("getPosition.php")) && handlePositions(reply, tag))
            deferred = true;
        if (url.contains(QStringLiteral("getBoats.php")))
            boatListArrived(reply->readAll(), tag);
        if (url.contains(QStringLiteral("isup.html")))
            m_serverUp = true;
    }
    reply->deleteLater();
    emit replyHandled();
    if (kind == RegattaHost::positionRequest && !deferred)
        positionReplyDone();
}

void TrackingClient::positionReplyDone()
{
    m_outstandingPositions = std::max(0, m_outstandingPositions - 1);
    // A fetch is over when all its answers are in, not when the indicator says so: only
    // then may the next one ask from the boats' new lastget on.
    if (m_outstandingPositions == 0)
        m_busy = false;
}

Ship *TrackingClient::shipFor(QNetworkReply *reply, int tag) const
{
    if (!m_regatta)
        return nullptr;
    const QList<Ship *> ships = m_regatta->ships();
    const QNetworkRequest request = reply->request();
    if (tag < 0 || tag >= ships.size() || request.attribute(generationAttribute).toInt() != m_regatta->shipsGeneration()
        || request.attribute(shipIdAttribute).toInt() != ships[tag]->id())
        return nullptr;
    return ships[tag];
}

bool TrackingClient::handlePositions(QNetworkReply *reply, int tag)
{
    Ship *ship = shipFor(reply, tag);
    if (!ship) {
        qDebug() << "MainWindow::handleNetworkData, getPosition, boat list changed since the request, dropped: "
                 << reply->request().url().toString();
        return false;
    }
    IngestJob job;
    job.shipId = ship->id();
    job.eventId = ship->regattaId();
    job.tag = tag;
    job.generation = reply->request().attribute(generationAttribute).toInt();
    job.lastget = ship->lastget();
    job.body = ReplyChunks::take(reply);
    const Track &track = ship->fullTrack();
    job.knownTimes.reserve(size_t(track.count()));
    for (int i = 0; i < track.count(); ++i)
        job.knownTimes.push_back(track.time(i));
    m_ingest->submit(std::move(job));
    return true;
}

void TrackingClient::positionsIngested(const IngestResult &result)
{
    for (const IngestResult::LineProblem problem : result.problems)
        out() << " shipidx (httpFinished) = " << result.tag
              << (problem == IngestResult::LineProblem::FieldCount ? ", ungleich 5..." : ", ungueltige Position...")
              << Qt::endl;
    const QList<Ship *> ships = m_regatta ? m_regatta->ships() : QList<Ship *>();
    Ship *ship = m_regatta && result.generation == m_regatta->shipsGeneration() && result.tag >= 0
                         && result.tag < ships.size() && ships[result.tag]->id() == result.shipId
                     ? ships[result.tag]
                     : nullptr;
    if (!result.outcome.ok) {
        // Nothing of the answer is kept and lastget stays: the next fetch asks again.
        qWarning() << "TrackingClient::handlePositions, Positionen von Boot" << result.shipId
                   << "nicht gespeichert:" << result.outcome.error;
        emit problem(tr("Positionsdaten von Boot %1 konnten nicht gespeichert werden: %2")
                         .arg(result.shipId)
                         .arg(result.outcome.error));
    } else if (ship) {
        mergeStored(ship, result);
    }
    if (ship) {
        emit lastReportChanged(ship);
        emit positionsAnswered();
        ship->setReady(true);
        scheduleReload();
    } else {
        // Stored all the same; the boat list it was for is gone, and the race shows the
        // stored positions when it is loaded again.
        qDebug() << "TrackingClient::positionsIngested, Boot" << result.shipId << "nicht mehr geladen";
    }
    positionReplyDone();
    while (m_ingest->pending() == 0 && !m_waitingBoatLists.isEmpty()) {
        const auto [tag, body] = m_waitingBoatLists.takeFirst();
        handleBoatList(QString::fromUtf8(body), tag);
    }
}

void TrackingClient::mergeStored(Ship *ship, const IngestResult &result)
{
    // The race may have been loaded from the table after the positions were stored: times
    // the track holds by now are left out.
    Track &track = ship->fullTrack();
    track.mergeNew(result.stored);
    ship->setPointCount(track.count());
    ship->setLastget(std::max(ship->lastget(), result.outcome.lastget));
}

void TrackingClient::scheduleReload()
{
    // Answers arrive in bursts, one per boat; one placement after the burst serves them all.
    if (m_reloadScheduled)
        return;
    m_reloadScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_reloadScheduled = false;
        if (m_regatta)
            m_regatta->reloadShips();
    });
}

void TrackingClient::boatListArrived(const QByteArray &body, int tag)
{
    // A boat list resets its boats' lastget and clears their tracks; positions still being
    // stored were asked for from the old lastget and must be in before, or they would
    // claim what the list cleared.
    if (m_ingest->pending() > 0) {
        m_waitingBoatLists.append({tag, body});
        return;
    }
    handleBoatList(QString::fromUtf8(body), tag);
}

void TrackingClient::handleBoatList(const QString &body, int tag)
{
    qDebug() << "MainWindow::handleNetworkData, getBoats ...";
    BoatListStore store;
    if (!store.begin()) {
        boatListNotStored(store.error());
        return;
    }
    int k = 0;
    int otherEvent = 0;
    for (const QString &line : TrackingProtocol::lines(body)) {
        LineError error = LineError::None;
        const std::optional<BoatRow> b = TrackingProtocol::parseBoat(line, &error);
        if (!b) {
            qDebug() << (error == LineError::FieldCount ? "MainWindow::handleNetworkData, ungleich 10 ..."
                                                        : "MainWindow::handleNetworkData, ungueltige Boot-Id ...");
            continue;
        }
        const bool known = store.exists(b->id, b->raceId);
        qDebug() << (known ? "MainWindow::handleNetworkData, getBoats, update, line="
                           : "MainWindow::handleNetworkData, getBoats, insert, line=")
                 << line;
        const BoatListStore::Write written = store.write(*b, TrackingProtocol::paletteColour(k), known);
        if (written == BoatListStore::Write::Failed) {
            store.rollback();
            boatListNotStored(store.error());
            return;
        }
        if (written == BoatListStore::Write::OtherEvent) {
            // The boat id is the table's key, so the boat cannot be stored for this event too.
            qWarning() << "MainWindow::handleNetworkData, Boot-Id" << b->id << "ist schon unter Regatta"
                       << store.storedEvent() << "gespeichert, nicht unter" << b->raceId;
            ++otherEvent;
        }
        k = (k + 1) % TrackingProtocol::paletteSize;
        if (!store.clearTrack(b->id, tag)) {
            store.rollback();
            boatListNotStored(store.error());
            return;
        }
    }
    if (!store.commit()) {
        boatListNotStored(store.error());
        return;
    }
    qDebug() << "MainWindow::handleNetworkData, getBoats finished";
    if (otherEvent > 0)
        emit problem(
            tr("%1 Boot(e) der Bootsliste sind schon unter einer anderen Regatta gespeichert und fehlen hier.")
                .arg(otherEvent));

    if (!m_regatta || m_regatta->eventId() != tag) {
        // The boats are stored for when that race is chosen again; the race shown now
        // has other boats.
        qDebug() << "MainWindow::handleNetworkData, getBoats for event" << tag << "which is not loaded";
        return;
    }
    m_regatta->replaceShipsFromDB(tag);
    scheduleReload();
    getData();
}

void TrackingClient::boatListNotStored(const QString &error)
{
    // Nothing of the list is kept; the boats shown stay as they were.
    qWarning() << "TrackingClient::handleBoatList, Bootsliste nicht gespeichert:" << error;
    emit problem(tr("Die Bootsliste konnte nicht gespeichert werden: %1").arg(error));
}
