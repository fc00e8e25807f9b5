#include "window/SettingsPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

SettingsPage::SettingsPage(QWidget *parent)
    : QWidget(parent)
    , m_lastQuery(new QLabel(unknownTime()))
    , m_autoLoad(new QCheckBox)
    , m_loadMaps(new QCheckBox)
    , m_lookForUpdate(new QCheckBox)
    , m_completeTracks(new QCheckBox)
    , m_speedColours(new QCheckBox)
    , m_staleMinutes(new QSpinBox)
{
    m_lastQuery->setObjectName(QStringLiteral("lastQuery"));
    m_lastQuery->setFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));

    auto *network = new QGroupBox(tr("Netzwerk"));
    auto *networkForm = new QFormLayout(network);
    // The side panel can be narrow: a value then goes below its label.
    networkForm->setRowWrapPolicy(QFormLayout::WrapLongRows);
    networkForm->addRow(QStringLiteral("Letzte Abfrage der Postionsdaten"), m_lastQuery);
    networkForm->addRow(QStringLiteral("Positionsdaten automatisch herunterladen"), m_autoLoad);
    networkForm->addRow(QStringLiteral("Fehlende Karten automatisch herunterladen"), m_loadMaps);
    networkForm->addRow(QStringLiteral("Beim Start nach Programmupdates suchen"), m_lookForUpdate);

    auto *boats = new QGroupBox(tr("Boote"));
    auto *boatsForm = new QFormLayout(boats);
    boatsForm->addRow(QStringLiteral("komplette Tracks anzeigen"), m_completeTracks);

    auto *replay = new QGroupBox(tr("Wiedergabe"));
    auto *replayForm = new QFormLayout(replay);
    replayForm->setRowWrapPolicy(QFormLayout::WrapLongRows);
    m_staleMinutes->setObjectName(QStringLiteral("staleMinutes"));
    m_staleMinutes->setToolTip(tr("Ein Boot, dessen letzte Position zur Wiedergabezeit älter ist, wird blass "
                                  "gezeichnet, mit dem Alter der Position."));
    replayForm->addRow(tr("Position gilt als veraltet nach"), m_staleMinutes);
    m_speedColours->setObjectName(QStringLiteral("speedColours"));
    m_speedColours->setToolTip(tr("Jeder Abschnitt eines Tracks in der Farbe seiner Geschwindigkeit, von langsam "
                                  "(blau) bis schnell (rot)."));
    replayForm->addRow(tr("Tracks nach Geschwindigkeit färben"), m_speedColours);

    auto *page = new QFormLayout(this);
    page->addRow(network);
    page->addRow(boats);
    page->addRow(replay);
}

bool SettingsPage::loadMaps() const
{
    return m_loadMaps->isChecked();
}

bool SettingsPage::lookForUpdate() const
{
    return m_lookForUpdate->isChecked();
}

bool SettingsPage::showCompleteTracks() const
{
    return m_completeTracks->isChecked();
}

void SettingsPage::setLoadMaps(bool on)
{
    m_loadMaps->setChecked(on);
}

void SettingsPage::setLookForUpdate(bool on)
{
    m_lookForUpdate->setChecked(on);
}

void SettingsPage::setShowCompleteTracks(bool on)
{
    m_completeTracks->setChecked(on);
}

QString SettingsPage::unknownTime()
{
    return QStringLiteral("--.--.---- --:--");
}
