#include "window/RaceMenus.h"

#include "chart/GateItem.h"

#include <QAction>
#include <QDebug>
#include <QMenu>

RaceMenus::RaceMenus(QMenu *races, QMenu *gates)
    : m_raceMenu(races)
    , m_gateMenu(gates)
{
}

void RaceMenus::logAddRace()
{
    qDebug() << "MainWindow::addRaces(), vor this->addRace()";
}

QStringList RaceMenus::gateNames() const
{
    QStringList names;
    for (const GateItem *gate : m_gates)
        names << gate->name();
    return names;
}

QList<Race> RaceMenus::racesNamedBy(const QAction *entry) const
{
    QList<Race> named;
    for (const Race &race : m_races) {
        if (entry && entry->text().startsWith(race.name))
            named << race;
    }
    return named;
}

QList<GateItem *> RaceMenus::gatesNamedBy(const QAction *entry) const
{
    QList<GateItem *> named;
    for (GateItem *gate : m_gates) {
        if (entry && entry->text().startsWith(gate->name()))
            named << gate;
    }
    return named;
}
