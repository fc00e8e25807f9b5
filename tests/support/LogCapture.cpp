#include "tests/support/LogCapture.h"

#include <QStringList>

namespace {
LogCapture *active = nullptr;
}

LogCapture::LogCapture()
    : m_outer(active)
{
    active = this;
    m_previous = qInstallMessageHandler(&LogCapture::handler);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(m_previous);
    active = m_outer;
}

void LogCapture::handler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (active)
        active->m_lines.append({type, message});
}

QStringList LogCapture::texts() const
{
    QStringList result;
    for (const Line &line : m_lines)
        result << line.text;
    return result;
}

bool LogCapture::contains(const QString &text) const
{
    return indexOf(text) >= 0;
}

bool LogCapture::containsPart(const QString &part) const
{
    for (const Line &line : m_lines) {
        if (line.text.contains(part))
            return true;
    }
    return false;
}

int LogCapture::count(const QString &text) const
{
    int n = 0;
    for (const Line &line : m_lines)
        n += line.text == text ? 1 : 0;
    return n;
}

int LogCapture::indexOf(const QString &text) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].text == text)
            return i;
    }
    return -1;
}
