#pragma once

#include <QList>
#include <QObject>

#include <functional>

class Karte;
class QCheckBox;
class Ship;

// Tracks coloured by speed, slow blue to fast red over the race's speed range, with a key
// on the chart. Switched on the settings page and kept in the settings store; off unless
// the user chose it, so the tracks keep their boats' colours.
class SpeedColouring : public QObject
{
    Q_OBJECT
public:
    static constexpr char settingsKey[] = "speedColouredTracks";

    // box and chart: not owned; the box is set to the stored choice. ships: the boats of the
    // race shown, whose tracks set the speed range.
    SpeedColouring(QCheckBox *box, Karte *chart, std::function<QList<Ship *>()> ships, QObject *parent = nullptr);

    bool isOn() const { return m_on; }
    // The boats' tracks changed, or the boats did: the range is worked out again.
    void tracksChanged() { showScale(); }

private:
    void apply(bool on);
    void showScale();

    QCheckBox *m_box;
    Karte *m_chart;
    std::function<QList<Ship *>()> m_ships;
    bool m_on = false;
};
