#pragma once

#include <QObject>

class TileCacheTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cachedTileIsReadAndNeverRequested();
    void missingTilesAreFetchedOnceSavedAndFoundAgain();
    void withDownloadsOffPlaceholdersStayUntilPurged();
    void failedRepliesLeavePlaceholders_data();
    void failedRepliesLeavePlaceholders();
    void stalledRequestEndsByTimeout();
    void redirectedTileIsCachedUnderItsOwnIndex();
    void replyForEarlierZoomFillsCacheButNotTheChart();
    void edgesOfTheWorldFollowTheSearchOrder_data();
    void edgesOfTheWorldFollowTheSearchOrder();
};
