#include "updater/InstallerFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
constexpr qsizetype longestName = 255;

QString tr(const char *text)
{
    return QCoreApplication::translate("InstallerFolder", text);
}
} // namespace

QString InstallerFolder::namePrefix()
{
    return QStringLiteral("brisavela-update-");
}

QString InstallerFolder::fileNameFor(const QUrl &url)
{
    const QString path = url.path(QUrl::FullyEncoded);
    const QByteArray name = QByteArray::fromPercentEncoding(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).toLatin1());
    if (name.isEmpty() || name == "." || name == ".." || name.size() > longestName)
        return QString();
    for (const char c : name) {
        if (c == '/' || c == '\\' || uchar(c) < 0x20 || uchar(c) == 0x7f)
            return QString();
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(name);
    return utf8.hasError() ? QString() : text;
}

bool InstallerFolder::create()
{
    const QString base = QDir::tempPath();
    const QString named = qEnvironmentVariableIsEmpty("TMPDIR") ? base : qEnvironmentVariable("TMPDIR");
    // An empty or relative folder would be the working directory.
    if (base.isEmpty() || !QDir::isAbsolutePath(base) || !QFileInfo(base).isDir()) {
        m_error = tr("Der Ordner für temporäre Dateien ist nicht nutzbar: %1").arg(named);
        return false;
    }
    QByteArray pattern = QFile::encodeName(base + QLatin1Char('/') + namePrefix() + QStringLiteral("XXXXXX"));
    // mkdtemp makes the folder readable only by the user.
    if (!::mkdtemp(pattern.data())) {
        m_error = tr("Im Ordner für temporäre Dateien %1 ließ sich kein Ordner anlegen: %2")
                      .arg(named, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_path = QFile::decodeName(pattern);
    return true;
}

bool InstallerFolder::write(const QString &fileName, const QByteArray &bytes)
{
    if (m_path.isEmpty() || fileName.isEmpty())
        return false;
    QFile file(m_path + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    m_file = file.fileName();
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

void InstallerFolder::discard()
{
    if (m_path.isEmpty())
        return;
    if (!m_file.isEmpty())
        QFile::remove(m_file);
    QDir().rmdir(m_path);
    m_file.clear();
    m_path.clear();
}
