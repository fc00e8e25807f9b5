#include "tests/support/ReadOnlyGuard.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
bool setImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

QFileDevice::Permissions readOnly(bool folder)
{
    QFileDevice::Permissions p = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (folder)
        p |= QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    return p;
}
} // namespace

ReadOnlyGuard::ReadOnlyGuard(const QString &path)
    : m_path(path)
{
    if (::geteuid() != 0) {
        m_active = QFile::setPermissions(path, readOnly(QFileInfo(path).isDir()));
        m_how = QStringLiteral("permissions");
        return;
    }
    m_immutable = setImmutable(path, true);
    m_active = m_immutable;
    m_how = m_immutable ? QStringLiteral("immutable attribute") : QStringLiteral("not supported here");
}

ReadOnlyGuard::~ReadOnlyGuard()
{
    if (m_immutable) {
        setImmutable(m_path, false);
    } else if (m_active) {
        QFileDevice::Permissions p = readOnly(QFileInfo(m_path).isDir()) | QFileDevice::WriteOwner;
        QFile::setPermissions(m_path, p);
    }
}
