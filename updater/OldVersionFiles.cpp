#include "updater/OldVersionFiles.h"

#include "updater/InstallerFolder.h"

#include <QDebug>
#include <QDir>
#include <QFile>

#include <unistd.h>

void OldVersionFiles::remove(const QString &base)
{
    // Without a temporary folder (TMPDIR missing or not a folder) nothing is looked at: an
    // empty or relative path would be the working directory.
    if (base.isEmpty() || !QDir::isAbsolutePath(base) || !QFileInfo(base).isDir()) {
        qDebug() << "Updater: no temporary folder to clean up:" << base;
        return;
    }
    // Old versions are left where this program writes installers: its own download
    // folders and the temporary folder itself. Other programs' folders are not walked.
    for (const QFileInfo &entry : ownEntries(base)) {
        if (entry.isDir() && entry.fileName().startsWith(InstallerFolder::namePrefix()))
            removeIn(entry.absoluteFilePath());
        else if (entry.isFile())
            removeIfOldVersion(entry);
    }
}

void OldVersionFiles::removeIn(const QString &folder)
{
    for (const QFileInfo &entry : ownEntries(folder)) {
        if (entry.isDir())
            removeIn(entry.absoluteFilePath());
        else if (entry.isFile())
            removeIfOldVersion(entry);
    }
}

// Links are never followed and only this user's entries count: another user's link or
// file in a shared temporary folder must not make this program delete anything.
QFileInfoList OldVersionFiles::ownEntries(const QString &folder)
{
    QFileInfoList result;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo &entry : entries) {
        if (!entry.isSymLink() && entry.ownerId() == ::geteuid())
            result << entry;
    }
    return result;
}

void OldVersionFiles::removeIfOldVersion(const QFileInfo &file)
{
    if (file.suffix() != QLatin1String("oldversion"))
        return;
    if (!QFile::remove(file.absoluteFilePath()))
        qDebug() << "Error: Unable to clean up file: " << file.absoluteFilePath();
}
