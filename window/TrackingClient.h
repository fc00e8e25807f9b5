#pragma once

#include <QObject>
#include <QString>

class MainWindow;
class QNetworkAccessManager;
class QNetworkReply;
class Ship;

// The tracking server's client: sends boat-list, position and reachability requests and
// merges the answers into the database and the boats on the chart.
class TrackingClient : public QObject
{
    Q_OBJECT
public:
    // A server that stops answering ends a request after this long, so fetching resumes.
    static constexpr int defaultTimeoutMs = 60000;
    static constexpr int probeTag = 100;

    explicit TrackingClient(MainWindow &window);

    void startRequest(const QString &url, int tag, int kind);
    // Sends a reachability probe; the result of the previous one.
    bool checkServerUp();
    void getData();
    void handleNetworkData(QNetworkReply *reply);

    QNetworkAccessManager *network() const { return m_network; }
    bool serverUp() const { return m_serverUp; }
    bool busy() const { return m_busy; }
    int outstandingPositions() const { return m_outstandingPositions; }
    // Answers are in whose boats have not been placed yet.
    bool reloadPending() const { return m_reloadScheduled; }
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    static QString probeUrl();

private:
    Ship *shipFor(QNetworkReply *reply, int tag) const;
    void handlePositions(QNetworkReply *reply, int tag);
    void handleBoatList(QNetworkReply *reply, int tag);
    void boatListNotStored(const QString &error);
    void positionReplyDone();
    void scheduleReload();

    MainWindow &m_window;
    QNetworkAccessManager *m_network;
    int m_timeoutMs = defaultTimeoutMs;
    // Nothing has failed yet: the first fetch goes ahead while its probe is on its way.
    bool m_serverUp = true;
    bool m_busy = false;
    int m_outstandingPositions = 0;
    bool m_reloadScheduled = false;
};
