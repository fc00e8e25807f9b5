#include "tests/faults/StdoutCapture.h"

#include "tests/support/TestEnvironment.h"

#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

StdoutCapture::StdoutCapture()
{
    static int counter = 0;
    m_path = TestEnvironment::freshFolder(QStringLiteral("stdout%1").arg(++counter)) + QStringLiteral("/out.txt");
    std::fflush(stdout);
    const int file = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file < 0)
        return;
    m_saved = ::dup(STDOUT_FILENO);
    ::dup2(file, STDOUT_FILENO);
    ::close(file);
}

StdoutCapture::~StdoutCapture()
{
    restore();
}

QString StdoutCapture::text()
{
    std::fflush(stdout);
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly))
        m_text = file.readAll();
    return QString::fromLocal8Bit(m_text);
}

void StdoutCapture::restore()
{
    if (m_saved < 0)
        return;
    std::fflush(stdout);
    ::dup2(m_saved, STDOUT_FILENO);
    ::close(m_saved);
    m_saved = -1;
}
