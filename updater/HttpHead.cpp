#include "updater/HttpHead.h"

HttpHead::Parse HttpHead::take(QByteArray &incoming, HttpHead *head)
{
    qsizetype end = -1;
    qsizetype lineStart = 0;
    QList<QByteArray> lines;
    for (qsizetype nl = incoming.indexOf('\n'); nl >= 0; nl = incoming.indexOf('\n', lineStart)) {
        QByteArray line = incoming.mid(lineStart, nl - lineStart);
        if (line.endsWith('\r'))
            line.chop(1);
        lineStart = nl + 1;
        if (line.isEmpty()) {
            end = lineStart;
            break;
        }
        lines << line;
    }
    if (end < 0)
        return incoming.size() > longest ? Parse::Broken : Parse::Incomplete;
    incoming.remove(0, end);

    const QList<QByteArray> statusLine = lines.value(0).split(' ');
    bool ok = false;
    const int status = statusLine.value(1).toInt(&ok);
    if (!statusLine.value(0).startsWith("HTTP/1.") || !ok || status < 100 || status > 599)
        return Parse::Broken;
    head->status = status;
    head->reason = statusLine.mid(2).join(' ');
    head->headers.clear();
    for (const QByteArray &line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            head->headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    return Parse::Complete;
}
