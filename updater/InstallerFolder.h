#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

// The private folder a downloaded installer is written to: made fresh below the
// temporary-files folder, entered only by the user, and removed again only by the object
// that made it. It never removes a path it did not create, so a folder that could not be
// made (no temporary folder, a full disk) leaves everything as it was.
class InstallerFolder
{
public:
    InstallerFolder() = default;
    InstallerFolder(const InstallerFolder &) = delete;
    InstallerFolder &operator=(const InstallerFolder &) = delete;

    // Every such folder's name starts with this.
    static QString namePrefix();

    // The installer's file name from its download address: the last path segment,
    // percent-decoded, when it is a plain name; empty otherwise.
    static QString fileNameFor(const QUrl &url);

    // False when no folder could be made; error() says why.
    bool create();
    QString error() const { return m_error; }
    QString path() const { return m_path; }

    // Writes bytes as fileName (a name from fileNameFor()) into the folder.
    bool write(const QString &fileName, const QByteArray &bytes);
    QString filePath() const { return m_file; }

    // Removes the written file and the folder, and nothing else.
    void discard();

private:
    QString m_path;
    QString m_file;
    QString m_error;
};
