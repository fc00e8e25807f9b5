#pragma once

#include <QObject>
#include <QString>

// `cmake --install` into a temporary prefix: what lands where, and the installed viewer
// started from a folder without its files.
class InstallTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void treeHoldsViewerAssetsAndLauncher();
    void installedViewerStartsFromAnotherFolder();

private:
    QString m_prefix;
};
