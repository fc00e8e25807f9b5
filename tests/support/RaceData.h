#pragma once

#include <QList>
#include <QString>

// Boats and tracks written straight into the test database, the way the tracking-server
// answers would have stored them.
namespace RaceData {

struct Fix
{
    double lat;
    double lng;
    int time;
};

struct Boat
{
    int id;
    int event;
    QString klasse;
    QString startnr;
    QString name;
    QString team = QStringLiteral("Team");
    QString skipper = QStringLiteral("Skipper");
    QString farbe = QStringLiteral("#ff008a");
    bool show = true;
    bool follow = false;
    int lastget = 0;
};

void insertBoat(const Boat &boat);
void insertTrack(int shipId, int event, const QList<Fix> &fixes);
// n fixes from (lat, lng), moving by (dLat, dLng) every dt seconds from t0 on.
QList<Fix> straight(double lat, double lng, double dLat, double dLng, int t0, int dt, int n);
void setRaceWindow(int eventId, int taskId, int von, int bis);
int trackRows(int shipId, int event);
int distinctTrackRows(int shipId, int event);
int storedLastget(int shipId);
QString storedFollow(int shipId);

} // namespace RaceData

// Four boats of event 125 in two classes, each with an hour of fixes a minute apart.
void storeFleet(int firstTime = 1712743200);
