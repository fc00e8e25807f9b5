#pragma once

#include <QObject>

// "Datei → Tracks exportieren…" in a real window on a stored race: what is written, and
// what the user is told.
class TrackExportActionTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void shownBoatsUpToTheReplayTimeOrComplete();
    void typedNameWithoutSuffixAsksBeforeReplacing();
    void unwritableTargetIsToldInGerman();
    void nothingShownAsksForNoFile();
};
