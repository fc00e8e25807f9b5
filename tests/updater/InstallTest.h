#pragma once

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
};
