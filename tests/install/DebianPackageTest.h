#pragma once

#include <QObject>
#include <QString>

// The Debian package as `cpack -G DEB` builds it: its files, its dependencies, and the
// viewer unpacked from it, started from a folder without its files.
class DebianPackageTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void packageHoldsTheInstallTree();
    void dependenciesNameTheLibrariesAndTheSqliteDriver();
    void unpackedViewerStartsFromAnotherFolder();

private:
    QString m_package;
};
