#pragma once

#include "tests/support/MessageRecorder.h"

#include <QObject>

class UpdaterTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void newerVersionIsOfferedWithReleaseNotes();
    void versionThatIsNotNewerIsReportedOnlyWhenAsked();
    void skippedVersionIsNotOffered();
    void feedWithoutFittingItemEndsSilently();
    void redirectsAreFollowedAndRemembered();
    void redirectLoopEndsWithAReason();
    void brokenFeedsAreReported();
    void itemErrorsAreReported();
    void identityAndFeedAddressAreChecked();
    void windowButtonsAndPostponing();
    void progressDialogFollowsTheDownload();
    void hostileFeedsEndTheCheck_data();
    void hostileFeedsEndTheCheck();
    void releaseNotesAreLimited();
    void hostileFeedEndsTheCheckAndTheNextOneOffers_data();
    void hostileFeedEndsTheCheckAndTheNextOneOffers();
    void redirectsStayOnHttp();
    void oldVersionFilesAreRemovedWithoutFollowingLinks();
    void oldVersionFilesStayWhenThereIsNoTemporaryFolder_data();
    void oldVersionFilesStayWhenThereIsNoTemporaryFolder();

private:
    // Boxes of the updater fail the test unless a recorder made on this expects them.
    TestMessages m_messages;
};
