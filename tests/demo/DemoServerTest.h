#pragma once

#include <QObject>

class DemoServer;

class DemoServerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void boatListFollowsTheProtocol();
    void positionsComeAfterLaOnlyAndAddUp();
    void liveRaceNeverReportsTheFuture();
    void unknownBoatsAndEventsGetEmptyAnswers();
    void feedStillOffersTheVersionAskedFor();

private:
    DemoServer *m_server = nullptr;
    qint64 m_now = 0;
};
