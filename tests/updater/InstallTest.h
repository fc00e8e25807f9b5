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
};
