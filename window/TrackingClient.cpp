#include "window/TrackingClient.h"

#include "chart/Karte.h"
#include "chart/Ship.h"
#include "participants/IconSelector.h"
#include "race/Regatta.h"
#include "race/RegattaHost.h"
#include "store/AppIdentity.h"
#include "store/Clock.h"
#include "store/Environment.h"
#include "store/BoatListStore.h"
#include "store/PositionStore.h"
#include "window/MainWindow.h"
#include "window/SettingsPage.h"
#include "window/TrackingProtocol.h"

#include <QBrush>
#include <QDateTime>
#include <QDebug>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardItem>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <unordered_set>

using TrackingProtocol::LineError;

namespace {
const auto kindAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 1);
const auto shipIdAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 2);
const auto generationAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 3);
constexpr int probeKind = 1;
// A boat that has not reported for this long is shown in red.
constexpr qint64 staleAfterSeconds = 900;

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QString formatLastget(int lastget)
{
    if (lastget == 0)
        return SettingsPage::unknownTime();
    return QDateTime::fromSecsSinceEpoch(lastget).toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm"));
}
} // namespace

TrackingClient::TrackingClient(MainWindow &window)
    : QObject(&window)
    , m_window(window)
    , m_network(new QNetworkAccessManager(this))
{
}

QString TrackingClient::probeUrl()
{
    return Environment::trackingEndpoint(QStringLiteral("api/isup.html"));
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
        const Regatta *regatta = m_window.regatta();
        const QList<Ship *> ships = regatta ? regatta->ships() : QList<Ship *>();
        if (tag >= 0 && tag < ships.size())
            request.setAttribute(shipIdAttribute, ships[tag]->id());
        request.setAttribute(generationAttribute, regatta ? regatta->shipsGeneration() : -1);
        ++m_outstandingPositions;
    }
    m_network->get(request);
    m_window.setNetLedOn();
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
    m_window.chart()->setFocus();
    qDebug() << "MainWindow::getData";
    const Regatta *regatta = m_window.regatta();
    const qint64 now = Clock::nowSeconds();
    if (regatta && now < regatta->fetchThreshold()) {
        qDebug() << now << " >= " << regatta->fetchThreshold();
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
    QTimer *timer = m_window.autoLoadTimer();
    if (m_window.autoLoad() && timer->isActive())
        timer->stop();
    m_busy = true;
    if (m_window.regatta())
        m_window.regatta()->loadShipsNewPos();
    // A race without boats sends nothing; nothing is outstanding then.
    if (m_outstandingPositions == 0)
        m_busy = false;
    if (m_window.autoLoad())
        timer->start(m_window.loadInterval() * 60000);
}

void TrackingClient::handleNetworkData(QNetworkReply *reply)
{
    const QNetworkRequest request = reply->request();
    const int tag = request.attribute(QNetworkRequest::User).toInt();
    const int kind = request.attribute(kindAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        m_serverUp = false;
        qDebug() << " no connexxion, " << request.url() << " = " << int(reply->error()) << ", "
                 << reply->errorString();
        reply->abort();
    } else {
        const QString url = request.url().toString();
        if (url.contains(QStringLiteral("getPosition.php")))
            handlePositions(reply, tag);
        if (url.contains(QStringLiteral("getBoats.php")))
            handleBoatList(reply, tag);
        if (url.contains(QStringLiteral("isup.html")))
            m_serverUp = true;
    }
    reply->deleteLater();
    m_window.setNetLedOff();
    if (kind == RegattaHost::positionRequest)
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
    const Regatta *regatta = m_window.regatta();
    if (!regatta)
        return nullptr;
    const QList<Ship *> ships = regatta->ships();
    const QNetworkRequest request = reply->request();
    if (tag < 0 || tag >= ships.size() || request.attribute(generationAttribute).toInt() != regatta->shipsGeneration()
        || request.attribute(shipIdAttribute).toInt() != ships[tag]->id())
        return nullptr;
    return ships[tag];
}

void TrackingClient::handlePositions(QNetworkReply *reply, int tag)
{
    Ship *ship = shipFor(reply, tag);
    if (!ship) {
        qDebug() << "MainWindow::handleNetworkData, getPosition, boat list changed since the request, dropped: "
                 << reply->request().url().toString();
        return;
    }
    const QString body = QString::fromLocal8Bit(reply->readAll());
    const Track &track = ship->fullTrack();
    // The boat's track in memory holds exactly what is stored, so a position found there (or
    // earlier in this answer) is not offered to the table again. The table's unique index
    // refuses repeats all the same.
    std::vector<PositionRow> fresh;
    std::unordered_set<qint32> seen;
    qint32 newestKnown = 0;
    for (const QString &line : TrackingProtocol::lines(body)) {
        LineError error = LineError::None;
        const std::optional<PositionRow> p = TrackingProtocol::parsePosition(line, &error);
        if (!p) {
            out() << " shipidx (httpFinished) = " << tag
                  << (error == LineError::FieldCount ? ", ungleich 5..." : ", ungueltige Position...") << Qt::endl;
            continue;
        }
        if (!seen.insert(p->time).second || track.indexOfTime(p->time) >= 0) {
            newestKnown = std::max(newestKnown, p->time);
            continue;
        }
        fresh.push_back(*p);
    }
    const PositionStore::Outcome stored =
        PositionStore::store(ship->id(), ship->regattaId(), ship->lastget(), fresh, newestKnown);
    if (stored.ok) {
        std::vector<TrackPoint> points;
        points.reserve(stored.inserted.size());
        for (const int i : stored.inserted) {
            const PositionRow &p = fresh[size_t(i)];
            points.emplace_back(p.lat, p.lng, p.time, p.course, 0);
        }
        std::stable_sort(points.begin(), points.end(),
                         [](const TrackPoint &a, const TrackPoint &b) { return a.time < b.time; });
        ship->fullTrack().merge(std::move(points));
        ship->setPointCount(ship->fullTrack().count());
        ship->setLastget(stored.lastget);
    } else {
        // Nothing of the answer is kept and lastget stays: the next fetch asks again.
        qWarning() << "TrackingClient::handlePositions, Positionen von Boot" << ship->id()
                   << "nicht gespeichert:" << stored.error;
        m_window.showStatusNote(tr("Positionsdaten von Boot %1 konnten nicht gespeichert werden: %2")
                                    .arg(ship->id())
                                    .arg(stored.error));
    }

    if (QStandardItem *cell = ship->lastReportCell()) {
        const bool stale = qint64(ship->lastget()) < Clock::nowSeconds() - staleAfterSeconds;
        cell->setForeground(QBrush(stale ? Qt::red : Qt::black, Qt::SolidPattern));
        cell->setText(formatLastget(ship->lastget()));
    }
    m_window.settingsPage()->lastQueryLabel()->setText(
        Clock::now().toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
    ship->setReady(true);
    scheduleReload();
}

void TrackingClient::scheduleReload()
{
    // Answers arrive in bursts, one per boat; one placement after the burst serves them all.
    if (m_reloadScheduled)
        return;
    m_reloadScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_reloadScheduled = false;
        if (Regatta *regatta = m_window.regatta())
            regatta->reloadShips();
    });
}

void TrackingClient::handleBoatList(QNetworkReply *reply, int tag)
{
    qDebug() << "MainWindow::handleNetworkData, getBoats ...";
    const QString body = QString::fromUtf8(reply->readAll());
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
        m_window.showStatusNote(
            tr("%1 Boot(e) der Bootsliste sind schon unter einer anderen Regatta gespeichert und fehlen hier.")
                .arg(otherEvent));

    Regatta *regatta = m_window.regatta();
    if (!regatta || regatta->eventId() != tag) {
        // The boats are stored for when that race is chosen again; the race shown now
        // has other boats.
        qDebug() << "MainWindow::handleNetworkData, getBoats for event" << tag << "which is not loaded";
        return;
    }
    regatta->replaceShipsFromDB(tag);
    scheduleReload();
    getData();
}

void TrackingClient::boatListNotStored(const QString &error)
{
    // Nothing of the list is kept; the boats shown stay as they were.
    qWarning() << "TrackingClient::handleBoatList, Bootsliste nicht gespeichert:" << error;
    m_window.showStatusNote(tr("Die Bootsliste konnte nicht gespeichert werden: %1").arg(error));
}
