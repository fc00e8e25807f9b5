#pragma once

#include "store/Services.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <utility>

class PositionIngest;
struct IngestResult;
class QNetworkAccessManager;
class QNetworkReply;
class Regatta;
class Ship;

// The tracking server's client: sends boat-list, position and reachability requests and
// merges the answers into the database and the race model. What the window should show of
// it comes out as signals.
class TrackingClient : public QObject
{
    Q_OBJECT
public:
    // A server that stops answering ends a request after this long, so fetching resumes.
    static constexpr int defaultTimeoutMs = 60000;
    static constexpr int probeTag = 100;

    // network: not owned; all tracking requests go through it.
    TrackingClient(Services services, QNetworkAccessManager *network, QObject *parent = nullptr);

    // The race model whose boats the answers are for.
    void setRegatta(Regatta *regatta) { m_regatta = regatta; }

    void startRequest(const QString &url, int tag, int kind);
    // Sends a reachability probe; the result of the previous one.
    bool checkServerUp();
    void getData();

    QNetworkAccessManager *network() const { return m_network; }
    bool serverUp() const { return m_serverUp; }
    bool busy() const { return m_busy; }
    int outstandingPositions() const { return m_outstandingPositions; }
    // Answers are in whose boats have not been placed yet.
    bool reloadPending() const { return m_reloadScheduled; }
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    QString probeUrl() const;

signals:
    // A boat-list or position request went out.
    void requestSent();
    // A reply of any kind, the probe's too, has been handled.
    void replyHandled();
    // getData sent its position requests: the period of automatic fetching starts anew.
    void fetchStarted();
    // A position answer for this boat has been handled; its lastget is current.
    void lastReportChanged(Ship *ship);
    // A position answer has been handled: the time of the last position query is now.
    void positionsAnswered();
    // Something went wrong that the user should know of (data not stored, boats left out).
    void problem(const QString &note);
    // A request of that kind (RegattaHost's kinds; 1 for the probe) got no answer or an HTTP
    // error; httpStatus is 0 when the server was not reached at all.
    void requestFailed(int kind, int httpStatus, const QString &error);

public slots:
    void handleNetworkData(QNetworkReply *reply);

private:
    Ship *shipFor(QNetworkReply *reply, int tag) const;
    // Hands the answer to the worker; false if it is dropped instead.
    bool handlePositions(QNetworkReply *reply, int tag);
    void positionsIngested(const IngestResult &result);
    void mergeStored(Ship *ship, const IngestResult &result);
    void boatListArrived(const QByteArray &body, int tag);
    void handleBoatList(const QString &body, int tag);
    void boatListNotStored(const QString &error);
    void positionReplyDone();
    void scheduleReload();

    Services m_services;
    QNetworkAccessManager *m_network;
    PositionIngest *m_ingest;
    // Boat lists that came while positions were being stored, with their events.
    QList<std::pair<int, QByteArray>> m_waitingBoatLists;
    Regatta *m_regatta = nullptr;
    int m_timeoutMs = defaultTimeoutMs;
    // Nothing has failed yet: the first fetch goes ahead while its probe is on its way.
    bool m_serverUp = true;
    bool m_busy = false;
    int m_outstandingPositions = 0;
    bool m_reloadScheduled = false;
};
