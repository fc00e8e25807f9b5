#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QSpinBox;

// The "Einstellungen" tab: the network preferences, the track display option, when a
// boat's position counts as old on the chart, and tracks coloured by speed.
class SettingsPage : public QWidget
{
    Q_OBJECT
public:
    explicit SettingsPage(QWidget *parent = nullptr);

    QLabel *lastQueryLabel() const { return m_lastQuery; }
    QCheckBox *autoLoadBox() const { return m_autoLoad; }
    QCheckBox *loadMapsBox() const { return m_loadMaps; }
    QCheckBox *lookForUpdateBox() const { return m_lookForUpdate; }
    QCheckBox *completeTracksBox() const { return m_completeTracks; }
    QCheckBox *speedColoursBox() const { return m_speedColours; }
    QSpinBox *staleMinutesBox() const { return m_staleMinutes; }

    // The settings whose flags are their boxes.
    bool loadMaps() const;
    bool lookForUpdate() const;
    bool showCompleteTracks() const;
    void setLoadMaps(bool on);
    void setLookForUpdate(bool on);
    void setShowCompleteTracks(bool on);

    static QString unknownTime();

private:
    QLabel *m_lastQuery;
    QCheckBox *m_autoLoad;
    QCheckBox *m_loadMaps;
    QCheckBox *m_lookForUpdate;
    QCheckBox *m_completeTracks;
    QCheckBox *m_speedColours;
    QSpinBox *m_staleMinutes;
};
