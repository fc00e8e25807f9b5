#pragma once

#include <QObject>

// A disk that refuses writes or holds damaged files: the viewer shows what it has, keeps
// nothing half-written, says what failed, and writes again once it can.
class DiskFaultTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void databaseTurningReadOnlyKeepsWhatIsShown();
    void mapsFolderThatCannotBeWrittenIsReported();
    void corruptTileInTheCacheIsReplaced();
    void positionRowsNoAnswerCouldGiveAreLeftOut();
};
