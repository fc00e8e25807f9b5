#include "updater/ChunkedBody.h"

ChunkedBody::State ChunkedBody::take(QByteArray &incoming, QByteArray *body)
{
    while (true) {
        if (m_part == Part::Data) {
            const qsizetype n = qsizetype(qMin<qint64>(m_left, incoming.size()));
            if (n == 0)
                return State::More;
            body->append(incoming.left(n));
            incoming.remove(0, n);
            m_left -= n;
            if (m_left == 0)
                m_part = Part::DataEnd;
            continue;
        }
        const qsizetype nl = incoming.indexOf('\n');
        if (nl < 0)
            return incoming.size() > longestLine ? State::Broken : State::More;
        QByteArray line = incoming.left(nl);
        incoming.remove(0, nl + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (m_part == Part::DataEnd) {
            if (!line.isEmpty())
                return State::Broken;
            m_part = Part::Size;
        } else if (m_part == Part::Size) {
            const qsizetype extension = line.indexOf(';');
            bool ok = false;
            m_left = (extension < 0 ? line : line.left(extension)).trimmed().toLongLong(&ok, 16);
            if (!ok || m_left < 0)
                return State::Broken;
            m_part = m_left == 0 ? Part::Trailer : Part::Data;
        } else if (line.isEmpty()) {
            return State::Complete;
        }
    }
}
