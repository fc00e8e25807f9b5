#pragma once

#include "tests/support/MessageRecorder.h"

#include <QObject>

class InstallTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void signedInstallerIsStartedFromAPrivateFolder();
    void unverifiableInstallerIsRefused_data();
    void unverifiableInstallerIsRefused();
    void failedDownloadKeepsTheProgramRunning();
    void buildWithoutKeyDownloadsNothing();
    void folderThatCannotBeMadeRemovesNothing_data();
    void folderThatCannotBeMadeRemovesNothing();
    void unsafeFileNamesAreRefused_data();
    void unsafeFileNamesAreRefused();
    void installerDownloadsAreLimited_data();
    void installerDownloadsAreLimited();

private:
    // Boxes of the updater fail the test unless a recorder made on this expects them.
    TestMessages m_messages;
};
