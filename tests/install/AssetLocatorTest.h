#pragma once

#include <QObject>

// Where the viewer's own files are read from: the working directory first, then the
// installed data folders.
class AssetLocatorTest : public QObject
{
    Q_OBJECT
private slots:
    void workingFolderFirstThenDataFolders();
};
